#include "settings/CApplication.h"

#include "controls/MessageBox.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace orvanta {

namespace {

QString messageText(NumberOfCallsMessage message)
{
    switch (message) {
    case NumberOfCallsMessage::Blank:
        return QStringLiteral("Number of calls field Can not be left blank");
    case NumberOfCallsMessage::NotNumeric:
        return QStringLiteral("Number of Calls Should be Numeric");
    case NumberOfCallsMessage::NotAboveZero:
        return QStringLiteral("Number of Calls Should be Greater than zero");
    case NumberOfCallsMessage::NotBelowThousand:
        return QStringLiteral("Number of Calls Should be less than one thousand");
    }
    return {};
}

CApplication::FolderChooser& folderChooser()
{
    static CApplication::FolderChooser chooser;
    return chooser;
}

QString chooseFolder(QWidget* parent, const QString& current)
{
    if (folderChooser()) {
        return folderChooser()(parent, current);
    }
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Browse For Folder"), current);
}

}

CApplication::CApplication(DialerSettings& settings, const platform::AutostartEntry& autostart,
                           CallLogAdjuster& callLog, QWidget* parent)
        : OptionsPage(parent), model_(settings, autostart, callLog)
{
    buildControls();
    model_.load();
    confirmOnClose_->hide();
    pushMembers();
}

void CApplication::setFolderChooser(FolderChooser chooser)
{
    folderChooser() = std::move(chooser);
}

void CApplication::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    alwaysOnTop_ = new QCheckBox(QStringLiteral("Always on top of other applications"), this);
    confirmOnClose_ = new QCheckBox(QStringLiteral("Confirm before closing application"), this);
    launchAtStart_ = new QCheckBox(QStringLiteral("Launch when Window starts"), this);
    for (QCheckBox* box : {alwaysOnTop_, confirmOnClose_, launchAtStart_}) {
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &CApplication::changed);
    }

    auto* callsRow = new QHBoxLayout();
    auto* callsLabel = new QLabel(QStringLiteral("Number of calls in each list:"), this);
    numberOfCalls_ = new QLineEdit(this);
    numberOfCalls_->setAccessibleName(callsLabel->text());
    callsLabel->setBuddy(numberOfCalls_);
    callsRow->addWidget(callsLabel);
    callsRow->addWidget(numberOfCalls_);
    layout->addLayout(callsRow);
    connect(numberOfCalls_, &QLineEdit::textEdited, this, &CApplication::changed);

    auto* recordings = new QGroupBox(QStringLiteral("Recorded Call Location"), this);
    auto* grid = new QGridLayout(recordings);
    auto* locationLabel = new QLabel(QStringLiteral("Location:"), recordings);
    location_ = new QLineEdit(recordings);
    location_->setReadOnly(true);
    location_->setAccessibleName(QStringLiteral("Location:"));
    locationLabel->setBuddy(location_);
    browse_ = makePlainButton(QStringLiteral("...."), recordings);
    browse_->setToolTip(QStringLiteral("Browse For Folder"));
    open_ = makePlainButton(QStringLiteral("Open"), recordings);
    grid->addWidget(locationLabel, 0, 0);
    grid->addWidget(location_, 0, 1);
    grid->addWidget(browse_, 0, 2);
    grid->addWidget(open_, 0, 3);
    layout->addWidget(recordings);
    connect(browse_, &QPushButton::clicked, this, &CApplication::browseForFolder);
    connect(open_, &QPushButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(location_->text())); });

    layout->addStretch();
    layout->addLayout(takeButtonRow());
    connect(applyButton(), &QPushButton::clicked, this, &CApplication::ApplyGeneralSettings);
    connect(okButton(), &QPushButton::clicked, this, [this] {
        ApplyGeneralSettings();
        readControls();
        emit closeSheet(true);
    });
}

void CApplication::readControls()
{
    GeneralPageMembers& members = model_.members();
    members.alwaysOnTop = alwaysOnTop_->isChecked();
    members.confirmOnClose = confirmOnClose_->isChecked();
    members.launchAtStart = launchAtStart_->isChecked();
    members.numberOfCalls = numberOfCalls_->text();
    members.recordingFolder = location_->text();
}

void CApplication::pushMembers()
{
    const GeneralPageMembers& members = model_.members();
    const QSignalBlocker blockTop(alwaysOnTop_);
    const QSignalBlocker blockClose(confirmOnClose_);
    const QSignalBlocker blockLaunch(launchAtStart_);
    alwaysOnTop_->setChecked(members.alwaysOnTop);
    confirmOnClose_->setChecked(members.confirmOnClose);
    launchAtStart_->setChecked(members.launchAtStart);
    numberOfCalls_->setText(members.numberOfCalls);
    location_->setText(members.recordingFolder);
    applyButton()->setEnabled(model_.applyEnabled());
}

void CApplication::changed()
{
    readControls();
    model_.markChanged();
    applyButton()->setEnabled(true);
}

void CApplication::onShownOrHidden()
{
    model_.onShownOrHidden();
    pushMembers();
}

void CApplication::browseForFolder()
{
    const QString folder = chooseFolder(this, location_->text());
    if (!folder.isEmpty()) {
        location_->setText(folder);
        changed();
    }
}

void CApplication::ApplyGeneralSettings()
{
    readControls();
    const GeneralPageModel::ApplyOutcome outcome = model_.ApplyGeneralSettings();
    for (const NumberOfCallsMessage message : outcome.messages) {
        showMessage(this, messageText(message));
    }
    pushMembers();
}

}
