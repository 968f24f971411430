#include "ui/dock_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "ui/dpi.h"
#include "ui/unique_gdi.h"

namespace {

// Pixels at 100 %, scaled to the frame's DPI where used.
constexpr int kGripper = 8;  // along the leading edge of a docked bar
constexpr int kMargin = 2;   // around the buttons, across the bar
constexpr int kOutline = 3;  // the drag rectangle's line
constexpr DWORD kFloatStyle = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kFloatExStyle = WS_EX_TOOLWINDOW;

POINT ScreenPoint(HWND window, LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window, &p);
    return p;
}

bool CtrlHeld(WPARAM mouseKeys) {
    return (mouseKeys & MK_CONTROL) != 0;
}

}  // namespace

// The tool window a floating bar lives in: a caption without a close box that drags the bar,
// a sizing frame that wraps the buttons into rows, and a double click on the caption that
// docks the bar.
class CDockBar::FloatFrame : public Window {
public:
    explicit FloatFrame(CDockBar& bar) : bar_(bar) {}
    bool Create(HWND owner) {
        const char* name = RegisterClassOnce("SchedulerFloatingBar", nullptr,
                                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return name != nullptr &&
               CreateWin(kFloatExStyle, name, "Toolbar", kFloatStyle, owner, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_NCLBUTTONDBLCLK:
                if (wParam == HTCAPTION) {
                    bar_.Dock(bar_.lastDocked_);
                    return 0;
                }
                break;
            case WM_NCLBUTTONDOWN:
                // The caption drags the bar as the gripper does, so it docks where dropped;
                // the system's move would only move the window.
                if (wParam == HTCAPTION) {
                    bar_.beginDrag(
                        {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
                    return 0;
                }
                break;
            case WM_SIZING: {
                auto* sizing = reinterpret_cast<RECT*>(lParam);
                RECT frame{0, 0, 0, 0};
                AdjustWindowRectForDpi(frame, kFloatStyle, false, kFloatExStyle,
                                       WindowDpi(Handle()));
                int width = sizing->right - sizing->left - (frame.right - frame.left);
                bar_.fitFloat(width, sizing, wParam);
                return TRUE;
            }
            case WM_SIZE:
                bar_.fitFloat(LOWORD(lParam), nullptr, 0);
                return 0;
            case WM_GETMINMAXINFO: {
                RECT one{0, 0, bar_.column_.cx, bar_.column_.cy};
                AdjustWindowRectForDpi(one, kFloatStyle, false, kFloatExStyle, WindowDpi(Handle()));
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                info->ptMinTrackSize = {one.right - one.left, 0};
                return 0;
            }
            case WM_MOUSEACTIVATE:
                // A click on the bar leaves the main window active, as a menu bar would.
                return MA_NOACTIVATE;
            case WM_DPICHANGED:
                // Moved alone to a monitor of another scale: its frame takes the system's size.
                MoveToSuggestedRect(Handle(), lParam);
                return 0;
            case WM_CLOSE:
                return 0;  // nothing could show it again
            default:
                break;
        }
        return Default(message, wParam, lParam);
    }

private:
    CDockBar& bar_;
};

// The drag rectangle: a hollow frame above every window, where the bar would go.
class CDockBar::DragFrame : public Window {
public:
    bool Create() {
        const char* name = RegisterClassOnce("SchedulerDragOutline", nullptr,
                                             reinterpret_cast<HBRUSH>(COLOR_3DDKSHADOW + 1));
        return name != nullptr && CreateWin(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                                            name, "", WS_POPUP, nullptr, nullptr);
    }
    void Show(const RECT& r, int line) {
        SIZE size{r.right - r.left, r.bottom - r.top};
        if (size.cx != shown_.cx || size.cy != shown_.cy || line != line_) {
            UniqueRegion outline(CreateRectRgn(0, 0, size.cx, size.cy));
            UniqueRegion inside(CreateRectRgn(line, line, size.cx - line, size.cy - line));
            CombineRgn(outline.get(), outline.get(), inside.get(), RGN_DIFF);
            if (SetWindowRgn(Handle(), outline.get(), FALSE)) {
                outline.release();  // the window owns it now
            }
            shown_ = size;
            line_ = line;
        }
        SetWindowPos(Handle(), HWND_TOPMOST, r.left, r.top, size.cx, size.cy,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    void Hide() { ShowWindow(Handle(), SW_HIDE); }

private:
    SIZE shown_{};
    int line_ = 0;
};

CDockBar::CDockBar() = default;
CDockBar::~CDockBar() = default;

bool CDockBar::Create(HWND frame, std::function<void()> relayout) {
    frame_ = frame;
    relayout_ = std::move(relayout);
    const char* name =
        RegisterClassOnce("SchedulerDockBar", nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return name != nullptr &&
           CreateWin(0, name, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, frame, nullptr);
}

void CDockBar::Attach(HWND toolbar, const std::vector<int>& items) {
    toolbar_ = toolbar;
    items_ = items;
    buttons_ =
        static_cast<int>(std::count_if(items.begin(), items.end(), [](int id) { return id != 0; }));
    SendMessageA(toolbar_, TB_SETPARENT, reinterpret_cast<WPARAM>(frame_), 0);
    toolbarHook_.Attach(toolbar_, [this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        result = 0;
        return onToolBarMessage(message, lParam);
    });
    dpi_ = WindowDpi(frame_);
    measureButtons();
    floatColumns_ = std::max(buttons_, 1);
    floatExtent_ = row_;
    Dock(DockSide::Top);
}

void CDockBar::measureButtons() {
    buttonWidth_ = LOWORD(SendMessageA(toolbar_, TB_GETBUTTONSIZE, 0, 0));
    applyColumns(std::max(buttons_, 1));
    row_ = measure();
    separatorWidth_ = buttonWidth_;
    for (size_t i = 0; i < items_.size(); ++i) {
        RECT r{};
        if (items_[i] == 0 &&
            SendMessageA(toolbar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) {
            separatorWidth_ = r.right - r.left;
        }
    }
    applyColumns(1);
    column_ = measure();
}

void CDockBar::SetDpi(UINT dpi) {
    if (toolbar_ == nullptr) {
        return;
    }
    // The buttons may have new images: measured anew, and laid out where the bar is.
    dpi_ = dpi;
    measureButtons();
    if (side_ == DockSide::Floating && float_) {
        RECT r{};
        GetWindowRect(float_->Handle(), &r);
        Float({r.left, r.top});
    } else {
        Dock(side_);
    }
}

int CDockBar::px(int pixels) const {
    return Scaled(pixels, dpi_);
}

int CDockBar::thickness(DockSide side) const {
    switch (side) {
        case DockSide::Floating:
            return 0;
        case DockSide::Left:
        case DockSide::Right:
            return column_.cx + 2 * px(kMargin);
        default:
            return row_.cy + 2 * px(kMargin);
    }
}

void CDockBar::applyColumns(int columns) {
    std::vector<bool> ends = RowEnds(items_, columns);
    for (size_t i = 0; i < items_.size(); ++i) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        SendMessageA(toolbar_, TB_GETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
        BYTE wrapped = ends[i] ? (info.fsState | TBSTATE_WRAP) : (info.fsState & ~TBSTATE_WRAP);
        if (wrapped != info.fsState) {
            info.fsState = wrapped;
            SendMessageA(toolbar_, TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
        }
    }
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    columns_ = columns;
    Extent extent = measure();
    SetWindowPos(toolbar_, nullptr, 0, 0, extent.cx, extent.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDockBar::Extent CDockBar::measure() const {
    Extent extent;
    for (size_t i = 0; i < items_.size(); ++i) {
        RECT r{};
        if (SendMessageA(toolbar_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) {
            extent.cx = std::max<int>(extent.cx, r.right);
            extent.cy = std::max<int>(extent.cy, r.bottom);
        }
    }
    return extent;
}

DockRect CDockBar::Layout(const DockRect& area) {
    area_ = area;
    FrameTiles tiles = TileFrame(area, side_, Thickness());
    if (side_ != DockSide::Floating) {
        const DockRect& bar = tiles.bar;
        SetWindowPos(Handle(), nullptr, bar.left, bar.top, bar.Width(), bar.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        bool vertical = IsVerticalSide(side_);
        SetWindowPos(toolbar_, nullptr, vertical ? px(kMargin) : px(kGripper),
                     vertical ? px(kGripper) : px(kMargin), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return tiles.content;
}

void CDockBar::Dock(DockSide side) {
    if (side == DockSide::Floating || toolbar_ == nullptr) {
        return;
    }
    bool wasFloating = side_ == DockSide::Floating;
    side_ = lastDocked_ = side;
    applyColumns(IsVerticalSide(side) ? 1 : std::max(buttons_, 1));
    if (wasFloating) {
        SetParent(Handle(), frame_);
        ShowWindow(float_->Handle(), SW_HIDE);
    }
    InvalidateRect(Handle(), nullptr, TRUE);
    relayout();
}

void CDockBar::Float(POINT topLeft) {
    if (toolbar_ == nullptr) {
        return;
    }
    if (!float_) {
        auto window = std::make_unique<FloatFrame>(*this);
        if (!window->Create(frame_)) {
            return;
        }
        float_ = std::move(window);
    }
    side_ = DockSide::Floating;
    applyColumns(floatColumns_);
    floatExtent_ = measure();
    SetParent(Handle(), float_->Handle());
    SetWindowPos(Handle(), nullptr, 0, 0, floatExtent_.cx, floatExtent_.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(toolbar_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SIZE size = floatWindowSize();
    SetWindowPos(float_->Handle(), nullptr, topLeft.x, topLeft.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(float_->Handle(), IsWindowVisible(frame_) ? SW_SHOWNA : SW_HIDE);
    relayout();
}

void CDockBar::relayout() {
    relayout_();
    // Moving a child copies its old pixels along, and the parts it left keep theirs: paint anew.
    RedrawWindow(frame_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND CDockBar::FloatWindow() const {
    return float_ ? float_->Handle() : nullptr;
}

void CDockBar::ShowWithFrame(bool shown) {
    if (side_ == DockSide::Floating && float_) {
        ShowWindow(float_->Handle(), shown ? SW_SHOWNA : SW_HIDE);
    }
}

SIZE CDockBar::floatWindowSize() const {
    RECT r{0, 0, floatExtent_.cx, floatExtent_.cy};
    AdjustWindowRectForDpi(r, kFloatStyle, false, kFloatExStyle,
                           float_ ? WindowDpi(float_->Handle()) : dpi_);
    return {r.right - r.left, r.bottom - r.top};
}

void CDockBar::fitFloat(int clientWidth, RECT* sizing, WPARAM edge) {
    if (side_ != DockSide::Floating) {
        return;
    }
    int columns = ColumnsForWidth(items_, clientWidth, buttonWidth_, separatorWidth_);
    if (columns != columns_) {
        applyColumns(columns);
        floatColumns_ = columns;
        floatExtent_ = measure();
        SetWindowPos(Handle(), nullptr, 0, 0, floatExtent_.cx, floatExtent_.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SIZE size = floatWindowSize();
    if (sizing != nullptr) {
        // The edge the user holds moves; the opposite one stays.
        bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
        bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
        (left ? sizing->left : sizing->right) =
            left ? sizing->right - size.cx : sizing->left + size.cx;
        (top ? sizing->top : sizing->bottom) =
            top ? sizing->bottom - size.cy : sizing->top + size.cy;
        return;
    }
    RECT now{};
    GetWindowRect(float_->Handle(), &now);
    if (now.right - now.left != size.cx || now.bottom - now.top != size.cy) {
        SetWindowPos(float_->Handle(), nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

RECT CDockBar::gripper() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    if (IsVerticalSide(side_)) {
        return {px(kMargin), px(2), client.right - px(kMargin), px(5)};
    }
    return {px(2), px(kMargin), px(5), client.bottom - px(kMargin)};
}

void CDockBar::beginDrag(POINT screen) {
    if (dragging_) {
        return;
    }
    RECT bar{};
    GetWindowRect(side_ == DockSide::Floating ? float_->Handle() : Handle(), &bar);
    dragging_ = true;
    moved_ = false;
    dragStart_ = screen;
    grab_ = {screen.x - bar.left, screen.y - bar.top};
    // Only the foreground window's thread gets the mouse wherever it goes: a click on the bar of
    // a program behind others brings the main window forward, as a click on it would. The focus
    // stays where it is, so no window changes its active look; the message loop brings Esc
    // here (CancelDrag).
    if (GetForegroundWindow() != frame_) {
        SetForegroundWindow(frame_);
    }
    SetCapture(Handle());
}

DockSide CDockBar::dragTarget(POINT screen, bool floatWanted, RECT& outline) const {
    POINT origin{0, 0};
    ClientToScreen(frame_, &origin);
    DockRect area{area_.left + origin.x, area_.top + origin.y, area_.right + origin.x,
                  area_.bottom + origin.y};
    DockSide side = DropSide(area, {screen.x, screen.y}, row_.cy, floatWanted);
    if (side != DockSide::Floating) {
        DockRect bar = TileFrame(area, side, thickness(side)).bar;
        outline = {bar.left, bar.top, bar.right, bar.bottom};
        return side;
    }
    SIZE size = floatWindowSize();
    // The pointer keeps its place on the bar, inside the smaller floating shape.
    int x = screen.x - std::min<int>(grab_.x, size.cx - px(kGripper));
    int y = screen.y - std::min<int>(grab_.y, size.cy - px(kGripper));
    outline = {x, y, x + size.cx, y + size.cy};
    return side;
}

void CDockBar::dragTo(POINT screen, bool floatWanted) {
    if (!moved_ && std::abs(screen.x - dragStart_.x) < GetSystemMetrics(SM_CXDRAG) &&
        std::abs(screen.y - dragStart_.y) < GetSystemMetrics(SM_CYDRAG)) {
        return;
    }
    moved_ = true;
    if (!drag_) {
        auto outline = std::make_unique<DragFrame>();
        if (!outline->Create()) {
            return;
        }
        drag_ = std::move(outline);
    }
    RECT outline{};
    dragTarget(screen, floatWanted, outline);
    drag_->Show(outline, px(kOutline));
}

void CDockBar::endDrag(POINT screen, bool floatWanted, bool drop) {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    if (GetCapture() == Handle()) {
        ReleaseCapture();
    }
    if (drag_) {
        drag_->Hide();
    }
    if (!drop || !moved_) {
        return;
    }
    RECT outline{};
    DockSide side = dragTarget(screen, floatWanted, outline);
    if (side == DockSide::Floating) {
        Float({outline.left, outline.top});
    } else {
        Dock(side);
    }
}

bool CDockBar::CancelDrag() {
    if (!dragging_) {
        return false;
    }
    endDrag({}, false, false);
    return true;
}

LRESULT CDockBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PaintDc paint(Handle());
            if (side_ != DockSide::Floating) {
                RECT grip = gripper();
                DrawEdge(paint.get(), &grip, BDR_RAISEDINNER, BF_RECT);
            }
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && side_ != DockSide::Floating) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEALL)));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            beginDrag(ScreenPoint(Handle(), lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) {
                dragTo(ScreenPoint(Handle(), lParam), CtrlHeld(wParam));
            }
            return 0;
        case WM_LBUTTONUP:
            endDrag(ScreenPoint(Handle(), lParam), CtrlHeld(wParam), true);
            return 0;
        case WM_CAPTURECHANGED:
            endDrag({}, false, false);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (side_ != DockSide::Floating) {
                RECT bar{};
                GetWindowRect(Handle(), &bar);
                Float({bar.left, bar.top});
            }
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

bool CDockBar::onToolBarMessage(UINT message, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        // An empty part of the bar drags it like the gripper.
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (SendMessageA(toolbar_, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&at)) < 0) {
            beginDrag(ScreenPoint(toolbar_, lParam));
            return true;
        }
    }
    return false;
}
