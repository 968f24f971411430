#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ui/command_target.h"

class CMainFrame;

// DLLs loaded on demand come from the system folder only, never from the program's folder or
// the current one, where a standard user may have put one. Called first thing in the process.
void RestrictDllSearch();

// The application object: runs start-up around the main window, the message loop and the
// end of the program, and handles the application-wide commands (help, autorun, about).
class CSchedulerApp : public CommandTarget {
public:
    CSchedulerApp();
    ~CSchedulerApp() override;

    // The whole start-up; false ends the program at once, without a word.
    bool InitInstance(int argc, const char* const* argv);
    // The message loop, then the end of the polling; the loop's exit code.
    int Run();

    // The hidden main window with its view (part of InitInstance; tests call it alone).
    bool CreateMainWindow();
    CMainFrame* MainFrame() { return frame_.get(); }
    void DestroyMainWindow();

    bool OnCommand(int id) override;
    bool QueryCommand(int id, CommandState& state) override;

    // How help is opened; tests record the call instead of starting the viewer.
    using ShellOpener =
        std::function<void(HWND owner, const char* program, const char* parameters)>;
    void SetShellOpenerForTesting(ShellOpener opener) { openShell_ = std::move(opener); }

private:
    void showHelp();
    void showAbout();

    std::unique_ptr<CMainFrame> frame_;
    ShellOpener openShell_;
};
