// The real installer and uninstaller, run silently: install beside a product, start the
// program from there, let it register autorun, and uninstall while it runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/program_path.h"
#include "resources/resource_ids.h"
#include "tests/support/running_process_win.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace {

constexpr const char* kTitle = "Dovrin Lens Scheduler";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kEntryKey =
    std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kTitle;

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

    // /D takes the rest of the command line, blanks and all, unquoted.
    ASSERT_EQ(RunToEnd("\"" + SetupPath() + "\" /S /D=" + folder), 0);
    ASSERT_EQ(GetFileAttributesA(program.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName"), kTitle);
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

    // The uninstaller hands over to a copy of itself and returns at once: wait for its work.
    ASSERT_EQ(RunToEnd("\"" + uninstaller + "\" /S"), 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return GetFileAttributesA(uninstaller.c_str()) == INVALID_FILE_ATTRIBUTES &&
                   ReadText(HKEY_LOCAL_MACHINE, kEntryKey, "DisplayName") == "(none)";
        },
        30000));
    // Ended by its Shutdown command, not killed.
    EXPECT_TRUE(running.WaitExit(5000));
    EXPECT_EQ(running.ExitCode(), 0u);
    EXPECT_EQ(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, kTitle), "(none)");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kRunKey, kTitle), foreign);
    EXPECT_EQ(dir.Read("Dovrin Lens\\Scheduler.cfg"), schedules);
    EXPECT_TRUE(dir.Exists("Dovrin Lens\\dovlens.exe"));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kTitle);
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
