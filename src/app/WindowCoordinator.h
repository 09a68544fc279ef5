#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

namespace orvanta {

// The dialer's windows besides the main window and the sign-in dialog.
// A later window adds its id here, a factory in DialerWindows and a command
// row (or a button) that shows it.
enum class WindowId { About, Contacts, RecentCalls, VoiceTest, Audio };

// Creates each window on first use, keeps it for the run and shows it on
// request. Side windows (contacts, recent calls) hide with the main window.
class WindowCoordinator {
public:
    using Factory = std::function<std::unique_ptr<QWidget>()>;

    void add(WindowId id, Factory factory, bool sideWindow = false);
    // The window, created now if this is its first use.
    QWidget* window(WindowId id);
    // Only when it was created already.
    QWidget* existing(WindowId id) const;
    void show(WindowId id);
    void hideSideWindows();

private:
    struct Entry {
        Factory factory;
        bool sideWindow = false;
        std::unique_ptr<QWidget> window;
    };
    std::map<WindowId, Entry> windows_;
};

}
