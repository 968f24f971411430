#include "ui/schedule_dlg.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "app/product_variant.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kCommonControls[] = {IDC_EDITOR_TITLE_LABEL, IDC_EDITOR_TITLE,  IDC_EDITOR_FILE_LABEL,
                                   IDC_EDITOR_FILE,        IDC_EDITOR_BROWSE, IDC_EDITOR_GROUP,
                                   IDC_EDITOR_TYPE_LABEL,  IDC_EDITOR_TYPE};
constexpr int kParameterControls[] = {IDC_EDITOR_PARAMETERS_LABEL, IDC_EDITOR_PARAMETERS};

// Where a page's top-left corner goes, in pixels of the editor's client area, for the
// dialog font the layout was drawn with (6 by 13 pixels a character).
constexpr int kPageLeft = 22;
constexpr int kPageTop = 135;
constexpr int kDesignCharWidth = 6;
constexpr int kDesignCharHeight = 13;

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

// Puts the dialog over the middle of its owner, kept inside the owner's monitor.
void CenterOnOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT area{};
    RECT box{};
    MONITORINFO monitor{sizeof(monitor)};
    if (owner == nullptr || !IsWindowVisible(owner) || !GetWindowRect(owner, &area) ||
        !GetWindowRect(dialog, &box) ||
        !GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// -1 for no selection, and for a list that does not exist (a page that could not be created).
int ListSelection(HWND list) {
    return list != nullptr ? static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)) : -1;
}

}  // namespace

CScheduleDlg::CScheduleDlg(ScheduleEditorModel& model)
    : Dialog(IDD_SCHEDULE_EDITOR),
      model_(model),
      once_(model.once),
      hourly_(model.hourly),
      daily_(model.daily),
      weekly_(model.weekly),
      monthly_(model.monthly),
      yearly_(model.yearly),
      pages_{&once_, &hourly_, &daily_, &weekly_, &monthly_, &yearly_} {}

bool CScheduleDlg::OnInitDialog() {
    CenterOnOwner(Handle());
    HWND types = GetDlgItem(Handle(), IDC_EDITOR_TYPE);
    for (const char* name : kScheduleTypeNames) {
        SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    model_.NormaliseEnable();
    writeFields();
    SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(PageIndexForType(model_.initialType)), 0);
    for (CTypePage* page : pages_) {
        if (page->CreateChild(Handle())) {
            placePage(*page);
        }
    }
    currentPage_ = nullptr;
    ShowTypePage(model_.initialType, model_.enable != 0);
    applyEnablingRules();
    HWND title = GetDlgItem(Handle(), IDC_EDITOR_TITLE);
    SetFocus(IsWindowEnabled(title) ? title : GetDlgItem(Handle(), IDC_EDITOR_ENABLE));
    return false;
}

void CScheduleDlg::placePage(CTypePage& page) {
    // The position scales with the dialog font, so the page stays inside the group box
    // whatever font the system gave the dialog.
    RECT unit{0, 0, 4, 8};
    MapDialogRect(Handle(), &unit);
    int x = MulDiv(kPageLeft, unit.right, kDesignCharWidth);
    int y = MulDiv(kPageTop, unit.bottom, kDesignCharHeight);
    SetWindowPos(page.Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CScheduleDlg::ShowTypePage(int type, bool shown) {
    if (currentPage_ != nullptr && currentPage_->Handle() != nullptr) {
        ShowWindow(currentPage_->Handle(), SW_HIDE);
    }
    int index = PageIndexForType(type);
    currentPage_ = index >= 0 ? pages_[index] : nullptr;
    if (currentPage_ != nullptr && shown && currentPage_->Handle() != nullptr) {
        ShowWindow(currentPage_->Handle(), SW_SHOW);
    }
}

void CScheduleDlg::readFields() {
    model_.title = WindowText(GetDlgItem(Handle(), IDC_EDITOR_TITLE));
    model_.file = WindowText(GetDlgItem(Handle(), IDC_EDITOR_FILE));
    model_.parameters = WindowText(GetDlgItem(Handle(), IDC_EDITOR_PARAMETERS));
    model_.enable = IsDlgButtonChecked(Handle(), IDC_EDITOR_ENABLE) == BST_CHECKED ? 1 : 0;
}

void CScheduleDlg::writeFields() {
    SetDlgItemTextA(Handle(), IDC_EDITOR_TITLE, model_.title.c_str());
    SetDlgItemTextA(Handle(), IDC_EDITOR_FILE, model_.file.c_str());
    SetDlgItemTextA(Handle(), IDC_EDITOR_PARAMETERS, model_.parameters.c_str());
    // A stored 2 is switched on for the schedule, so the two-state box shows it ticked.
    CheckDlgButton(Handle(), IDC_EDITOR_ENABLE, model_.enable != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void CScheduleDlg::applyEnablingRules() {
    EditorEnabling rules = EnablingRules(model_.enable, ActiveVariant().parametersFlag);
    for (int id : kCommonControls) {
        EnableWindow(GetDlgItem(Handle(), id), rules.common);
    }
    for (int id : kParameterControls) {
        EnableWindow(GetDlgItem(Handle(), id), rules.parameters);
    }
}

void CScheduleDlg::onEnableClicked() {
    readFields();
    if (currentPage_ != nullptr) {
        ShowWindow(currentPage_->Handle(), model_.enable != 0 ? SW_SHOW : SW_HIDE);
    }
    applyEnablingRules();
}

void CScheduleDlg::onBrowse() {
    // The filter's items are separated by "|" in the product table and by NULs here.
    std::string filter = ActiveVariant().fileFilter;
    for (char& c : filter) {
        if (c == '|') {
            c = '\0';
        }
    }
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof(path);
    // The process's current folder stays where it was: nothing should hold the user's.
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog)) {
        return;
    }
    // A title typed but not yet confirmed must survive the new file name.
    readFields();
    model_.file = path;
    writeFields();
}

void CScheduleDlg::onOk() {
    readFields();
    if (model_.title.empty()) {
        MessageBoxA(Handle(), "Please enter a Title", kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
        HWND title = GetDlgItem(Handle(), IDC_EDITOR_TITLE);
        if (IsWindowEnabled(title)) {
            SetFocus(title);
            SendMessageA(title, EM_SETSEL, 0, -1);
        }
        return;
    }
    model_.type = ListSelection(GetDlgItem(Handle(), IDC_EDITOR_TYPE));
    PageControls* controls[kPageCount];
    for (int i = 0; i < kPageCount; ++i) {
        controls[i] = pages_[i]->Handle() != nullptr ? &pages_[i]->Controls() : nullptr;
    }
    if (!model_.ReadBackPages(controls)) {
        return;
    }
    result_ = model_.BuildResult(ListSelection(GetDlgItem(weekly_.Handle(), IDC_PAGE_LIST)),
                                 ListSelection(GetDlgItem(yearly_.Handle(), IDC_PAGE_LIST)));
    readFields();
    EndModal(IDOK);
}

bool CScheduleDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
    if (message != WM_COMMAND) {
        return false;
    }
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    switch (id) {
        case IDOK:
            onOk();
            return true;
        case IDCANCEL:
            EndModal(IDCANCEL);
            return true;
        case IDC_EDITOR_TYPE:
            if (code == CBN_SELCHANGE) {
                ShowTypePage(ListSelection(GetDlgItem(Handle(), IDC_EDITOR_TYPE)),
                             model_.enable != 0);
            }
            return true;
        case IDC_EDITOR_ENABLE:
            if (code == BN_CLICKED) {
                onEnableClicked();
            }
            return true;
        case IDC_EDITOR_BROWSE:
            if (code == BN_CLICKED) {
                onBrowse();
            }
            return true;
        default:
            return false;
    }
}
