#include "ui/type_pages.h"

#include <commctrl.h>

#include "resources/resource_ids.h"

COncePage::COncePage(OncePageModel& model) : CTypePage(IDD_ONCE_PAGE, model) {}
CHourlyPage::CHourlyPage(HourlyPageModel& model) : CTypePage(IDD_HOURLY_PAGE, model) {}
CDailyPage::CDailyPage(DailyPageModel& model) : CTypePage(IDD_DAILY_PAGE, model) {}
CWeeklyPage::CWeeklyPage(WeeklyPageModel& model) : CTypePage(IDD_WEEKLY_PAGE, model) {}
CMonthlyPage::CMonthlyPage(MonthlyPageModel& model) : CTypePage(IDD_MONTHLY_PAGE, model) {}
CYearlyPage::CYearlyPage(YearlyPageModel& model) : CTypePage(IDD_YEARLY_PAGE, model) {}

bool CTypePage::OnInitDialog() {
    model_.Show(*this);
    return false;  // the editor decides where the focus goes
}

bool CTypePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
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
