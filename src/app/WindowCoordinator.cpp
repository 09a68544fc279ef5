#include "app/WindowCoordinator.h"

namespace orvanta {

void WindowCoordinator::add(WindowId id, Factory factory, bool sideWindow)
{
    windows_[id] = Entry{std::move(factory), sideWindow, nullptr};
}

QWidget* WindowCoordinator::window(WindowId id)
{
    const auto found = windows_.find(id);
    if (found == windows_.end()) {
        return nullptr;
    }
    Entry& entry = found->second;
    if (!entry.window) {
        entry.window = entry.factory();
    }
    return entry.window.get();
}

QWidget* WindowCoordinator::existing(WindowId id) const
{
    const auto found = windows_.find(id);
    return found == windows_.end() ? nullptr : found->second.window.get();
}

void WindowCoordinator::show(WindowId id)
{
    if (QWidget* shown = window(id)) {
        shown->show();
        shown->raise();
        shown->activateWindow();
    }
}

void WindowCoordinator::hideSideWindows()
{
    for (auto& [id, entry] : windows_) {
        if (entry.sideWindow && entry.window) {
            entry.window->hide();
        }
    }
}

}
