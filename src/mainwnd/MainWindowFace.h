#pragma once

#include "telephony/CallPorts.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <map>

class QAbstractButton;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QSlider;
class QToolButton;
class QVBoxLayout;
class QWidget;

namespace orvanta {

// The main window's controls: screen labels, line buttons, feature
// toggles, dial pad and call buttons. It renders what the call handling
// tells it (CallView) and reports presses through the actions it is given.
class MainWindowFace : public QObject, public CallView {
    Q_OBJECT

public:
    struct Actions {
        std::function<void(QChar)> dialKey;
        std::function<void(int)> selectLine;
        std::function<void(Toggle, bool)> toggle;
        std::function<void()> call;
        std::function<void()> hangUp;
        std::function<void()> clear;
        std::function<void()> back;
        std::function<void()> redial;
        std::function<void()> settings;
        std::function<void()> help;
        std::function<void()> minimize;
        std::function<void()> close;
        std::function<void()> myAccount;
    };

    MainWindowFace(QWidget& window, Actions actions);

    // CallView
    void setStatusLine(const QString& text) override;
    void setBanner(const QString& text) override;
    void setBannerVisible(bool visible) override;
    void setNumberDisplay(const QString& text) override;
    void setContactName(const QString& text) override;
    void setRateText(const QString& text) override;
    void setCallTimerText(const QString& text) override;
    void setCallTimerVisible(bool visible) override;
    void setRemainingTime(const QString& text) override;
    void setInternetText(const QString& text) override;
    void setLineButton(int line, LineFace face, const QString& tooltip) override;
    void setLineMarked(int line) override;
    void setHangUpEnabled(bool enabled) override;
    void setCallButtonEnabled(bool enabled) override;
    void setCallTooltip(const QString& text) override;
    void setToggle(Toggle toggle, bool pressed) override;
    void showDialPanel() override;
    void setFlashing(bool flashing) override;
    void showMessage(const QString& text) override;

    void setFooter(const QString& text);
    void setFooterVisible(bool visible);
    void setBalanceText(const QString& text);
    // A wait runs: the busy bar shows and no control takes input.
    void setWaiting(bool waiting);

    QLabel* statusLine() const { return statusLine_; }
    QLabel* banner() const { return banner_; }
    QLabel* footer() const { return footer_; }
    QLabel* numberDisplay() const { return numberDisplay_; }
    QLabel* callTimer() const { return callTimer_; }
    QLabel* balance() const { return balance_; }
    QLabel* internetLabel() const { return internet_; }
    QLabel* remainingTime() const { return remainingTime_; }
    QLabel* lastCall() const { return lastCall_; }
    QProgressBar* busyBar() const { return busy_; }
    // Buttons by their accessible name ("Dial", "Hang Up", "Line 1", "5", ...).
    QAbstractButton* button(const QString& name) const;
    // A button of the bottom row that runs a command of the window's table
    // (contacts, recent calls, login, ...), named by its tooltip unless a
    // name is given.
    QAbstractButton* addCommandButton(const QString& caption, const QString& tip,
                                      std::function<void()> onPress, const QString& name = {});
    // The volume sliders ("Mic", "Speaker"): vertical, lowest position at
    // the top.
    QSlider* microphoneSlider() const { return microphoneSlider_; }
    QSlider* speakerSlider() const { return speakerSlider_; }

signals:
    void flashingChanged(bool flashing);
    void voiceTestPressed();

private:
    // name is the accessible name when it differs from the tooltip.
    QToolButton* makeButton(QWidget* parent, const QString& caption, const QString& tip,
                            std::function<void()> onPress, const QString& name = {});
    void buildScreen(QVBoxLayout* layout);
    void buildLines(QVBoxLayout* layout);
    void buildToggles(QVBoxLayout* layout);
    void buildDialPad(QVBoxLayout* layout);
    QSlider* makeVolumeSlider(const QString& name);

    QWidget& window_;
    Actions actions_;
    QLabel* banner_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QLabel* numberDisplay_ = nullptr;
    QLabel* contactName_ = nullptr;
    QLabel* callTimer_ = nullptr;
    QLabel* balance_ = nullptr;
    QLabel* rate_ = nullptr;
    QLabel* internet_ = nullptr;
    QLabel* footer_ = nullptr;
    QLabel* remainingTime_ = nullptr;
    QLabel* lastCall_ = nullptr;
    QProgressBar* busy_ = nullptr;
    QHBoxLayout* commandRow_ = nullptr;
    QSlider* microphoneSlider_ = nullptr;
    QSlider* speakerSlider_ = nullptr;
    std::array<QToolButton*, 6> lines_{};
    std::map<Toggle, QToolButton*> toggles_;
    QToolButton* callButton_ = nullptr;
    QToolButton* hangUpButton_ = nullptr;
    std::map<QString, QAbstractButton*> byName_;
    bool settingToggle_ = false;
    bool waiting_ = false;
    bool hangUpWanted_ = true;
    bool callWanted_ = true;
};

}
