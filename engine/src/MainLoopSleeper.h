#pragma once

#include "EngineThread.h"

#include <memory>

struct _LinphoneCore;
struct belle_sip_main_loop;
struct belle_sip_source;

namespace orvanta::engine {

// Sleeps inside the SIP stack's own main loop, so that a SIP message or a
// stack timer ends the sleep the moment it is due, and an eventfd watched by
// the same loop lets other threads wake it.
//
// liblinphone 5.1 does not hand out its main loop through its public
// headers; it exports linphone_core_get_sal() and sal_get_stack_impl() (its
// tester utilities), and belle-sip's belle_sip_stack_get_main_loop() is
// public. Both are looked up at run time: without them attach() returns
// nothing and the engine keeps a fixed tick.
class MainLoopSleeper final : public Sleeper {
public:
    static std::unique_ptr<MainLoopSleeper> attach(_LinphoneCore* core);
    ~MainLoopSleeper() override;
    MainLoopSleeper(const MainLoopSleeper&) = delete;
    MainLoopSleeper& operator=(const MainLoopSleeper&) = delete;

    void sleep(std::chrono::milliseconds limit) override;
    void wake() override;
    // Leaves the main loop; call before the core is destroyed. Later sleeps
    // only wait on the eventfd.
    void detach();

private:
    MainLoopSleeper(belle_sip_main_loop* loop, int eventFd);
    static int onWakeUp(void* self, unsigned int events);
    void drain();

    belle_sip_main_loop* loop_ = nullptr;
    belle_sip_source* source_ = nullptr;
    int eventFd_ = -1;
};

}
