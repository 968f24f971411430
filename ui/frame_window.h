#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/color_toolbar.h"
#include "ui/dock_bar.h"
#include "ui/command_target.h"
#include "ui/unique_gdi.h"
#include "ui/window.h"

// A top-level frame with a menu, a toolbar that docks on any side or floats, a status bar
// (message, CAP and NUM panes) at the bottom and one content window in the rest. Commands go
// to the command targets in the order they were added; a command nobody knows is disabled.
class FrameWindow : public Window {
public:
    FrameWindow() = default;

    // Creates the frame hidden, with the menu, accelerators and icon of the resource id.
    bool Create(int resourceId, const char* className);

    void AddCommandTarget(CommandTarget* target) { targets_.push_back(target); }
    bool RouteCommand(int id);
    CommandState QueryCommandState(int id);

    // The window beside the toolbar, above the status bar.
    void SetContent(HWND content) { content_ = content; }
    void RecalcLayout();
    // Toolbar button states and the key indicators; run when the message queue is empty.
    void OnIdle();

    HACCEL Accelerators() const { return accelerators_.get(); }
    CColorToolBar& ToolBar() { return toolBar_; }
    // The bar that holds the toolbar: the toolbar is created as its child.
    CDockBar& DockBar() { return dockBar_; }
    HWND StatusBar() const { return statusBar_; }
    std::string StatusText(int pane) const;
    void SetMessageText(const std::string& text);

protected:
    // Builds toolbar and status bar; -1 fails the creation.
    virtual int OnCreate() { return 0; }
    virtual void OnClose() { DestroyWindow(Handle()); }
    // The window moved to a monitor of another scale: what it sizes in pixels follows.
    // Called before the frame takes its new rectangle; the toolbar and status bar follow after.
    virtual void OnDpiChanged(UINT) {}
    bool CreateDockBar();
    bool CreateStatusBar(int id);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void updateMenu(HMENU menu);
    void showPrompt(int id);
    LRESULT onNotify(NMHDR* header);

    std::vector<CommandTarget*> targets_;
    CColorToolBar toolBar_;
    CDockBar dockBar_;
    UINT taskbarCreated_ = 0;
    HWND statusBar_ = nullptr;
    HWND content_ = nullptr;
    UniqueAccelerators accelerators_;
    // The status bar's font at the window's scale.
    void setStatusFont(UINT dpi);

    UniqueFont statusFont_;
    UINT dpi_ = 96;
    std::string tooltip_;
    std::wstring tooltipWide_;
};
