#include "platform/process_start.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/program_path.h"
#include "platform/system_error.h"
#include "tests/support/env.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"

// The stub lies in the test program's own folder, where a bare name is looked for first.
TEST(StartProcess, BareNameStartsFromTheProgramFolderWithGroupedArguments) {
    TempDir dir;
    std::string log = dir.File("starts.log");
    SetStubLog(log);
    std::string exe = std::string("companion_stub") + ExeSuffix();
    ASSERT_TRUE(StartProcess(exe + " -x 5 \"" + dir.Path() + "my work.dvs\""));
    std::vector<StubRecord> records = WaitForStubLog(log, 1, 10000);
    ASSERT_EQ(records.size(), 1u);
#ifdef _WIN32
    // The full path goes as the application name only: the product reads the line unchanged.
    EXPECT_EQ(records[0].line, exe + " -x 5 \"" + dir.Path() + "my work.dvs\"");
#endif
    ASSERT_EQ(records[0].args.size(), 4u);
    EXPECT_EQ(records[0].args[1], "-x");
    EXPECT_EQ(records[0].args[2], "5");
    EXPECT_EQ(records[0].args[3], dir.Path() + "my work.dvs");
}

TEST(StartProcess, MissingProgramIsRefused) {
    const char* lines[] = {"no-such-program-7f3a.exe -process \"x\"", "", "   "};
    for (const char* line : lines) {
        EXPECT_FALSE(StartProcess(line)) << line;
    }
    EXPECT_FALSE(StartProcess("\"\" -process \"x\""));
    EXPECT_EQ(LastSystemError(), 2);  // ENOENT, ERROR_FILE_NOT_FOUND
}

// A program of the name planted in the current folder or along PATH is never started instead.
TEST(StartProcess, BareNameIsNeverSearchedForOutsideTheProgramFolder) {
    TempDir dir;
    std::string log = dir.File("starts.log");
    SetStubLog(log);
    std::string exe = std::string("planted-7f3a") + ExeSuffix();
    std::filesystem::copy_file(StubProgramPath(), dir.File(exe));
    ScopedEnv path("PATH", dir.Path().c_str());
    std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    bool started = StartProcess(exe + " -process \"x\"");
    std::filesystem::current_path(saved);
    EXPECT_FALSE(started);
    EXPECT_TRUE(WaitForStubLog(log, 1, 1000).empty());
}

TEST(FolderOf, CutsAfterTheLastSeparator) {
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Program Files\\Dovrin\\Scheduler.exe", "C:\\Program Files\\Dovrin\\"},
        {"/opt/dovrin/scheduler", "/opt/dovrin/"},
        {"C:\\mixed/sep\\x.exe", "C:\\mixed/sep\\"},
        {"bare.exe", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    }
}
