#pragma once

#include "controls/OptionsPage.h"
#include "settings/CodecPage.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace orvanta {

// The codec page: which codecs the engine may offer, in which order.
class CCodec : public OptionsPage {
    Q_OBJECT

public:
    CCodec(CodecPriorityEngine& engine, const CodecCatalog& catalog,
           const RegistrationStatus& registration, QWidget* parent = nullptr);

    CodecPageModel& model() { return model_; }
    QListWidget* disabledList() const { return disabledList_; }
    QListWidget* enabledList() const { return enabledList_; }
    QPushButton* enableButton() const { return enable_; }
    QPushButton* disableButton() const { return disable_; }
    QPushButton* enableAllButton() const { return enableAll_; }
    QPushButton* disableAllButton() const { return disableAll_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }
    QLabel* unavailableLabel() const { return unavailable_; }

protected:
    void onShownOrHidden() override;

private:
    void buildControls();
    QWidget* buildPropertiesGroup();
    void refresh(std::optional<int> selectedEnabled = std::nullopt);
    // After "^" or "\/": the moved codec stays selected; when nothing moved
    // the lists stay as they are.
    void reorder(std::optional<int> newIndex);

    CodecPageModel model_;
    QListWidget* disabledList_ = nullptr;
    QListWidget* enabledList_ = nullptr;
    QPushButton* enable_ = nullptr;
    QPushButton* disable_ = nullptr;
    QPushButton* enableAll_ = nullptr;
    QPushButton* disableAll_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QLabel* unavailable_ = nullptr;
};

}
