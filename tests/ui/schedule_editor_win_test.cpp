#include <windows.h>

#include <dlgs.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/autorun.h"
#include "engine/schedule_storage.h"
#include "resources/resource_ids.h"
#include "tests/support/memory_autorun_store.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/main_window_fixture.h"
#include "ui/schedule_dlg.h"

namespace {

// The real editor run by the real commands, over a data folder of the test's own.
class ScheduleEditorTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        TheScheduleStorage().SetFolders(data_.Path(), data_.Path());
        SetAutorunStore(&autorun_);
    }
    void TearDown() override {
        SetAutorunStore(nullptr);
        MainWindowTest::TearDown();
    }

    static CScheduleDlg& Editor(HWND dialog) {
        return *dynamic_cast<CScheduleDlg*>(Dialog::FromHandle(dialog));
    }
    static HWND PageItem(HWND dialog, int type, int id) {
        return GetDlgItem(Editor(dialog).PageWindow(type).Handle(), id);
    }
    static bool PageShown(HWND dialog, int type) {
        return IsWindowVisible(Editor(dialog).PageWindow(type).Handle()) != FALSE;
    }
    static void Press(HWND dialog, int id) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    static void ChooseType(HWND dialog, int type) {
        HWND list = GetDlgItem(dialog, IDC_EDITOR_TYPE);
        SendMessageA(list, CB_SETCURSEL, type, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_TYPE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    static std::vector<int> EnabledControls(HWND dialog) {
        std::vector<int> enabled;
        for (int id : {1015, 1001, 1002, 1016, 1003, 1004, 1013, 1005, 1017, 1018, 1010, 1, 2}) {
            if (IsWindowEnabled(GetDlgItem(dialog, id))) {
                enabled.push_back(id);
            }
        }
        return enabled;
    }
    // Keeps the message box's text and answers it.
    DialogScript::Action Answer(int button) {
        return [this, button](HWND box) {
            messages_.push_back(DialogScript::MessageText(box));
            Press(box, button);
        };
    }

    TempDir data_;
    MemoryAutorunStore autorun_;
    std::vector<std::string> messages_;
};

TEST_F(ScheduleEditorTest, AddChecksTheTitleAndEveryPageThenSavesAndRegisters) {
    DialogScript script;
    script.Then("Schedule", [&](HWND dialog) {
        EXPECT_TRUE(PageShown(dialog, Once));
        Press(dialog, IDOK);  // no title: the editor stays
        EXPECT_TRUE(IsWindowVisible(dialog));

        HWND enable = GetDlgItem(dialog, IDC_EDITOR_ENABLE);
        SendMessageA(enable, BM_CLICK, 0, 0);
        EXPECT_FALSE(PageShown(dialog, Once));
        EXPECT_EQ(EnabledControls(dialog), (std::vector<int>{IDC_EDITOR_ENABLE, IDOK, IDCANCEL}));
        SendMessageA(enable, BM_CLICK, 0, 0);
        EXPECT_TRUE(PageShown(dialog, Once));

        // 75 left on the Hourly page blocks OK on a Monthly schedule.
        SetDlgItemTextA(dialog, IDC_EDITOR_TITLE, "Month end");
        ChooseType(dialog, Hourly);
        HWND minutes = PageItem(dialog, Hourly, IDC_PAGE_NUMBER);
        SetWindowTextA(minutes, "75");
        ChooseType(dialog, Monthly);
        SetWindowTextA(PageItem(dialog, Monthly, IDC_PAGE_NUMBER), "31");
        Press(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(GetFocus(), minutes);
        SetWindowTextA(minutes, "15");
        Press(dialog, IDOK);
    });
    script.Then("Scheduler", Answer(IDOK)).Then("Scheduler", Answer(IDOK));
    Command(ID_SCHEDULE_ADD);

    EXPECT_EQ(messages_, (std::vector<std::string>{"Please enter a Title",
                                                   "Please enter an integer between 0 and 59."}));
    ASSERT_EQ(TheScheduleList().Count(), 1);
    EXPECT_EQ(Rows(), (std::vector<std::pair<std::string, std::string>>{{"Month end", ""}}));
    std::string file = data_.Read(ScheduleStorage::kFileName);
    EXPECT_NE(file.find("title=\"Month end\"\r\ntype=4\r\nday=31\r\n"), std::string::npos) << file;
    EXPECT_EQ(autorun_.entries.size(), 1u);
}

TEST_F(ScheduleEditorTest, CommandsChangeOnlyWhatTheUserConfirmed) {
    LoadSchedules({{"A", "a.dvs"}, {"B", "b.dvs"}, {"C", "c.dvs"}});
    ASSERT_TRUE(TheScheduleStorage().Save());
    const std::string saved = data_.Read(ScheduleStorage::kFileName);

    DialogScript add;
    add.Then("Schedule", [&](HWND dialog) { Press(dialog, IDCANCEL); });
    Command(ID_SCHEDULE_ADD);
    EXPECT_EQ(data_.Read(ScheduleStorage::kFileName), saved);
    EXPECT_TRUE(autorun_.entries.empty());

    SelectedScheduleIndex = 1;
    DialogScript change;
    change.Then("Schedule", [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_EDITOR_TITLE, "B2");
        Press(dialog, IDOK);
    });
    Command(ID_SCHEDULE_CHANGE);
    const std::vector<std::pair<std::string, std::string>> changed = {
        {"A", "a.dvs"}, {"B2", "b.dvs"}, {"C", "c.dvs"}};
    EXPECT_EQ(Rows(), changed);

    // No keeps the list; only the last removal ends the autorun registration.
    EnableAutorun();
    for (int answer : {IDNO, IDYES, IDYES, IDYES}) {
        SelectedScheduleIndex = 0;
        int before = TheScheduleList().Count();
        DialogScript remove;
        remove.Then("Scheduler", Answer(answer));
        Command(ID_SCHEDULE_REMOVE);
        EXPECT_EQ(TheScheduleList().Count(), answer == IDYES ? before - 1 : before);
        EXPECT_EQ(autorun_.entries.empty(), TheScheduleList().IsEmpty());
    }
}

TEST_F(ScheduleEditorTest, ShutDownDuringAModalRunChangesNothing) {
    LoadSchedules({{"Kept", "k.dvs"}});
    ASSERT_TRUE(TheScheduleStorage().Save());
    EnableAutorun();
    const std::string saved = data_.Read(ScheduleStorage::kFileName);
    const auto registered = autorun_.entries;
    // As the tray menu's Shut Down, or the installer, sends it while the window is open.
    auto shutDown = [&](HWND) { PostMessageA(frame_->Handle(), WM_COMMAND, ID_APP_SHUTDOWN, 0); };
    for (auto [command, caption] : {std::pair{ID_SCHEDULE_ADD, "Schedule"},
                                    {ID_SCHEDULE_CHANGE, "Schedule"},
                                    {ID_SCHEDULE_REMOVE, "Scheduler"}}) {
        SCOPED_TRACE(command);
        SelectedScheduleIndex = 0;
        DialogScript script;
        script.Then(caption, shutDown);
        Command(command);
        EXPECT_TRUE(QuitPosted());
        EXPECT_EQ(Rows(), (std::vector<std::pair<std::string, std::string>>{{"Kept", "k.dvs"}}));
        EXPECT_EQ(data_.Read(ScheduleStorage::kFileName), saved);
        EXPECT_EQ(autorun_.entries, registered);
    }
}

// With the DLL search kept to the system folder, as the program starts.
TEST_F(ScheduleEditorTest, BrowseKeepsTheTypedTitle) {
    RestrictDllSearch();
    data_.Write("site.dvs", "");
    DialogScript script;
    script
        .Then("Schedule",
              [&](HWND dialog) {
                  SetDlgItemTextA(dialog, IDC_EDITOR_TITLE, "Typed");
                  Press(dialog, IDC_EDITOR_BROWSE);
              })
        .Then("Open",
              [&](HWND open) {
                  SetDlgItemTextA(open, cmb13, data_.File("site.dvs").c_str());
                  SetDlgItemTextA(open, edt1, data_.File("site.dvs").c_str());
                  PostMessageA(open, WM_COMMAND, IDOK, 0);
              })
        .Then("Schedule", [&](HWND dialog) { Press(dialog, IDOK); });
    Command(ID_SCHEDULE_ADD);
    EXPECT_EQ(
        Rows(),
        (std::vector<std::pair<std::string, std::string>>{{"Typed", data_.File("site.dvs")}}));
}

// Refuses to create the editor's pages, as a system out of window resources would.
LRESULT CALLBACK RefusePages(int code, WPARAM window, LPARAM info) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(info)->lpcs;
        char parent[32] = {};
        GetWindowTextA(create->hwndParent, parent, sizeof(parent));
        if ((create->style & WS_CHILD) != 0 && std::string(parent) == "Schedule" &&
            IS_INTRESOURCE(create->lpszClass) && LOWORD(create->lpszClass) == 0x8002) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, window, info);
}

TEST_F(ScheduleEditorTest, MissingPagesGiveNoListPositions) {
    HHOOK hook = SetWindowsHookExA(WH_CBT, &RefusePages, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    for (int type : {Weekly, Yearly}) {
        DialogScript script;
        script.Then("Schedule", [&](HWND dialog) {
            EXPECT_EQ(Editor(dialog).PageWindow(type).Handle(), nullptr);
            SetDlgItemTextA(dialog, IDC_EDITOR_TITLE, "No page");
            ChooseType(dialog, type);
            Press(dialog, IDOK);
        });
        Command(ID_SCHEDULE_ADD);
    }
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(TheScheduleList().Count(), 2);
    EXPECT_EQ(TheScheduleList().EntryAt(0)->nday_week, -1);
    EXPECT_EQ(TheScheduleList().EntryAt(1)->month, -1);
}

TEST_F(ScheduleEditorTest, EnterInAPageRunsOkAndEscCancels) {
    ASSERT_TRUE(TheScheduleList().Append(MakeEntry(Weekly, 0, 0, 0, 6, 0, 0, 0, 2, "C:\\a.dvs")));
    TheScheduleList().EntryAt(0)->title = "Report";
    view_->RefreshScheduleList();
    SelectRowByClick(0);

    DialogScript change;
    change.Then("Schedule", [&](HWND dialog) {
        ChooseType(dialog, Hourly);
        HWND minutes = PageItem(dialog, Hourly, IDC_PAGE_NUMBER);
        SetWindowTextA(minutes, "30");
        // The command Enter makes inside the page, handed to the page itself.
        SendMessageA(Editor(dialog).PageWindow(Hourly).Handle(), WM_COMMAND, IDOK, 0);
    });
    Command(ID_SCHEDULE_CHANGE);
    ScheduleEntry expected = MakeEntry(Hourly, 0, 0, 0, 0, 30, 0, 0, 0, "C:\\a.dvs");
    expected.title = "Report";
    EXPECT_EQ(Fields(*TheScheduleList().EntryAt(0)), Fields(expected));
    EXPECT_NE(data_.Read(ScheduleStorage::kFileName).find("type=1\r\nmin=30"), std::string::npos);
    EXPECT_TRUE(autorun_.entries.empty());  // a change leaves autorun alone

    // A double click reaches the same command; Esc in the page leaves the entry as it was.
    DialogScript cancel;
    cancel.Then("Schedule", [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_EDITOR_TITLE, "Not kept");
        SendMessageA(Editor(dialog).PageWindow(Hourly).Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    NotifyFromList(NM_DBLCLK);
    EXPECT_EQ(Fields(*TheScheduleList().EntryAt(0)), Fields(expected));
}

TEST_F(ScheduleEditorTest, AFailedSaveKeepsTheChangeAndSaysWhy) {
    // The data folder would have to be made inside a plain file.
    data_.Write("blocker", "x");
    const std::string folder = data_.Path() + "blocker\\Dovrin Suite\\";
    TheScheduleStorage().SetFolders(folder, data_.Path());
    DialogScript add;
    add.Then("Schedule",
             [&](HWND dialog) {
                 SetDlgItemTextA(dialog, IDC_EDITOR_TITLE, "Kept");
                 Press(dialog, IDOK);
             })
        .Then("Scheduler", Answer(IDOK));
    Command(ID_SCHEDULE_ADD);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(folder + "Scheduler.cfg"), std::string::npos) << messages_[0];
    EXPECT_EQ(messages_[0].find("no reason"), std::string::npos) << messages_[0];
    EXPECT_EQ(Rows(), (std::vector<std::pair<std::string, std::string>>{{"Kept", ""}}));
    EXPECT_EQ(autorun_.entries.size(), 1u);

    // The next save that works writes what was kept; Remove asks first.
    TheScheduleStorage().SetFolders(data_.Path(), data_.Path());
    SelectedScheduleIndex = 5;  // names no entry: Yes saves the list unchanged
    DialogScript remove;
    remove.Then("Scheduler", Answer(IDYES));
    Command(ID_SCHEDULE_REMOVE);
    EXPECT_EQ(messages_.back(), "Remove the selection schedule?");
    EXPECT_NE(data_.Read(ScheduleStorage::kFileName).find("title=\"Kept\""), std::string::npos);
}

}  // namespace
