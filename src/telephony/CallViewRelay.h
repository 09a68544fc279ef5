#pragma once

#include "telephony/CallPorts.h"

namespace orvanta {

// The call handling's view for a core that outlives its window: forwards
// to the window attached, and shows nothing while none is.
class CallViewRelay : public CallView {
public:
    void attach(CallView* target) { target_ = target; }

    void setStatusLine(const QString& t) override { forward(&CallView::setStatusLine, t); }
    void setBanner(const QString& t) override { forward(&CallView::setBanner, t); }
    void setBannerVisible(bool v) override { forward(&CallView::setBannerVisible, v); }
    void setNumberDisplay(const QString& t) override { forward(&CallView::setNumberDisplay, t); }
    void setContactName(const QString& t) override { forward(&CallView::setContactName, t); }
    void setRateText(const QString& t) override { forward(&CallView::setRateText, t); }
    void setCallTimerText(const QString& t) override { forward(&CallView::setCallTimerText, t); }
    void setCallTimerVisible(bool v) override { forward(&CallView::setCallTimerVisible, v); }
    void setRemainingTime(const QString& t) override { forward(&CallView::setRemainingTime, t); }
    void setInternetText(const QString& t) override { forward(&CallView::setInternetText, t); }
    void setLineButton(int line, LineFace face, const QString& tooltip) override
    {
        if (target_) {
            target_->setLineButton(line, face, tooltip);
        }
    }
    void setLineMarked(int line) override { forward(&CallView::setLineMarked, line); }
    void setHangUpEnabled(bool e) override { forward(&CallView::setHangUpEnabled, e); }
    void setCallButtonEnabled(bool e) override { forward(&CallView::setCallButtonEnabled, e); }
    void setCallTooltip(const QString& t) override { forward(&CallView::setCallTooltip, t); }
    void setToggle(Toggle toggle, bool pressed) override
    {
        if (target_) {
            target_->setToggle(toggle, pressed);
        }
    }
    void showDialPanel() override
    {
        if (target_) {
            target_->showDialPanel();
        }
    }
    void setFlashing(bool f) override { forward(&CallView::setFlashing, f); }
    void showMessage(const QString& t) override { forward(&CallView::showMessage, t); }

private:
    template <typename Value>
    void forward(void (CallView::*method)(Value), Value value)
    {
        if (target_) {
            (target_->*method)(value);
        }
    }
    template <typename Value>
    void forward(void (CallView::*method)(const Value&), const Value& value)
    {
        if (target_) {
            (target_->*method)(value);
        }
    }

    CallView* target_ = nullptr;
};

}
