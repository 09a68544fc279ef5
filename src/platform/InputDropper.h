#pragma once

#include <QObject>

namespace orvanta::platform {

// While it exists, user input (mouse, keys, wheel, touch) that reaches the
// thread's event loop at the level it was created on is dropped: a wait
// that blocks input discards what arrives meanwhile instead of deferring it
// (which is what QEventLoop::ExcludeUserInputEvents does). A dialog opened
// during the wait runs its own, deeper loop and gets its input.
class InputDropper : public QObject {
public:
    InputDropper();
    ~InputDropper() override;
    InputDropper(const InputDropper&) = delete;
    InputDropper& operator=(const InputDropper&) = delete;

    static bool isUserInput(const QEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int waitLevel_;
};

}
