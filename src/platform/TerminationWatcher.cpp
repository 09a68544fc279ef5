#include "platform/TerminationWatcher.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace orvanta::platform {

namespace {

int wakePipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    (void)!write(wakePipe[1], &byte, 1);
}

}

TerminationWatcher::TerminationWatcher(QObject* parent) : QObject(parent)
{
    if (wakePipe[0] < 0 && pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (read(wakePipe[0], drained, sizeof drained) > 0) {
        }
        emit terminationRequested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

TerminationWatcher::~TerminationWatcher()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

}
