#pragma once

#include "controls/OptionsPage.h"
#include "settings/NetworkSettings.h"

#include <array>

class QLineEdit;
class QRadioButton;

namespace orvanta {

// The network page: local SIP port, STUN server and port, first media port.
class CNetwork : public OptionsPage {
    Q_OBJECT

public:
    explicit CNetwork(QWidget* parent = nullptr);

    NetworkPageModel& model() { return model_; }
    QRadioButton* speedChoice(ConnectionSpeed speed) const
    {
        return speeds_.at(static_cast<size_t>(speed));
    }
    QLineEdit* stunServerEdit() const { return stunServer_; }
    QLineEdit* stunPortEdit() const { return stunPort_; }
    QLineEdit* sipPortEdit() const { return sipPort_; }
    QLineEdit* mediaPortEdit() const { return mediaPort_; }

    // "Apply"; true when the values passed the checks.
    bool apply();

protected:
    void onShownOrHidden() override;

private:
    void buildControls();
    void readControls();
    void pushMembers();
    void changed();

    NetworkPageModel model_;
    std::array<QRadioButton*, 4> speeds_{};
    QLineEdit* stunServer_ = nullptr;
    QLineEdit* stunPort_ = nullptr;
    QLineEdit* sipPort_ = nullptr;
    QLineEdit* mediaPort_ = nullptr;
};

}
