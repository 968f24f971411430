#include "ui/tray_icon.h"

#include "engine/bounded_text.h"

#include <utility>

namespace {

constexpr std::size_t kShortTipSize = 64;

TrayNotifier& TestNotifier() {
    static TrayNotifier notifier;
    return notifier;
}

BOOL Notify(DWORD operation, NOTIFYICONDATAA* record) {
    return TestNotifier() ? TestNotifier()(operation, record)
                          : Shell_NotifyIconA(operation, record);
}

}  // namespace

void SetTrayNotifierForTesting(TrayNotifier notifier) {
    TestNotifier() = std::move(notifier);
}

void TrayIcon::Add(HWND owner, HICON icon, const char* tip, UINT callbackMessage) {
    record_ = NOTIFYICONDATAA{};
    // The short form of the record: the tip field of 64 bytes and nothing after it.
    record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record_.hWnd = owner;
    record_.uID = 0;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = callbackMessage;
    record_.hIcon = icon;
    // The short record's tip field is 64 bytes, whatever size the headers give szTip.
    boundedCopy(record_.szTip, kShortTipSize, tip);
    Notify(NIM_ADD, &record_);
    added_ = true;
}

void TrayIcon::Remove() {
    if (added_) {
        Notify(NIM_DELETE, &record_);
        added_ = false;
    }
}

void TrayIcon::Restore() {
    if (added_) {
        Notify(NIM_ADD, &record_);
    }
}

std::string TrayOpenItemText(const char* title) {
    char text[120];
    boundedCopy(text, sizeof(text), "&Open ");
    boundedAppend(text, sizeof(text), title);
    return text;
}
