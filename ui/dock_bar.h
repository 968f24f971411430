#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "ui/models/dock_layout.h"
#include "ui/window.h"

// The frame's toolbar made dockable: a bar with a gripper that holds the toolbar control,
// docked along any side of the frame or floating in a small tool window the frame owns.
// Dragged by the gripper or an empty part of the bar, it docks where it is dropped near an
// edge and floats elsewhere (always with Ctrl held); a double click on the gripper floats it
// and one on the floating caption docks it again; the floating bar dragged by its caption
// docks where it is dropped near an edge. Nothing of its place is stored.
class CDockBar : public Window {
public:
    CDockBar();
    ~CDockBar() override;

    // Creates the bar as a child of the frame; `relayout` lays the frame out again after the
    // bar moved or changed its size.
    bool Create(HWND frame, std::function<void()> relayout);
    // Takes the toolbar control made as a child of this bar, with its items (command ids, 0
    // for a separator), and docks it at the top. Its commands and notes go to the frame.
    void Attach(HWND toolbar, const std::vector<int>& items);

    DockSide Side() const { return side_; }
    // Across the docked side: the buttons and their margins; 0 while floating.
    int Thickness() const { return thickness(side_); }
    // Moves the docked bar along its side of `area` (the frame's client area above the status
    // bar) and answers the rest of it, for the content.
    DockRect Layout(const DockRect& area);
    void Dock(DockSide side);
    // Floats the bar with the floating window's top-left corner at a point of the screen.
    void Float(POINT topLeft);
    // The floating window (nullptr before the first float); it hides and shows with the frame.
    HWND FloatWindow() const;
    void ShowWithFrame(bool shown);
    // The frame's scale changed (and maybe the buttons' images): measured and laid out anew.
    void SetDpi(UINT dpi);
    // Calls a drag off (the user's Esc, whichever window has the focus); false when no drag
    // was going on.
    bool CancelDrag();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    class FloatFrame;
    class DragFrame;

    struct Extent {
        int cx = 0;
        int cy = 0;
    };

    int thickness(DockSide side) const;
    // The buttons' sizes in a row and in a column.
    void measureButtons();
    // Pixels at 100 %, at the frame's scale.
    int px(int pixels) const;
    // Wraps the buttons into rows of `columns` and sizes the toolbar control to them.
    void applyColumns(int columns);
    void relayout();
    Extent measure() const;
    // The floating window's size around the floating layout.
    SIZE floatWindowSize() const;
    // The floating window's client is `clientWidth` wide: the most columns that fit, and the
    // window fitted to them. `sizing` (a WM_SIZING rectangle and edge) is fitted instead.
    void fitFloat(int clientWidth, RECT* sizing, WPARAM edge);
    void beginDrag(POINT screen);
    void dragTo(POINT screen, bool floatWanted);
    void endDrag(POINT screen, bool floatWanted, bool drop);
    DockSide dragTarget(POINT screen, bool floatWanted, RECT& outline) const;
    RECT gripper() const;
    bool onToolBarMessage(UINT message, LPARAM lParam);

    HWND frame_ = nullptr;
    HWND toolbar_ = nullptr;
    ControlHook toolbarHook_;
    std::function<void()> relayout_;
    std::vector<int> items_;
    int buttons_ = 0;
    int columns_ = 0;
    int floatColumns_ = 0;
    DockSide side_ = DockSide::Top;
    DockSide lastDocked_ = DockSide::Top;
    Extent row_;     // every button in one row
    Extent column_;  // one column
    Extent floatExtent_;  // the floating layout
    UINT dpi_ = 96;
    int buttonWidth_ = 0;
    int separatorWidth_ = 0;
    DockRect area_;  // the frame's, from the last layout
    std::unique_ptr<FloatFrame> float_;
    std::unique_ptr<DragFrame> drag_;
    bool dragging_ = false;
    bool moved_ = false;
    POINT dragStart_{};
    POINT grab_{};  // the pointer's offset from the dragged bar's corner
};
