#pragma once

#include <functional>

namespace orvanta {

// One volume control of the sound system: the speaker or the microphone.
// Values run from GetMinimum() to GetMaximum() (0..65535, the sliders'
// range); every query answers -1 while the control is not available.
class IVolume {
public:
    // Called with the control and its new value when it changes elsewhere.
    using ChangeCallback = std::function<void(IVolume& control, int value)>;

    virtual ~IVolume() = default;

    virtual bool IsAvailable() const = 0;
    virtual void EnableLine() = 0;
    virtual void DisableLine() = 0;
    virtual int GetSteps() const = 0;
    virtual int GetMinimum() const = 0;
    virtual int GetMaximum() const = 0;
    virtual int GetVolume() const = 0;
    // Ignored while not available or outside GetMinimum()..GetMaximum().
    virtual void SetVolume(int value) = 0;
    virtual void SetChangeCallback(ChangeCallback callback) = 0;
};

}
