#include "ui/type_pages.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "ui/dpi.h"
#include "ui/models/row_fit.h"
#include "ui/unique_gdi.h"

// Sent to child windows after their top-level window's scale changed (Windows 10 1703).
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace {

// The width a picker needs for the longest text of its format: the longest month and weekday
// names in the user's language, or the widest hour. The samples are measured as text, the
// widest one shown in the picker for its ideal size; its own value is put back.
int PickerWidthNeeded(HWND picker) {
    const bool time = (GetWindowLongA(picker, GWL_STYLE) & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
    const DWORD dateFormat =
        (GetWindowLongA(picker, GWL_STYLE) & DTS_LONGDATEFORMAT) != 0 ? DATE_LONGDATE : DATE_SHORTDATE;
    std::vector<SYSTEMTIME> samples;
    if (time) {
        for (WORD hour : {10, 22}) {
            samples.push_back({2000, 1, 6, 1, hour, 58, 58, 0});
        }
    } else {
        // 2028: its 20th to 26th of each month fall on every weekday.
        for (WORD month = 1; month <= 12; ++month) {
            for (WORD day = 20; day <= 26; ++day) {
                SYSTEMTIME date{2028, month, 0, day, 12, 0, 0, 0};
                FILETIME moment{};
                SystemTimeToFileTime(&date, &moment);  // fills in the weekday
                FileTimeToSystemTime(&moment, &date);
                samples.push_back(date);
            }
        }
    }
    const SYSTEMTIME* widest = &samples.front();
    {
        WindowDc dc(picker);
        SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(picker, WM_GETFONT, 0, 0)));
        int most = -1;
        for (const SYSTEMTIME& sample : samples) {
            char text[128] = "";
            const int length =
                time ? GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &sample, nullptr, text, sizeof(text))
                     : GetDateFormatA(LOCALE_USER_DEFAULT, dateFormat, &sample, nullptr, text,
                                      sizeof(text));
            SIZE extent{};
            if (length > 1 && GetTextExtentPoint32A(dc.get(), text, length - 1, &extent) &&
                extent.cx > most) {
                most = extent.cx;
                widest = &sample;
            }
        }
    }
    SYSTEMTIME kept{};
    const LRESULT had = SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&kept));
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(widest));
    SIZE ideal{};
    SendMessageA(picker, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
    if (had == GDT_VALID) {
        SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&kept));
    }
    return ideal.cx;
}

RECT RectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

COncePage::COncePage(OncePageModel& model) : CTypePage(IDD_ONCE_PAGE, model) {}
CHourlyPage::CHourlyPage(HourlyPageModel& model) : CTypePage(IDD_HOURLY_PAGE, model) {}
CDailyPage::CDailyPage(DailyPageModel& model) : CTypePage(IDD_DAILY_PAGE, model) {}
CWeeklyPage::CWeeklyPage(WeeklyPageModel& model) : CTypePage(IDD_WEEKLY_PAGE, model) {}
CMonthlyPage::CMonthlyPage(MonthlyPageModel& model) : CTypePage(IDD_MONTHLY_PAGE, model) {}
CYearlyPage::CYearlyPage(YearlyPageModel& model) : CTypePage(IDD_YEARLY_PAGE, model) {}

bool CTypePage::OnInitDialog() {
    model_.Show(*this);
    dpi_ = WindowDpi(Handle());
    fitPickers();
    return false;  // the editor decides where the focus goes
}

void CTypePage::fitPickers() {
    RECT page{}, gap{0, 0, 4, 0};
    GetClientRect(Handle(), &page);
    MapDialogRect(Handle(), &gap);
    for (HWND picker = GetWindow(Handle(), GW_CHILD); picker != nullptr;
         picker = GetWindow(picker, GW_HWNDNEXT)) {
        char kind[32] = "";
        GetClassNameA(picker, kind, sizeof(kind));
        const RECT at = RectIn(Handle(), picker);
        const int needed = lstrcmpA(kind, DATETIMEPICK_CLASSA) == 0 ? PickerWidthNeeded(picker) : 0;
        if (needed <= at.right - at.left) {
            continue;
        }
        // The controls beside it, left to right.
        std::vector<HWND> row;
        for (HWND child = GetWindow(Handle(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const RECT r = RectIn(Handle(), child);
            if (r.top < at.bottom && at.top < r.bottom) {
                row.push_back(child);
            }
        }
        std::sort(row.begin(), row.end(),
                  [this](HWND a, HWND b) { return RectIn(Handle(), a).left < RectIn(Handle(), b).left; });
        std::vector<RowSpan> spans;
        for (HWND child : row) {
            const RECT r = RectIn(Handle(), child);
            spans.push_back({r.left, child == picker ? needed : r.right - r.left});
        }
        FitRow(spans, page.right, gap.right);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const RECT r = RectIn(Handle(), row[i]);
            SetWindowPos(row[i], nullptr, spans[i].left, r.top, spans[i].width, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CTypePage::followDpi() {
    // The editor's dialog manager moves and sizes this page at a new scale; what is in it, and
    // its font, are the page's own to follow.
    const UINT dpi = WindowDpi(Handle());
    if (dpi == dpi_) {
        return;
    }
    UniqueFont font(CreateFontScaled(Handle(), dpi_, dpi));
    for (HWND child = GetWindow(Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = RectIn(Handle(), child);
        SetWindowPos(child, nullptr, MulDiv(r.left, dpi, dpi_), MulDiv(r.top, dpi, dpi_),
                     MulDiv(r.right - r.left, dpi, dpi_), MulDiv(r.bottom - r.top, dpi, dpi_),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (font) {
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        }
    }
    if (font) {
        SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        font_ = std::move(font);
    }
    dpi_ = dpi;
    fitPickers();
}

bool CTypePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (message == WM_DPICHANGED_AFTERPARENT) {
        followDpi();
        return true;
    }
    // OK and Cancel typed inside the page belong to the editor around it.
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) &&
        HIWORD(wParam) == 0) {
        SendMessageA(GetParent(Handle()), WM_COMMAND, wParam, lParam);
        return true;
    }
    return false;
}

void CTypePage::ShowDateTime(int id, const LocalDateTime& value) {
    // The picker refuses a value it cannot show (a year before its calendar, an hour of 25).
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(value.year);
    time.wMonth = static_cast<WORD>(value.month);
    time.wDayOfWeek = static_cast<WORD>(value.weekday);
    time.wDay = static_cast<WORD>(value.day);
    time.wHour = static_cast<WORD>(value.hour);
    time.wMinute = static_cast<WORD>(value.minute);
    time.wSecond = static_cast<WORD>(value.second);
    SendDlgItemMessageA(Handle(), id, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&time));
}

bool CTypePage::ReadDateTime(int id, LocalDateTime& value) {
    SYSTEMTIME time{};
    if (SendDlgItemMessageA(Handle(), id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) !=
        GDT_VALID) {
        return false;
    }
    value.year = time.wYear;
    value.month = time.wMonth;
    value.day = time.wDay;
    value.hour = time.wHour;
    value.minute = time.wMinute;
    value.second = time.wSecond;
    value.weekday = time.wDayOfWeek;
    return true;
}

void CTypePage::ShowText(int id, const std::string& text) {
    SetDlgItemTextA(Handle(), id, text.c_str());
}

std::string CTypePage::ReadText(int id) {
    // The number rule reads no more than 31 characters.
    char text[32] = {};
    GetDlgItemTextA(Handle(), id, text, sizeof(text));
    return text;
}

void CTypePage::ShowCheck(int id, bool ticked) {
    CheckDlgButton(Handle(), id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool CTypePage::ReadCheck(int id) {
    return IsDlgButtonChecked(Handle(), id) == BST_CHECKED;
}

void CTypePage::ShowList(int id, const char* const* items, int count, int position) {
    HWND list = GetDlgItem(Handle(), id);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void CTypePage::Complain(int id, const std::string& message) {
    HWND editor = GetParent(Handle());
    MessageBoxA(editor != nullptr ? editor : Handle(), message.c_str(), kMessageCaption,
                MB_OK | MB_ICONEXCLAMATION);
    HWND edit = GetDlgItem(Handle(), id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}
