#include "mainwnd/MainWindowFace.h"

#include "controls/MessageBox.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace orvanta {

namespace {

const QString kButtonStyle = QStringLiteral(
    "QToolButton { color: white; background: rgba(255,255,255,40); border: 1px solid "
    "rgba(255,255,255,90); border-radius: 6px; padding: 3px; min-width: 30px; }"
    "QToolButton:checked { background: rgb(255,190,60); color: black; }"
    "QToolButton:disabled { color: rgba(255,255,255,90); }");

QString faceStyle(LineFace face, bool marked)
{
    QString background;
    switch (face) {
    case LineFace::Normal:
        background = QStringLiteral("rgba(255,255,255,40)");
        break;
    case LineFace::Held:
        background = QStringLiteral("rgb(230,170,40)");
        break;
    case LineFace::Incoming:
        background = QStringLiteral("rgb(60,170,80)");
        break;
    case LineFace::Conference:
        background = QStringLiteral("rgb(60,150,200)");
        break;
    case LineFace::ConferenceHeld:
        background = QStringLiteral("rgb(120,120,200)");
        break;
    }
    return QStringLiteral("QToolButton { color: white; background: %1; border: %2; "
                          "border-radius: 6px; padding: 3px; }")
        .arg(background, marked ? QStringLiteral("2px solid white")
                                : QStringLiteral("1px solid rgba(255,255,255,90)"));
}

QLabel* screenLabel(QWidget* parent, const QString& role, int pointSize = 0, bool bold = false)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setAccessibleDescription(role);
    QFont font = label->font();
    if (pointSize > 0) {
        font.setPointSize(pointSize);
    }
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}

MainWindowFace::MainWindowFace(QWidget& window, Actions actions)
        : window_(window), actions_(std::move(actions))
{
    auto* layout = new QVBoxLayout(&window_);
    layout->setContentsMargins(22, 4, 22, 16);
    layout->setSpacing(5);

    auto* titleRow = new QHBoxLayout();
    // The "Menu" button's tooltip is "Settings"; screen readers name it for
    // what it opens.
    QToolButton* title[] = {
        makeButton(
            &window_, QStringLiteral("Menu"), QStringLiteral("Settings"),
            [this] { actions_.settings(); }, QStringLiteral("Menu")),
        makeButton(&window_, QStringLiteral("?"), QStringLiteral("Help"),
                   [this] { actions_.help(); }),
        makeButton(&window_, QStringLiteral("_"), QStringLiteral("Minimize"),
                   [this] { actions_.minimize(); }),
        makeButton(&window_, QStringLiteral("X"), QStringLiteral("Close"),
                   [this] { actions_.close(); }),
    };
    for (QToolButton* button : title) {
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    titleRow->addWidget(title[0]);
    titleRow->addStretch();
    titleRow->addWidget(title[1]);
    titleRow->addWidget(title[2]);
    titleRow->addWidget(title[3]);
    layout->addLayout(titleRow);
    buildScreen(layout);
    buildLines(layout);
    buildToggles(layout);
    buildDialPad(layout);

    commandRow_ = new QHBoxLayout();
    microphoneSlider_ = makeVolumeSlider(QStringLiteral("Mic"));
    commandRow_->addWidget(microphoneSlider_);
    commandRow_->addWidget(makeButton(&window_, QStringLiteral("Voice Test"),
                                      QStringLiteral("Voice Test"),
                                      [this] { emit voiceTestPressed(); }));
    commandRow_->addWidget(makeButton(&window_, QStringLiteral("My Account"),
                                      QStringLiteral("My Account"),
                                      [this] { actions_.myAccount(); }));
    speakerSlider_ = makeVolumeSlider(QStringLiteral("Speaker"));
    commandRow_->addWidget(speakerSlider_);
    layout->addLayout(commandRow_);
    footer_ = screenLabel(&window_, QStringLiteral("Footer"));
    footer_->setStyleSheet(QStringLiteral("color: white;"));
    footer_->setWordWrap(true);
    layout->addWidget(footer_);
    busy_ = new QProgressBar(&window_);
    busy_->setRange(0, 0);
    busy_->setTextVisible(false);
    busy_->setMaximumHeight(6);
    busy_->setAccessibleName(QStringLiteral("Busy"));
    busy_->hide();
    layout->addWidget(busy_);
}

QToolButton* MainWindowFace::makeButton(QWidget* parent, const QString& caption, const QString& tip,
                                        std::function<void()> onPress, const QString& name)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setToolTip(tip);
    button->setAccessibleName(name.isEmpty() ? tip : name);
    button->setFocusPolicy(Qt::NoFocus);  // keys always reach the dial pad
    button->setStyleSheet(kButtonStyle);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(button, &QToolButton::clicked, this, [onPress = std::move(onPress)] { onPress(); });
    byName_[button->accessibleName()] = button;
    return button;
}

QAbstractButton* MainWindowFace::addCommandButton(const QString& caption, const QString& tip,
                                                  std::function<void()> onPress,
                                                  const QString& name)
{
    QToolButton* button = makeButton(&window_, caption, tip, std::move(onPress), name);
    // Between the buttons already there and the speaker slider.
    commandRow_->insertWidget(commandRow_->count() - 1, button);
    return button;
}

QSlider* MainWindowFace::makeVolumeSlider(const QString& name)
{
    auto* slider = new QSlider(Qt::Vertical, &window_);
    slider->setRange(0, 65535);
    slider->setPageStep(65535 / 10);
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setMaximumHeight(48);
    slider->setToolTip(name);
    slider->setAccessibleName(name);
    slider->setFocusPolicy(Qt::NoFocus);  // keys always reach the dial pad
    return slider;
}

void MainWindowFace::buildScreen(QVBoxLayout* layout)
{
    auto* screen = new QWidget(&window_);
    screen->setMinimumHeight(150);
    auto* column = new QVBoxLayout(screen);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(2);
    banner_ = screenLabel(screen, QStringLiteral("Banner"));
    banner_->setWordWrap(true);
    statusLine_ = screenLabel(screen, QStringLiteral("Status line"), 11, true);
    numberDisplay_ = screenLabel(screen, QStringLiteral("Number"), 16, true);
    contactName_ = screenLabel(screen, QStringLiteral("Contact name"));
    callTimer_ = screenLabel(screen, QStringLiteral("Call timer"));
    rate_ = screenLabel(screen, QStringLiteral("Rate"));
    balance_ = screenLabel(screen, QStringLiteral("Balance"));
    internet_ = screenLabel(screen, QStringLiteral("Internet state"), 0, true);
    internet_->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    for (QLabel* label : {banner_, statusLine_, numberDisplay_, contactName_, callTimer_, rate_,
                          balance_, internet_}) {
        column->addWidget(label);
    }
    auto* remainingRow = new QHBoxLayout();
    remainingRow->addWidget(new QLabel(QStringLiteral("Remaining Time"), screen));
    remainingTime_ = screenLabel(screen, QStringLiteral("Remaining time"));
    remainingRow->addWidget(remainingTime_);
    column->addLayout(remainingRow);
    lastCall_ = screenLabel(screen, QStringLiteral("Last call"));
    lastCall_->setText(QStringLiteral("Last Call  :"));
    column->addWidget(lastCall_);
    layout->addSpacing(22);
    layout->addWidget(screen);
    layout->addSpacing(14);
}

void MainWindowFace::buildLines(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout();
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        const QString name = QStringLiteral("Line %1").arg(i + 1);
        lines_[static_cast<size_t>(i)] = makeButton(&window_, QStringLiteral("L%1").arg(i + 1),
                                                    name, [this, i] { actions_.selectLine(i); });
        row->addWidget(lines_[static_cast<size_t>(i)]);
        // Lines 5 and 6 exist but take no calls.
        lines_[static_cast<size_t>(i)]->setVisible(i < 4);
    }
    layout->addLayout(row);
}

void MainWindowFace::buildToggles(QVBoxLayout* layout)
{
    const struct {
        Toggle toggle;
        const char* caption;
        const char* tip;
    } toggles[] = {
        {Toggle::Hold, "HOLD", "Place call on hold"},
        {Toggle::Transfer, "XFER", "Transfer"},
        {Toggle::Conference, "CONF", "Conference"},
        {Toggle::Record, "REC", "Record"},
        {Toggle::AutoAnswer, "AA", "Auto answer"},
        {Toggle::DoNotDisturb, "DND", "Do not disturb"},
    };
    auto* row = new QHBoxLayout();
    for (const auto& t : toggles) {
        const Toggle which = t.toggle;
        QToolButton* button =
            makeButton(&window_, QLatin1String(t.caption), QLatin1String(t.tip), [] {});
        button->setCheckable(true);
        // Mouse, keyboard and screen readers all toggle; the call handling
        // decides the button's state and sets it back through setToggle.
        connect(button, &QToolButton::toggled, this, [this, which, button](bool pressed) {
            if (settingToggle_) {
                return;
            }
            settingToggle_ = true;
            button->setChecked(!pressed);
            settingToggle_ = false;
            actions_.toggle(which, pressed);
        });
        toggles_[which] = button;
        row->addWidget(button);
    }
    // The auto-conference button exists but is never shown.
    QToolButton* autoConference =
        makeButton(&window_, QStringLiteral("AC"), QStringLiteral("Auto conference"), [] {});
    autoConference->hide();
    layout->addLayout(row);
}

void MainWindowFace::buildDialPad(QVBoxLayout* layout)
{
    auto* pad = new QGridLayout();
    const QString keys = QStringLiteral("123456789*0#");
    for (int i = 0; i < keys.size(); ++i) {
        const QChar key = keys[i];
        QToolButton* button = makeButton(&window_, QString(key), QString(key),
                                         [this, key] { actions_.dialKey(key); });
        button->setMinimumHeight(34);
        pad->addWidget(button, i / 3, i % 3);
    }
    layout->addLayout(pad);

    auto* callRow = new QHBoxLayout();
    callButton_ = makeButton(&window_, QStringLiteral("Call"), QStringLiteral("Dial"),
                             [this] { actions_.call(); });
    callButton_->setStyleSheet(kButtonStyle +
                               QStringLiteral("QToolButton { background: rgb(40,150,70); }"));
    callRow->addWidget(callButton_);
    callRow->addWidget(makeButton(&window_, QStringLiteral("Clear"), QStringLiteral("Clear"),
                                  [this] { actions_.clear(); }));
    callRow->addWidget(makeButton(&window_, QStringLiteral("<"), QStringLiteral("Back"),
                                  [this] { actions_.back(); }));
    callRow->addWidget(makeButton(&window_, QStringLiteral("Re"), QStringLiteral("Redial"),
                                  [this] { actions_.redial(); }));
    hangUpButton_ = makeButton(&window_, QStringLiteral("End"), QStringLiteral("Hang Up"),
                               [this] { actions_.hangUp(); });
    hangUpButton_->setStyleSheet(kButtonStyle +
                                 QStringLiteral("QToolButton { background: rgb(190,50,50); }"));
    callRow->addWidget(hangUpButton_);
    layout->addLayout(callRow);
}

QAbstractButton* MainWindowFace::button(const QString& name) const
{
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
}

void MainWindowFace::setStatusLine(const QString& text)
{
    statusLine_->setText(text);
}

void MainWindowFace::setBanner(const QString& text)
{
    banner_->setText(text);
}

void MainWindowFace::setBannerVisible(bool visible)
{
    banner_->setVisible(visible);
    setFooterVisible(visible);
}

void MainWindowFace::setNumberDisplay(const QString& text)
{
    numberDisplay_->setText(text);
}

void MainWindowFace::setContactName(const QString& text)
{
    contactName_->setText(text);
}

void MainWindowFace::setRateText(const QString& text)
{
    rate_->setText(text);
}

void MainWindowFace::setCallTimerText(const QString& text)
{
    callTimer_->setText(text);
}

void MainWindowFace::setCallTimerVisible(bool visible)
{
    callTimer_->setVisible(visible);
}

void MainWindowFace::setRemainingTime(const QString& text)
{
    remainingTime_->setText(text);
}

void MainWindowFace::setWaiting(bool waiting)
{
    waiting_ = waiting;
    busy_->setVisible(waiting);
    for (const auto& [name, button] : byName_) {
        button->setEnabled(!waiting);
    }
    setHangUpEnabled(hangUpWanted_);
    setCallButtonEnabled(callWanted_);
}

void MainWindowFace::setInternetText(const QString& text)
{
    internet_->setText(text);
}

void MainWindowFace::setLineButton(int line, LineFace face, const QString& tooltip)
{
    if (line < 0 || line >= static_cast<int>(lines_.size())) {
        return;
    }
    QToolButton* button = lines_[static_cast<size_t>(line)];
    button->setProperty("face", static_cast<int>(face));
    button->setToolTip(tooltip);
    button->setStyleSheet(faceStyle(face, button->property("marked").toBool()));
}

void MainWindowFace::setLineMarked(int line)
{
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        QToolButton* button = lines_[static_cast<size_t>(i)];
        button->setProperty("marked", i == line);
        button->setStyleSheet(
            faceStyle(static_cast<LineFace>(button->property("face").toInt()), i == line));
    }
}

void MainWindowFace::setHangUpEnabled(bool enabled)
{
    hangUpWanted_ = enabled;
    hangUpButton_->setEnabled(enabled && !waiting_);
}

void MainWindowFace::setCallButtonEnabled(bool enabled)
{
    callWanted_ = enabled;
    callButton_->setEnabled(enabled && !waiting_);
}

void MainWindowFace::setCallTooltip(const QString& text)
{
    callButton_->setToolTip(text);
}

void MainWindowFace::setToggle(Toggle toggle, bool pressed)
{
    const auto found = toggles_.find(toggle);
    if (found == toggles_.end()) {
        return;
    }
    settingToggle_ = true;
    found->second->setChecked(pressed);
    settingToggle_ = false;
}

void MainWindowFace::showDialPanel()
{
    window_.raise();
}

void MainWindowFace::setFlashing(bool flashing)
{
    emit flashingChanged(flashing);
}

void MainWindowFace::showMessage(const QString& text)
{
    orvanta::showMessage(&window_, text);
}

void MainWindowFace::setFooter(const QString& text)
{
    footer_->setText(text);
}

void MainWindowFace::setFooterVisible(bool visible)
{
    footer_->setVisible(visible);
}

void MainWindowFace::setBalanceText(const QString& text)
{
    balance_->setText(text);
}

}
