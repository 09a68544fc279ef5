#include "MainLoopSleeper.h"

#include <belle-sip/mainloop.h>
#include <belle-sip/object.h>
#include <belle-sip/sipstack.h>
#include <linphone/core.h>

#include <cstdint>
#include <dlfcn.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace orvanta::engine {

namespace {

constexpr auto kTickOnly = std::chrono::milliseconds(20);

using GetSal = void* (*)(const LinphoneCore*);
using GetStack = belle_sip_stack_t* (*)(void*);

// The library that holds liblinphone's own code, found from one of its
// public functions, so the lookup names no file.
void* linphoneLibrary()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&linphone_core_iterate), &info) == 0 || !info.dli_fname)
        return nullptr;
    return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
}

belle_sip_main_loop_t* mainLoopOf(LinphoneCore* core)
{
    void* library = linphoneLibrary();
    if (!library)
        return nullptr;
    auto getSal = reinterpret_cast<GetSal>(dlsym(library, "linphone_core_get_sal"));
    auto getStack = reinterpret_cast<GetStack>(dlsym(library, "sal_get_stack_impl"));
    belle_sip_main_loop_t* loop = nullptr;
    if (getSal && getStack) {
        if (void* sal = getSal(core)) {
            if (belle_sip_stack_t* stack = getStack(sal))
                loop = belle_sip_stack_get_main_loop(stack);
        }
    }
    dlclose(library);
    return loop;
}

}

std::unique_ptr<MainLoopSleeper> MainLoopSleeper::attach(LinphoneCore* core)
{
    belle_sip_main_loop_t* loop = core ? mainLoopOf(core) : nullptr;
    if (!loop)
        return nullptr;
    const int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<MainLoopSleeper>(new MainLoopSleeper(loop, fd));
}

MainLoopSleeper::MainLoopSleeper(belle_sip_main_loop* loop, int eventFd)
        : loop_(loop), eventFd_(eventFd)
{
    source_ = belle_sip_socket_source_new(&MainLoopSleeper::onWakeUp, this, eventFd_,
                                          BELLE_SIP_EVENT_READ, static_cast<unsigned int>(-1));
    belle_sip_main_loop_add_source(loop_, source_);
}

MainLoopSleeper::~MainLoopSleeper()
{
    detach();
    ::close(eventFd_);
}

void MainLoopSleeper::detach()
{
    if (!source_)
        return;
    belle_sip_main_loop_remove_source(loop_, source_);
    belle_sip_object_unref(source_);
    source_ = nullptr;
    loop_ = nullptr;
}

void MainLoopSleeper::sleep(std::chrono::milliseconds limit)
{
    // A call's short ticks wait on the eventfd alone: setting up a sleep in
    // the SIP stack's loop 50 times a second costs more CPU than it saves,
    // and the next round's iteration reads what arrived meanwhile.
    if (!loop_ || limit <= kTickOnly) {
        pollfd wait{eventFd_, POLLIN, 0};
        if (::poll(&wait, 1, static_cast<int>(limit.count())) > 0)
            drain();
        return;
    }
    belle_sip_main_loop_sleep(loop_, static_cast<int>(limit.count()));
}

void MainLoopSleeper::wake()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(eventFd_, &one, sizeof(one));
}

void MainLoopSleeper::drain()
{
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(eventFd_, &count, sizeof(count));
}

int MainLoopSleeper::onWakeUp(void* self, unsigned int)
{
    auto* sleeper = static_cast<MainLoopSleeper*>(self);
    sleeper->drain();
    // Ends belle_sip_main_loop_sleep (and is harmless inside the core's own
    // zero-length sleep during an iteration).
    belle_sip_main_loop_quit(sleeper->loop_);
    return BELLE_SIP_CONTINUE;
}

}
