#include "ui/scheduler_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "app/app_state.h"
#include "app/product_variant.h"
#include "engine/launcher.h"
#include "engine/next_start.h"
#include "engine/schedule_list.h"
#include "engine/schedule_storage.h"
#include "engine/stop_flag.h"
#include "platform/clock.h"
#include "resources/resource_ids.h"
#include "ui/dpi.h"
#include "ui/frame_window.h"
#include "ui/models/schedule_tip.h"
#include "ui/popup_menu.h"
#include "ui/schedule_dlg.h"
#include "ui/scheduler_doc.h"
#include "ui/unique_gdi.h"

namespace {

CSchedulerView* theView = nullptr;

// The row tip's second tool, the one the keyboard shows, and the timer that hides it.
constexpr UINT_PTR kKeyboardTool = 1;
constexpr UINT_PTR kKeyboardTipTimer = 1;

void InsertColumn(HWND list, int index, const char* header, int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(header);
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

// An instant in the user's short date and time formats.
std::string UserDateTime(std::time_t instant) {
    std::tm local;
    if (!LocalBreakdown(instant, local)) {
        return "?";
    }
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);
    char date[80] = "";
    char clock[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof clock);
    return std::string(date) + " " + clock;
}

}  // namespace

CSchedulerView* TheSchedulerView() {
    return theView;
}

CSchedulerView::CSchedulerView(CSchedulerDoc& document, FrameWindow& frame)
    : Dialog(IDD_SCHEDULER_FORM),
      document_(document),
      frame_(frame),
      commands_(document.Schedules(), TheScheduleStorage(), *this) {
    theView = this;
}

CSchedulerView::~CSchedulerView() {
    if (theView == this) {
        theView = nullptr;
    }
}

bool CSchedulerView::Create() {
    // The frame passes the shell's restart on; only top-level windows hear it.
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    return CreateChild(frame_.Handle());
}

bool CSchedulerView::OnInitDialog() {
    list_ = GetDlgItem(Handle(), IDC_SCHEDULE_LIST);
    RECT form{};
    GetWindowRect(Handle(), &form);
    formSize_ = SIZE{form.right - form.left, form.bottom - form.top};
    dpi_ = WindowDpi(Handle());
    if (list_ != nullptr && !columnsInserted_) {
        InsertColumn(list_, 0, "Title", Scaled(170, dpi_));
        InsertColumn(list_, 1, "Workspace file", Scaled(270, dpi_));
        SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
                     LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        watchList();
        columnsInserted_ = true;
    }
    return false;  // the frame gives the focus
}

void CSchedulerView::RefreshScheduleList() {
    if (list_ == nullptr) {
        return;
    }
    // Clearing the selection sends item-changed notes; they must not move the one we restore.
    int selected = SelectedScheduleIndex;
    // A tip showing belongs to a row that may now be another.
    if (tips_ != nullptr) {
        SendMessageA(tips_, TTM_POP, 0, 0);
    }
    hideKeyboardTip();
    tipRow_ = -1;
    // The rows are the list's own entries, asked for as they are drawn (LVN_GETDISPINFO): a
    // refill of thousands only gives the control their count, and it holds nothing per row
    // that a refill would free and make again.
    ScheduleList& schedules = document_.Schedules();
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LVM_SETITEMCOUNT, schedules.Count(), LVSICF_NOSCROLL);
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    SelectedScheduleIndex = selected;
    const bool shown = selected >= 0 && selected < schedules.Count();
    if (shown) {
        LVITEMA state{};
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list_, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&state));
        SendMessageA(list_, LVM_ENSUREVISIBLE, selected, FALSE);
    }
    SendMessageA(list_, LVM_SETSELECTIONMARK, 0, shown ? selected : -1);
    SelectedScheduleIndex = selected;
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    // Its frame too: the scroll bars changed while it did not draw.
    RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    SetFocus(list_);
}

int CSchedulerView::SelectionMark() const {
    return list_ != nullptr ? static_cast<int>(SendMessageA(list_, LVM_GETSELECTIONMARK, 0, 0))
                            : -1;
}

void CSchedulerView::SetDpi(UINT dpi) {
    if (dpi == dpi_ || list_ == nullptr) {
        return;
    }
    // The form's font and the columns in proportion; the form itself fills what the frame
    // gives it. A tip showing belongs to the old scale.
    UniqueFont font(CreateFontScaled(Handle(), dpi_, dpi));
    if (font) {
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        font_ = std::move(font);
    }
    for (int column = 0; column < 2; ++column) {
        const int width = static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, column, 0));
        SendMessageA(list_, LVM_SETCOLUMNWIDTH, column, MulDiv(width, dpi, dpi_));
    }
    if (tips_ != nullptr) {
        hideKeyboardTip();
        SendMessageA(tips_, TTM_POP, 0, 0);
        SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, Scaled(600, dpi));
    }
    dpi_ = dpi;
}

void CSchedulerView::AddTrayIcon(const char* tip) {
    // The notification area's small-icon size at the system's scale, from the icon's image of
    // that size or the nearest.
    HICON icon = nullptr;
    if (!trayIcon_ && SUCCEEDED(LoadIconMetric(GetModuleHandleA(nullptr),
                                               MAKEINTRESOURCEW(IDR_MAINFRAME), LIM_SMALL, &icon))) {
        trayIcon_.reset(icon);
    }
    tray_.Add(Handle(), trayIcon_.get(), tip, WM_TRAY_NOTIFY);
}

bool CSchedulerView::OnCommand(int id) {
    switch (id) {
        case ID_SCHEDULE_ADD:
            commands_.Add(std::time(nullptr));
            return true;
        case ID_SCHEDULE_REMOVE:
            commands_.Remove(SelectedScheduleIndex);
            return true;
        case ID_SCHEDULE_CHANGE:
            commands_.Change(SelectedScheduleIndex, std::time(nullptr));
            return true;
        case ID_SCHEDULE_RUN:
            LaunchSchedule(SelectedScheduleIndex);
            return true;
        case ID_TRAY_OPEN:
            showMainWindow();
            return true;
        case ID_APP_SHUTDOWN:
            shutdown();
            return true;
        default:
            return false;
    }
}

bool CSchedulerView::QueryCommand(int id, CommandState& state) {
    switch (id) {
        case ID_SCHEDULE_REMOVE:
        case ID_SCHEDULE_CHANGE:
        case ID_SCHEDULE_RUN:
            state = CommandState{SelectionMark() >= 0, false};
            return true;
        case ID_SCHEDULE_ADD:
        case ID_TRAY_OPEN:
        case ID_APP_SHUTDOWN:
            state = CommandState{true, false};
            return true;
        default:
            return false;
    }
}

bool CSchedulerView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        tray_.Restore();
        return true;
    }
    switch (message) {
        case WM_COMMAND:
            // Commands of the popup menus this view owns; controls send none we use.
            if (lParam == 0) {
                frame_.RouteCommand(LOWORD(wParam));
            }
            return true;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tips_ && tips_ != nullptr && header->code == TTN_GETDISPINFOA) {
                auto* ask = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                tipText_ = tipRow_ >= 0 ? RowTipText(tipRow_) : std::string();
                ask->lpszText = tipText_.data();
                result = 0;
                return true;
            }
            if (header->idFrom == IDC_SCHEDULE_LIST) {
                result = onListNotify(header);
                return true;
            }
            return false;
        }
        case WM_SIZE:
            if (list_ != nullptr) {
                // One pixel short of the right and bottom edges, as the form was laid out.
                SetWindowPos(list_, nullptr, 0, 0, LOWORD(lParam) - 1, HIWORD(lParam) - 1,
                             SWP_NOMOVE | SWP_NOZORDER);
            }
            return true;
        case WM_TRAY_NOTIFY:
            onTrayNotify(lParam);
            return true;
        case WM_TIMER:
            if (wParam != kKeyboardTipTimer) {
                return false;
            }
            hideKeyboardTip();
            return true;
        case WM_DESTROY:
            // The last stop path: the main window goes, and with it the polling.
            StopRequested().Set();
            Sleep(100);
            tray_.Remove();
            return false;
        default:
            return false;
    }
}

LRESULT CSchedulerView::onListNotify(const NMHDR* header) {
    switch (header->code) {
        case NM_CLICK:
            SelectedScheduleIndex = SelectionMark();
            break;
        case NM_RCLICK:
            SelectedScheduleIndex = SelectionMark();
            showScheduleContextMenu();
            break;
        case NM_DBLCLK:
            SelectedScheduleIndex = SelectionMark();
            frame_.RouteCommand(ID_SCHEDULE_CHANGE);
            break;
        case LVN_GETDISPINFOA:
            showRow(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header))->item);
            break;
        case LVN_ODFINDITEMA:
            return findRow(*reinterpret_cast<const NMLVFINDITEMA*>(header));
        case LVN_ITEMCHANGED: {
            auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
            SelectedScheduleIndex = change->iItem;
            if (keyedRow_ != -2 && (change->uNewState & ~change->uOldState & LVIS_SELECTED)) {
                keyedRow_ = change->iItem;
            }
            break;
        }

        default:
            break;
    }
    return 0;
}

void CSchedulerView::showRow(LVITEMA& item) const {
    const ScheduleEntry* entry = document_.Schedules().EntryAt(item.iItem);
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        static const std::string none;
        const std::string& text = entry == nullptr ? none
                                  : item.iSubItem == 0 ? entry->title
                                                       : entry->file;
        const std::size_t size = std::min<std::size_t>(text.size(), item.cchTextMax - 1);
        std::memcpy(item.pszText, text.data(), size);
        item.pszText[size] = '\0';
    }
}

LRESULT CSchedulerView::findRow(const NMLVFINDITEMA& find) const {
    // The letters typed into the list: the next title they begin, compared as the user's
    // language compares them without case.
    const LVFINDINFOA& what = find.lvfi;
    if ((what.flags & LVFI_STRING) == 0 || what.psz == nullptr) {
        return -1;
    }
    const ScheduleList& schedules = document_.Schedules();
    const int count = schedules.Count();
    const int typed = lstrlenA(what.psz);
    int row = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    for (int step = 0; step < count; ++step, ++row) {
        if (row >= count) {
            if ((what.flags & LVFI_WRAP) == 0) {
                break;
            }
            row = 0;
        }
        const std::string& title = schedules.EntryAt(row)->title;
        const bool partial = (what.flags & LVFI_PARTIAL) != 0;
        if (partial ? static_cast<int>(title.size()) < typed : static_cast<int>(title.size()) != typed) {
            continue;
        }
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, title.data(), typed, what.psz,
                           typed) == CSTR_EQUAL) {
            return row;
        }
    }
    return -1;
}

std::string CSchedulerView::RowTipText(int row) const {
    ScheduleEntry entry;
    if (!document_.Schedules().WithEntry(row, [&](const ScheduleEntry& e) { entry = e; })) {
        return "";
    }
    return ScheduleTipText(entry, NextStartOf(entry, CurrentTime()), UserDateTime);
}

void CSchedulerView::createRowTips() {
    // A tip of our own over the whole list, whose text follows the row under the pointer;
    // the list's own info tips are not there on every system.
    tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    if (tips_ == nullptr) {
        return;
    }
    // The tip hears the list's mouse through the view's watch, which also shows it for the
    // keyboard; the tip's own subclass (TTF_SUBCLASS) would hear only the mouse.
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // The keyboard's tip: placed by us beside the selected row.
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.uId = kKeyboardTool;
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // Two lines, not one wrapped.
    SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, Scaled(600, dpi_));
}

HWND CSchedulerView::RowTips() {
    if (tips_ == nullptr) {
        createRowTips();
    }
    return tips_;
}

void CSchedulerView::watchList() {
    listHook_.Attach(list_, [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return onListInput(message, wParam, lParam, result);
    });
}

bool CSchedulerView::onListInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_KEYDOWN) {
        // The list moves the selection and scrolls to it; the tip then goes beside the row.
        hideKeyboardTip();
        keyedRow_ = -1;
        result = DefSubclassProc(list_, message, wParam, lParam);
        const int row = keyedRow_;
        keyedRow_ = -2;
        if (row >= 0) {
            showKeyboardTip(row);
        }
        return true;
    }
    if (message == WM_KILLFOCUS) {
        hideKeyboardTip();
        return false;
    }
    if (message < WM_MOUSEFIRST || message > WM_MOUSELAST || RowTips() == nullptr) {
        return false;
    }
    POINT pointer{};
    GetCursorPos(&pointer);
    // A scroll under a resting pointer is no move of the user's.
    if (message != WM_MOUSEMOVE || pointer.x != keyedPointer_.x || pointer.y != keyedPointer_.y) {
        hideKeyboardTip();
    }
    if (message == WM_MOUSEMOVE) {
        LVHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        int row =
            static_cast<int>(SendMessageA(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (row != tipRow_) {
            // Another row: the shown tip goes, and the next one asks for its text anew.
            tipRow_ = row;
            SendMessageA(tips_, TTM_POP, 0, 0);
        }
    }
    MSG relayed{list_, message, wParam, lParam, 0, {}};
    SendMessageA(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    return false;
}

void CSchedulerView::showKeyboardTip(int row) {
    if (RowTips() == nullptr) {
        return;
    }
    SendMessageA(tips_, TTM_POP, 0, 0);
    tipRow_ = row;
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Handle();
    tool.uId = kKeyboardTool;
    RECT cell{};
    cell.left = LVIR_LABEL;
    SendMessageA(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&cell), 2);
    // Below the row, where the pointer's tip would be; above it when the screen ends first.
    const LRESULT size = SendMessageA(tips_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromRect(&cell, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    POINT at{cell.left + MetricForDpi(SM_CXSMICON, dpi_), cell.bottom + Scaled(2, dpi_)};
    if (at.y + HIWORD(size) > work.bottom) {
        at.y = cell.top - Scaled(2, dpi_) - HIWORD(size);
    }
    at.x = std::max(work.left, std::min<LONG>(at.x, work.right - LOWORD(size)));
    SendMessageA(tips_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(tips_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    keyboardTip_ = true;
    GetCursorPos(&keyedPointer_);
    SetTimer(Handle(), kKeyboardTipTimer,
             static_cast<UINT>(SendMessageA(tips_, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0)), nullptr);
}

void CSchedulerView::hideKeyboardTip() {
    if (!keyboardTip_) {
        return;
    }
    keyboardTip_ = false;
    KillTimer(Handle(), kKeyboardTipTimer);
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = Handle();
    tool.uId = kKeyboardTool;
    SendMessageA(tips_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

void CSchedulerView::onTrayNotify(LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONDBLCLK:
            showMainWindow();
            break;
        case WM_RBUTTONDOWN:
            showTrayMenu();
            break;
        default:
            break;
    }
}

void CSchedulerView::showScheduleContextMenu() {
    DWORD position = GetMessagePos();
    POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    AppendMenuA(menu.get(), MF_STRING, ID_SCHEDULE_ADD, "&Add Schedule");
    if (SelectedScheduleIndex != -1) {
        AppendMenuA(menu.get(), MF_STRING, ID_SCHEDULE_CHANGE, "&Edit Schedule");
        AppendMenuA(menu.get(), MF_STRING, ID_SCHEDULE_REMOVE, "Re&move Schedule");
        AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu.get(), MF_STRING, ID_SCHEDULE_RUN, "&Run Schedule");
    }
    TrackPopup(menu.get(), Handle(), at);
}

void CSchedulerView::showTrayMenu() {
    POINT at{};
    GetCursorPos(&at);
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    std::string open = TrayOpenItemText(ActiveVariant().title);
    AppendMenuA(menu.get(), MF_STRING, ID_TRAY_OPEN, open.c_str());
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, ID_APP_SHUTDOWN, "&Shut Down");
    TrackPopup(menu.get(), Handle(), at);
}

bool CSchedulerView::RunEditor(ScheduleEditorModel& editor, ScheduleEntry& result) {
    CScheduleDlg dialog(editor);
    if (dialog.DoModal(frame_.Handle()) != IDOK) {
        return false;
    }
    result = dialog.Result();
    return true;
}

bool CSchedulerView::ConfirmRemove() {
    return MessageBoxA(frame_.Handle(), "Remove the selection schedule?", kMessageCaption,
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CSchedulerView::ShowError(const std::string& message) {
    MessageBoxA(frame_.Handle(), message.c_str(), kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}

void CSchedulerView::showMainWindow() {
    HWND main = frame_.Handle();
    // A minimised window is brought back too: the user asked to see it.
    ShowWindow(main, IsIconic(main) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(main);
}

void CSchedulerView::shutdown() {
    StopRequested().Set();
    tray_.Remove();
    PostQuitMessage(0);
    Sleep(100);
}
