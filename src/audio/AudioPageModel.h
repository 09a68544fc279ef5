#pragma once

#include "audio/AudioDeviceChoice.h"

#include <QObject>

namespace orvanta {

// The "Audio" settings page without its controls: an editing copy of the
// device choice, "Apply" off whenever the page is shown or hidden and on
// after any pick, "Ok" = apply and close, "Cancel" = close dropping what
// was not applied.
class AudioPageModel : public QObject {
    Q_OBJECT

public:
    explicit AudioPageModel(AudioDeviceChoice& choice, QObject* parent = nullptr);

    std::vector<DeviceEntry> entries(AudioRole role) const;
    int selectedIndex(AudioRole role) const;
    const AudioChoices& editing() const { return editing_; }

    void shown();
    void hidden();
    // The user picked row index of the role's list.
    void select(AudioRole role, int index);

    bool applyEnabled() const { return applyEnabled_; }
    void apply();
    void ok();
    void cancel();

signals:
    // Lists, selections or "Apply" changed.
    void changed();
    // "Ok" (true) or "Cancel" (false): the sheet closes.
    void finished(bool confirmed);

private:
    void setApplyEnabled(bool enabled);

    AudioDeviceChoice& choice_;
    AudioChoices editing_;
    bool applyEnabled_ = false;
};

}
