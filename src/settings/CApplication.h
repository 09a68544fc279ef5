#pragma once

#include "controls/OptionsPage.h"
#include "settings/GeneralSettings.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvanta {

// The general page: always on top, start with the desktop session, the
// number of calls per recent-calls list and the recording folder.
class CApplication : public OptionsPage {
    Q_OBJECT

public:
    CApplication(DialerSettings& settings, const platform::AutostartEntry& autostart,
                 CallLogAdjuster& callLog, QWidget* parent = nullptr);

    // Replaces the folder chooser (tests); an empty chooser restores it.
    // Returns the chosen folder, empty when the user cancelled.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& current)>;
    static void setFolderChooser(FolderChooser chooser);

    GeneralPageModel& model() { return model_; }
    QCheckBox* alwaysOnTopBox() const { return alwaysOnTop_; }
    QCheckBox* confirmOnCloseBox() const { return confirmOnClose_; }
    QCheckBox* launchAtStartBox() const { return launchAtStart_; }
    QLineEdit* numberOfCallsEdit() const { return numberOfCalls_; }
    QLineEdit* locationEdit() const { return location_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* openButton() const { return open_; }

    void ApplyGeneralSettings();

protected:
    void onShownOrHidden() override;

private:
    void buildControls();
    void readControls();
    void pushMembers();
    void changed();
    void browseForFolder();

    GeneralPageModel model_;
    QCheckBox* alwaysOnTop_ = nullptr;
    QCheckBox* confirmOnClose_ = nullptr;
    QCheckBox* launchAtStart_ = nullptr;
    QLineEdit* numberOfCalls_ = nullptr;
    QLineEdit* location_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* open_ = nullptr;
};

}
