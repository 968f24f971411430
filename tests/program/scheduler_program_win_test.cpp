// Starts the real Scheduler.exe in a folder of its own and watches it from outside: its
// window, its exit, the companion it starts and its tray icon.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/program_path.h"
#include "resources/resource_ids.h"
#include "tests/support/env.h"
#include "tests/support/running_process_win.h"
#include "tests/support/schedule.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace {

// The variant the test folder makes active: its executable lies beside the program.
constexpr const char* kCompanion = "dovdepot.exe";
constexpr const char* kTitle = "Dovrin Depot Scheduler";
constexpr const char* kProduct = "Dovrin Depot";

// The command line of the program with its arguments.
std::string Line(const std::string& program, const std::string& arguments) {
    return "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
}

HWND MainWindow() {
    return FindWindowA(nullptr, kTitle);
}

// The view: the form inside the main window, owner of the tray icon and the popup menus.
HWND ViewOf(HWND frame) {
    return FindWindowExA(frame, nullptr, MAKEINTATOM(32770), nullptr);
}

// Whether the notification area holds the view's icon: changing nothing in it succeeds
// only while it is there. Needs a tray host (a Wine desktop with a taskbar).
bool TrayHasIconOf(HWND owner) {
    NOTIFYICONDATAA probe{};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = owner;
    probe.uID = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != 0;
}

bool TrayHostPresent() {
    return FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
}

class SchedulerProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        char appData[MAX_PATH] = {};
        SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
        std::string dataFile = std::string(appData) + "\\" + kProduct + "\\Scheduler.cfg";
        if (GetFileAttributesA(dataFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
            GTEST_SKIP() << dataFile << " exists and would be loaded instead of the test's file";
        }
        journal_ = dataFile.substr(0, dataFile.size() - 3) + "log";
        DeleteFileA(journal_.c_str());
        ASSERT_EQ(MainWindow(), nullptr) << "another " << kTitle << " is running";
        ASSERT_TRUE(CopyFileA((FolderOf(ProgramPath()) + "Scheduler.exe").c_str(),
                              folder_.File("Scheduler.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(StubProgramPath().c_str(), folder_.File(kCompanion).c_str(), FALSE));
        SetStubLog(folder_.File("stub.log"));
    }

    std::string Program() const { return folder_.File("Scheduler.exe"); }

    TempDir folder_;
    std::string journal_;
};

TEST_F(SchedulerProgramTest, QuietStartWithNoSchedulesEndsWithoutAWindow) {
    for (const char* sw : {"-server", "/SERVER", "-Server"}) {
        RunningProcess quiet(Line(Program(), sw));
        ASSERT_TRUE(quiet.Started());
        EXPECT_TRUE(quiet.WaitExit(15000)) << sw;
        EXPECT_EQ(quiet.ExitCode(), 0u) << sw;
        EXPECT_EQ(MainWindow(), nullptr) << sw;
    }
}

TEST_F(SchedulerProgramTest, SecondStartBringsTheFirstWindowForwardAndEnds) {
    folder_.Write("Scheduler.cfg",
                  ScheduleFileHeader() + ScheduleSection("Far", "C:\\far.dvp", 0,
                                                         std::tm{.tm_mday = 1, .tm_year = 199}));
    RunningProcess first(Line(Program(), ""));
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(
        WaitUntil([] { return MainWindow() != nullptr && IsWindowVisible(MainWindow()); }, 15000));
    HWND window = MainWindow();
    ShowWindow(window, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, 5000));

    RunningProcess second(Line(Program(), ""));
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitExit(15000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 5000));
    EXPECT_FALSE(first.WaitExit(0));
    // Only one main window: the second start made none of its own that stayed.
    EXPECT_EQ(FindWindowExA(nullptr, window, nullptr, kTitle), nullptr);

    PostMessageA(ViewOf(window), WM_COMMAND, ID_APP_SHUTDOWN, 0);
    EXPECT_TRUE(first.WaitExit(15000));
    EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(SchedulerProgramTest, QuietStartRunsHiddenStartsDueSchedulesAndShutsDownFromTheTray) {
    folder_.Write(
        "Scheduler.cfg",
        ScheduleFileHeader() + ScheduleSection("Soon", "C:\\Work\\soon.dvp", 0, LocalIn(4)));
    RunningProcess server(Line(Program(), "/SERVER"));
    ASSERT_TRUE(server.Started());
    ASSERT_TRUE(WaitUntil([] { return MainWindow() != nullptr; }, 15000));
    HWND window = MainWindow();
    HWND view = ViewOf(window);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    // A second quiet start (a second Run value) ends at once and starts nothing.
    RunningProcess again(Line(Program(), "-server"));
    ASSERT_TRUE(again.Started());
    EXPECT_TRUE(again.WaitExit(15000));
    EXPECT_EQ(again.ExitCode(), 0u);
    // Started by the autorun command: its menu item shows the check mark.
    HMENU scheduleMenu = GetSubMenu(GetMenu(window), 1);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(scheduleMenu), 1);
    EXPECT_TRUE(GetMenuState(scheduleMenu, ID_AUTORUN, MF_BYCOMMAND) & MF_CHECKED);
    bool tray = TrayHostPresent();
    std::printf("tray host: %s\n", tray ? "yes" : "no (the icon is not checked)");
    if (tray) {
        EXPECT_TRUE(WaitUntil([&] { return TrayHasIconOf(view); }, 5000));
    }

    std::vector<StubRecord> started = WaitForStubLog(folder_.File("stub.log"), 1, 20000);
    ASSERT_EQ(started.size(), 1u);
    ASSERT_EQ(started[0].args.size(), 3u);
    EXPECT_EQ(started[0].args[1], "-process");
    EXPECT_EQ(started[0].args[2], "C:\\Work\\soon.dvp");
    EXPECT_EQ(WaitForStubLog(folder_.File("stub.log"), 2, 2000).size(), 1u);
    const std::string kLine =
        "\tstarted\tdue\tSoon\tdovdepot.exe -process \"C:\\Work\\soon.dvp\"\r\n";
    // The program's start, then the schedule's, each after its 25-character time.
    EXPECT_TRUE(WaitUntil(
        [&] {
            std::ifstream in(journal_, std::ios::binary);
            const std::string text(std::istreambuf_iterator<char>(in), {});
            return text.find("\tprogram started\r\n") == 25 && text.find(kLine) == 25 + 18 + 25;
        },
        5000));
    EXPECT_FALSE(server.WaitExit(0));

    // The tray menu, opened as the right button does, and its "&Shut Down" chosen by key.
    PostMessageA(view, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    bool opened = WaitUntil(
        [&] {
            menu = FindWindowA(MAKEINTATOM(32768), nullptr);
            return menu != nullptr && IsWindowVisible(menu);
        },
        5000);
    if (opened) {
        PostMessageA(menu, WM_KEYDOWN, 'S', 0);
        PostMessageA(menu, WM_CHAR, 's', 0);
    }
    bool byMenu = opened && server.WaitExit(5000);
    std::printf("tray menu: %s\n", byMenu ? "Shut Down chosen in the menu" : "command posted");
    if (!byMenu) {
        // Some window managers keep the menu from the keys; its command is the same.
        PostMessageA(view, WM_COMMAND, ID_APP_SHUTDOWN, 0);
    }
    EXPECT_TRUE(server.WaitExit(15000));
    EXPECT_EQ(server.ExitCode(), 0u);
    if (tray) {
        EXPECT_FALSE(TrayHasIconOf(view));
    }
}

// The product's executable missing beside the program (uninstalled, or the program copied
// elsewhere): one of its name planted in the current folder and along PATH is never started,
// due or by hand, and both starts are journalled as failed.
TEST_F(SchedulerProgramTest, MissingProductIsNeverLookedForAlongTheSearchPath) {
    // With no product beside it the program serves the first one.
    ASSERT_TRUE(DeleteFileA(folder_.File(kCompanion).c_str()));
    char appData[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE);
    const std::string data = std::string(appData) + "\\Dovrin Suite\\";
    if (GetFileAttributesA((data + "Scheduler.cfg").c_str()) != INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << data << "Scheduler.cfg exists and would be loaded instead";
    }
    DeleteFileA((data + "Scheduler.log").c_str());
    TempDir planted;
    ASSERT_TRUE(CopyFileA(StubProgramPath().c_str(), planted.File("dovsuite.exe").c_str(), FALSE));
    folder_.Write("Scheduler.cfg",
                  ScheduleFileHeader() + ScheduleSection("Soon", "C:\\soon.dvp", 0, LocalIn(3)));
    char path[32767] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    ScopedEnv searched("PATH", (planted.Path() + ";" + path).c_str());
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    SetCurrentDirectoryA(planted.Path().c_str());
    RunningProcess server(Line(Program(), "-server"));
    SetCurrentDirectoryA(current);
    ASSERT_TRUE(server.Started());
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (window = FindWindowA(nullptr, "Dovrin Suite Scheduler")) != nullptr; },
        15000));
    PostMessageA(ViewOf(window), WM_COMMAND, ID_SCHEDULE_RUN, 0);
    // A line "<time>\tfailed: <reason>\t<how>\tSoon\t<command line>".
    auto journalled = [&](const char* how) {
        std::ifstream in(data + "Scheduler.log", std::ios::binary);
        std::string text(std::istreambuf_iterator<char>(in), {});
        size_t at =
            text.find(std::string("\t") + how + "\tSoon\tdovsuite.exe -process \"C:\\soon.dvp\"\r\n");
        if (at == std::string::npos) {
            return false;
        }
        size_t start = text.rfind('\n', at);
        start = start == std::string::npos ? 0 : start + 1;
        return text.substr(start, at - start).find("\tfailed: ") != std::string::npos;
    };
    EXPECT_TRUE(WaitUntil([&] { return journalled("by hand") && journalled("due"); }, 10000));
    EXPECT_TRUE(ReadStubLog(folder_.File("stub.log")).empty());
    PostMessageA(ViewOf(window), WM_COMMAND, ID_APP_SHUTDOWN, 0);
    EXPECT_TRUE(server.WaitExit(15000));
    DeleteFileA((data + "Scheduler.log").c_str());
    RemoveDirectoryA(data.c_str());
}

}  // namespace
