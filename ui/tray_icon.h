#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

// The program's icon in the notification area. The record is filled once and kept, so the
// deletion and a re-add after the shell restarts use the same one.
class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The tip is cut to 63 characters; the owner gets callbackMessage for mouse events.
    void Add(HWND owner, HICON icon, const char* tip, UINT callbackMessage);
    void Remove();
    // The shell lost its icons (it restarted): add ours again if it is meant to be there.
    void Restore();

    bool IsAdded() const { return added_; }
    const NOTIFYICONDATAA& Record() const { return record_; }

private:
    NOTIFYICONDATAA record_{};
    bool added_ = false;
};

// Where the records go; tests count the calls instead of asking the shell (nullptr restores
// Shell_NotifyIconA).
using TrayNotifier = std::function<BOOL(DWORD operation, NOTIFYICONDATAA* record)>;
void SetTrayNotifierForTesting(TrayNotifier notifier);

// "&Open " and the title, cut at 119 characters like the menu text it becomes.
std::string TrayOpenItemText(const char* title);
