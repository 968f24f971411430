// The real installer and uninstaller, run silently: install beside a product, start the
// program from there, let it register autorun, and uninstall while it runs.
#include <windows.h>

#include <objbase.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "platform/program_path.h"
#include "resources/resource_ids.h"
#include "tests/support/running_process_win.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace {

constexpr const char* kTitle = "Dovrin Lens Scheduler";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kEntries = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string SetupPath() {
    return FolderOf(ProgramPath()) + "..\\dist\\Scheduler-" SCHEDULER_VERSION "-setup.exe";
}

// A text value, or "(none)" when there is none.
std::string ReadText(HKEY root, const std::string& key, const char* name) {
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return "(none)";
    }
    return buffer;
}

void WriteText(HKEY root, const char* key, const char* name, const std::string& text) {
    RegSetKeyValueA(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::string Folder(const TempDir& dir, const char* name) {
    return dir.Path() + name;
}

// A product folder in the dir holding the stub under each of the names.
std::string ProductFolder(const TempDir& dir,
                          const char* name,
                          std::initializer_list<const char*> exes) {
    dir.MakeFolder(name);
    for (const char* exe : exes) {
        CopyFileA(StubProgramPath().c_str(), (Folder(dir, name) + "\\" + exe).c_str(), TRUE);
    }
    return Folder(dir, name);
}

long Install(const std::string& folder) {
    return RunToEnd("\"" + SetupPath() + "\" /S /D=" + folder);
}

// The Add/Remove Programs keys that name the folder.
std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> keys;
    HKEY root;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEntries, 0, KEY_READ, &root);
    char name[256];
    for (DWORD i = 0; RegEnumKeyA(root, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        const std::string key = std::string(kEntries) + "\\" + name;
        if (lstrcmpiA(ReadText(HKEY_LOCAL_MACHINE, key, "InstallLocation").c_str(),
                      folder.c_str()) == 0) {
            keys.push_back(key);
        }
    }
    RegCloseKey(root);
    return keys;
}

// Runs the quiet uninstall command of the folder's entry.
long Uninstall(const std::string& folder) {
    return RunToEnd(ReadText(HKEY_LOCAL_MACHINE, EntriesOf(folder).at(0), "QuietUninstallString"));
}

// The program's window once it has settled: shown, or for a server still hidden a second on.
HWND SettledWindow(bool server) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowA(nullptr, kTitle)) != nullptr; }, 20000);
    const bool shown =
        WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, server ? 1000 : 20000);
    return window != nullptr && shown != server ? window : nullptr;
}

// Whether the desktop shell offers its window list, through which the installer starts the
// program. Wine's explorer offers none when it came up before Wine's service manager answered.
bool ShellOffersWindows() {
    CLSID shellWindows;
    CLSIDFromString(L"{9BA05972-F6A8-11CF-A442-00A0C90A8F39}", &shellWindows);
    IUnknown* windows = nullptr;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(CoCreateInstance(shellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IUnknown),
                                   reinterpret_cast<void**>(&windows)))) {
        windows->Release();
    }
    CoUninitialize();
    return windows != nullptr;
}

// The file name of the program that started the one owning the window, "" when unknown.
std::string StarterOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    std::map<DWORD, std::pair<DWORD, std::string>> processes;  // parent and file by id
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        processes[entry.th32ProcessID] = {entry.th32ParentProcessID, entry.szExeFile};
    }
    CloseHandle(snapshot);
    return processes[processes[id].first].second;
}

// Whether the next restart removes the file: MoveFileEx queues "\??\" and its path, then an
// empty target.
bool RemovedAtRestart(const std::string& path) {
    std::string list(1 << 20, '\0');
    DWORD size = static_cast<DWORD>(list.size());
    RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                 "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, list.data(), &size);
    std::string entry = "\\??\\" + path + std::string(2, '\0');
    CharUpperBuffA(list.data(), size);
    CharUpperBuffA(entry.data(), static_cast<DWORD>(entry.size()));
    return list.find(entry) != std::string::npos;
}

}  // namespace

TEST(Installer, InstallsBesideTheProductAndUninstallsKeepingTheSchedules) {
    TempDir dir;
    dir.MakeFolder("Dovrin Lens");
    const std::string folder = Folder(dir, "Dovrin Lens");
    const std::string program = folder + "\\Scheduler.exe";
    ASSERT_TRUE(CopyFileA(StubProgramPath().c_str(), (folder + "\\dovlens.exe").c_str(), TRUE));
    const std::string schedules = "/** Scheduler **/\r\n\r\nFormatVersion=1.0\r\n";
    dir.Write("Dovrin Lens\\Scheduler.cfg", schedules);
    // Another copy's autorun value under the same name must survive this copy's uninstall.
    const std::string foreign = "\"C:\\Elsewhere\\Scheduler.exe\" -server";
    WriteText(HKEY_CURRENT_USER, kRunKey, kTitle, foreign);

    // An older installer's entry of this folder, keyed by the product alone, gives way.
    WriteText(HKEY_LOCAL_MACHINE, (std::string(kEntries) + "\\" + kTitle).c_str(),
              "InstallLocation", folder);

    // /D takes the rest of the command line, blanks and all, unquoted.
    ASSERT_EQ(RunToEnd("\"" + SetupPath() + "\" /S /D=" + folder), 0);
    ASSERT_EQ(GetFileAttributesA(program.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    ASSERT_EQ(EntriesOf(folder).size(), 1u);
    const std::string kEntryKey = EntriesOf(folder)[0];
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName"),
              std::string(kTitle) + " (" + folder + ")");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayVersion"), SCHEDULER_VERSION);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntryKey, "InstallLocation"), folder);
    const std::string uninstaller = folder + "\\Uninstall Scheduler.exe";
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntryKey, "UninstallString"),
              "\"" + uninstaller + "\"");

    // The program starts from there as the Lens scheduler and registers autorun.
    RunningProcess running("\"" + program + "\"");
    ASSERT_TRUE(running.Started());
    HWND window = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (window = FindWindowA(nullptr, kTitle)) != nullptr; }, 20000));
    SendMessageA(window, WM_COMMAND, ID_AUTORUN, 0);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, kTitle), "\"" + program + "\" -server");

    // The entry's quiet command returns the outcome: a program that does not answer is not
    // ended, and nothing is removed.
    HANDLE thread =
        OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window, nullptr));
    SuspendThread(thread);
    EXPECT_EQ(Uninstall(folder), 3);
    ResumeThread(thread);
    CloseHandle(thread);
    EXPECT_TRUE(dir.Exists("Dovrin Lens\\Uninstall Scheduler.exe"));
    // Run in place by the short name of its folder, the uninstaller's own file goes at the
    // next restart, queued under the name an install looks for. Nothing of it goes to TEMP,
    // where any program of the user could swap what it runs with administrator rights.
    char shortName[MAX_PATH], tmp[MAX_PATH], temp[MAX_PATH];
    GetShortPathNameA(folder.c_str(), shortName, MAX_PATH);
    GetEnvironmentVariableA("TMP", tmp, MAX_PATH);
    GetEnvironmentVariableA("TEMP", temp, MAX_PATH);
    dir.MakeFolder("temp");
    SetEnvironmentVariableA("TMP", Folder(dir, "temp").c_str());
    SetEnvironmentVariableA("TEMP", Folder(dir, "temp").c_str());
    EXPECT_EQ(
        RunToEnd("\"" + std::string(shortName) + "\\Uninstall Scheduler.exe\" /S _?=" + shortName),
        0);
    SetEnvironmentVariableA("TMP", tmp);
    SetEnvironmentVariableA("TEMP", temp);
    EXPECT_TRUE(RemoveDirectoryA(Folder(dir, "temp").c_str()));  // only when empty
    EXPECT_TRUE(EntriesOf(folder).empty());
    EXPECT_TRUE(RemovedAtRestart(uninstaller));
    // Ended by its Shutdown command, not killed.
    EXPECT_TRUE(running.WaitExit(0));
    EXPECT_EQ(running.ExitCode(), 0u);
    EXPECT_EQ(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, kTitle), "(none)");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRunKey, kTitle), foreign);
    EXPECT_EQ(dir.Read("Dovrin Lens\\Scheduler.cfg"), schedules);
    EXPECT_TRUE(dir.Exists("Dovrin Lens\\dovlens.exe"));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kTitle);
    // An install before that restart keeps the uninstaller it writes.
    ASSERT_EQ(Install(folder), 0);
    EXPECT_FALSE(RemovedAtRestart(uninstaller));
    EXPECT_EQ(Uninstall(folder), 0);
}

// A folder that holds no product executable is refused: the program could not work there.
TEST(Installer, RefusesAFolderWithoutTheProduct) {
    struct Case {
        const char* what;
        const char* folderInside;  // made inside the target folder, or null
        const char* fileInside;    // written inside it, or null
    };
    const Case cases[] = {
        {"an empty folder", nullptr, nullptr},
        {"a folder named like a product", "dovbase.exe", nullptr},
        {"another program only", nullptr, "other.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.MakeFolder("target");
        if (c.folderInside != nullptr) {
            dir.MakeFolder(std::string("target\\") + c.folderInside);
        }
        if (c.fileInside != nullptr) {
            dir.Write(std::string("target\\") + c.fileInside, "MZ");
        }
        const std::string folder = Folder(dir, "target");
        EXPECT_EQ(RunToEnd("\"" + SetupPath() + "\" /S /D=" + folder), 2);
        EXPECT_FALSE(dir.Exists("target\\Scheduler.exe"));
        EXPECT_FALSE(dir.Exists("target\\Uninstall Scheduler.exe"));
    }
}

// A copy that fails fails the install: no entry, the other folder's entry as it was.
TEST(Installer, FailsWithoutAnEntryWhenTheProgramCannotBeWritten) {
    TempDir dir;
    const std::string first = ProductFolder(dir, "first", {"dovlens.exe"});
    ASSERT_EQ(Install(first), 0);
    const std::string firstEntry = EntriesOf(first).at(0);
    const std::string name = ReadText(HKEY_LOCAL_MACHINE, firstEntry, "DisplayName");
    // Where the installer writes: a file held open, or a folder.
    const std::pair<const char*, bool> cases[] = {
        {"Scheduler.exe", true}, {"Scheduler.exe", false}, {"Uninstall Scheduler.exe", false}};
    for (const auto& [blocked, heldOpen] : cases) {
        SCOPED_TRACE(std::string(blocked) + (heldOpen ? " held open" : " a folder"));
        TempDir other;
        const std::string folder = ProductFolder(other, "second", {"dovlens.exe"});
        const std::string path = folder + "\\" + blocked;
        HANDLE held = INVALID_HANDLE_VALUE;
        if (heldOpen) {
            held = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        } else {
            CreateDirectoryA(path.c_str(), nullptr);
        }
        EXPECT_EQ(Install(folder), 4);
        CloseHandle(held);
        EXPECT_TRUE(EntriesOf(folder).empty());
        // What was written of a fresh install goes again.
        EXPECT_EQ(other.Exists("second\\Scheduler.exe"), std::string(blocked) == "Scheduler.exe");
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, firstEntry, "DisplayName"), name);
    }
    // A second folder of the same product gets an entry of its own; uninstalling one leaves
    // the other.
    const std::string second = ProductFolder(dir, "second", {"dovlens.exe"});
    ASSERT_EQ(Install(second), 0);
    ASSERT_EQ(EntriesOf(second).size(), 1u);
    EXPECT_NE(ReadText(HKEY_LOCAL_MACHINE, EntriesOf(second)[0], "DisplayName"), name);
    EXPECT_EQ(Uninstall(first), 0);
    EXPECT_TRUE(EntriesOf(first).empty());
    EXPECT_EQ(Uninstall(second), 0);
}

// An update ends the program however its folder is spelt, replaces it and starts it again as
// it ran: with its window shown, or behind its tray icon.
TEST(Installer, UpdatesTheRunningProgramUnderAnotherSpellingOfItsFolder) {
    TempDir dir;
    const std::string folder = ProductFolder(dir, "Dovrin Lens", {"dovlens.exe"});
    dir.Write("Dovrin Lens\\Scheduler.cfg", "FormatVersion=1.0\r\n[Schedule]\r\ntitle=\"a\"\r\n");
    ASSERT_EQ(Install(folder), 0);
    // Through Wine's Z: drive, as through a subst drive on Windows, and by the short name.
    std::string driveZ = "Z:" + std::string(getenv("WINEPREFIX")) + "/drive_c" + folder.substr(2);
    std::replace(driveZ.begin(), driveZ.end(), '/', '\\');
    char shortName[MAX_PATH];
    GetShortPathNameA(folder.c_str(), shortName, MAX_PATH);
    const struct {
        std::string runFrom, installTo;
        bool server;
    } cases[] = {{driveZ, folder, false}, {folder, shortName, true}};
    const bool shell = ShellOffersWindows();
    for (const auto& c : cases) {
        SCOPED_TRACE("run from " + c.runFrom + ", installed to " + c.installTo);
        RunningProcess running("\"" + c.runFrom + "\\Scheduler.exe\"" +
                               (c.server ? " -server" : ""));
        ASSERT_NE(SettledWindow(c.server), nullptr);
        EXPECT_EQ(Install(c.installTo), 0);
        EXPECT_TRUE(running.WaitExit(0));
        if (!shell) {
            // Nothing to start it as the user: nothing starts it.
            EXPECT_FALSE(WaitUntil([] { return FindWindowA(nullptr, kTitle) != nullptr; }, 2000));
            continue;
        }
        HWND again = SettledWindow(c.server);
        ASSERT_NE(again, nullptr);
        // Started by the desktop's shell as the user there, not with the installer's token.
        EXPECT_STRCASEEQ(StarterOf(again).c_str(), "explorer.exe");
        SendMessageA(again, WM_COMMAND, ID_APP_SHUTDOWN, 0);
        ASSERT_TRUE(WaitUntil([] { return FindWindowA(nullptr, kTitle) == nullptr; }, 10000));
    }
    EXPECT_EQ(Uninstall(folder), 0);
}

// In a folder of two products, the entry names the product the program serves there.
TEST(Installer, NamesTheProductTheProgramServesInAFolderOfTwo) {
    for (const char* other : {"dovsuite.exe", "dovdepot.exe"}) {
        TempDir dir;
        const std::string folder = ProductFolder(dir, "two", {"dovbase.exe", other});
        ASSERT_EQ(Install(folder), 0);
        std::string title = ReadText(HKEY_LOCAL_MACHINE, EntriesOf(folder).at(0), "DisplayName");
        title.resize(title.find(" ("));
        RunningProcess running("\"" + folder + "\\Scheduler.exe\"");
        HWND window = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (window = FindWindowA(nullptr, title.c_str())); }, 9000))
            << "the program is not the " << title << " beside " << other;
        SendMessageA(window, WM_COMMAND, ID_APP_SHUTDOWN, 0);
        running.WaitExit(10000);
        EXPECT_EQ(Uninstall(folder), 0);
    }
}
