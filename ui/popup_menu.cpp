#include "ui/popup_menu.h"

#include <utility>

namespace {

PopupTracker& TestTracker() {
    static PopupTracker tracker;
    return tracker;
}

}  // namespace

void TrackPopup(HMENU menu, HWND owner, POINT at) {
    if (TestTracker()) {
        TestTracker()(menu, owner, at);
        return;
    }
    // The owner must be in front, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
}

void SetPopupTrackerForTesting(PopupTracker tracker) {
    TestTracker() = std::move(tracker);
}
