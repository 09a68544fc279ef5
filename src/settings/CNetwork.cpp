#include "settings/CNetwork.h"

#include "controls/MessageBox.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvanta {

namespace {

// A host name is at most 253 characters.
constexpr int kMaxStunServerLength = 255;

QString messageText(NetworkMessage message)
{
    switch (message) {
    case NetworkMessage::StunPortNotNumeric:
        return QStringLiteral("Stun Port Should be Numeric");
    case NetworkMessage::SipPortNotNumeric:
        return QStringLiteral("Sip Port Should be Numeric");
    }
    return {};
}

QLineEdit* addField(QFormLayout* form, const QString& label, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setAccessibleName(label);
    form->addRow(label, edit);
    return edit;
}

}

CNetwork::CNetwork(QWidget* parent) : OptionsPage(parent)
{
    buildControls();
    model_.load();
    pushMembers();
}

void CNetwork::buildControls()
{
    auto* layout = new QVBoxLayout(this);

    auto* connection = new QGroupBox(QStringLiteral("Network Connection"), this);
    auto* speedLayout = new QVBoxLayout(connection);
    speedLayout->addWidget(
        new QLabel(QStringLiteral("Please select speed of your network connection"), connection));
    auto* speedGroup = new QButtonGroup(this);
    const QString speedTexts[] = {QStringLiteral("Dial up or ISDN(slow)"),
                                  QStringLiteral("Cable, DSL or ADSL"),
                                  QStringLiteral("Fast Cable, DSL or ADSL(512 kbps)"),
                                  QStringLiteral("Local Area Network(LAN)")};
    for (size_t i = 0; i < speeds_.size(); ++i) {
        speeds_[i] = new QRadioButton(speedTexts[i], connection);
        speedGroup->addButton(speeds_[i], static_cast<int>(i));
        speedLayout->addWidget(speeds_[i]);
    }
    connect(speedGroup, &QButtonGroup::idClicked, this, &CNetwork::changed);
    layout->addWidget(connection);

    auto* traversal = new QGroupBox(QStringLiteral("Firewall / Net Traversal"), this);
    auto* traversalForm = new QFormLayout(traversal);
    stunServer_ = addField(traversalForm, QStringLiteral("Stun Server"), traversal);
    stunServer_->setMaxLength(kMaxStunServerLength);
    stunPort_ = addField(traversalForm, QStringLiteral("Stun Port"), traversal);
    layout->addWidget(traversal);

    auto* ports = new QGroupBox(QStringLiteral("SIP Port"), this);
    auto* portsForm = new QFormLayout(ports);
    sipPort_ = addField(portsForm, QStringLiteral("Local SIP Port"), ports);
    mediaPort_ = addField(portsForm, QStringLiteral("Media Port From"), ports);
    layout->addWidget(ports);

    for (QLineEdit* edit : {stunServer_, stunPort_, sipPort_, mediaPort_}) {
        connect(edit, &QLineEdit::textEdited, this, &CNetwork::changed);
    }
    layout->addStretch();
    layout->addLayout(takeButtonRow());
    connect(applyButton(), &QPushButton::clicked, this, &CNetwork::apply);
    connect(okButton(), &QPushButton::clicked, this, [this] {
        if (apply()) {
            emit closeSheet(true);
        }
    });
}

void CNetwork::readControls()
{
    NetworkPageMembers& members = model_.members();
    for (size_t i = 0; i < speeds_.size(); ++i) {
        if (speeds_[i]->isChecked()) {
            members.speed = static_cast<ConnectionSpeed>(i);
        }
    }
    members.stunServer = stunServer_->text();
    members.stunPortText = stunPort_->text();
    members.sipPortText = sipPort_->text();
    members.mediaPortText = mediaPort_->text();
}

void CNetwork::pushMembers()
{
    const NetworkPageMembers& members = model_.members();
    speedChoice(members.speed)->setChecked(true);
    stunServer_->setText(members.stunServer);
    stunPort_->setText(members.stunPortText);
    sipPort_->setText(members.sipPortText);
    mediaPort_->setText(members.mediaPortText);
    applyButton()->setEnabled(model_.applyEnabled());
}

void CNetwork::changed()
{
    readControls();
    model_.markChanged();
    applyButton()->setEnabled(true);
}

void CNetwork::onShownOrHidden()
{
    readControls();
    model_.onShownOrHidden();
    pushMembers();
}

bool CNetwork::apply()
{
    readControls();
    if (const std::optional<NetworkMessage> problem = model_.apply()) {
        showMessage(this, messageText(*problem));
        return false;
    }
    pushMembers();
    return true;
}

}
