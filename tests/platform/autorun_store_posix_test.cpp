#include "platform/autorun_store.h"
#include "platform/escaped_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/env.h"
#include "tests/support/temp_dir.h"

TEST(XdgAutostart, WritesReadsBackReplacesAndDeletes) {
    TempDir dir;
    ScopedEnv home("XDG_CONFIG_HOME", dir.File("config").c_str());
    AutorunStore& store = SystemAutorunStore();
    const std::string command = "\"/opt/my tools/scheduler\" -server";

    ASSERT_TRUE(store.Write("Dovrin Suite Scheduler", command));
    std::string entry = dir.Read("config/autostart/Dovrin Suite Scheduler.desktop");
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=" + command + "\n"), std::string::npos);
    EXPECT_NE(entry.find("\nName=Dovrin Suite Scheduler\n"), std::string::npos);

    std::string read;
    ASSERT_TRUE(store.Read("Dovrin Suite Scheduler", read));
    EXPECT_EQ(read, command);
    // Each product has its own entry.
    EXPECT_FALSE(store.Read("Dovrin Lens Scheduler", read));

    ASSERT_TRUE(store.Write("Dovrin Suite Scheduler", "\"/new\" -server"));
    ASSERT_TRUE(store.Read("Dovrin Suite Scheduler", read));
    EXPECT_EQ(read, "\"/new\" -server");

    EXPECT_TRUE(store.Delete("Dovrin Suite Scheduler"));
    EXPECT_FALSE(store.Read("Dovrin Suite Scheduler", read));
    // Deleting what is not there is harmless.
    EXPECT_FALSE(store.Delete("Dovrin Suite Scheduler"));
}

TEST(XdgAutostart, UnwritableFolderFailsAndKeepsNothingHalfWritten) {
    TempDir dir;
    // A file where the configuration folder should be.
    dir.Write("config", "not a folder");
    ScopedEnv home("XDG_CONFIG_HOME", dir.File("config").c_str());
    EXPECT_FALSE(SystemAutorunStore().Write("Dovrin Suite Scheduler", "\"/x\" -server"));
    EXPECT_EQ(dir.Read("config"), "not a folder");
    // A folder in the entry's place: the write fails and leaves no temporary file.
    home.Set(dir.File("xdg").c_str());
    dir.MakeFolder("xdg");
    dir.MakeFolder("xdg/autostart");
    dir.MakeFolder("xdg/autostart/S.desktop");
    dir.Write("xdg/autostart/S.desktop/x", "");
    EXPECT_FALSE(SystemAutorunStore().Write("S", "\"/x\" -server"));
    EXPECT_FALSE(dir.Exists("xdg/autostart/S.desktop.tmp"));
    // A full disk: the write fails before the entry is replaced.
    struct stat full;
    if (::stat("/dev/full", &full) == 0 && S_ISCHR(full.st_mode)) {
        ASSERT_EQ(::symlink("/dev/full", dir.File("xdg/autostart/F.desktop.tmp").c_str()), 0);
        EXPECT_FALSE(SystemAutorunStore().Write("F", "\"/x\" -server"));
        EXPECT_FALSE(dir.Exists("xdg/autostart/F.desktop"));
    }
}

// A program path holding the characters an Exec= line gives a meaning must come back whole,
// not cut or expanded by the session that starts it.
TEST(XdgAutostart, EscapesWhatExecLinesInterpretAndReadsItBack) {
    TempDir dir;
    ScopedEnv home("XDG_CONFIG_HOME", dir.File("config").c_str());
    AutorunStore& store = SystemAutorunStore();
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/opt/my tools/scheduler", "\"/opt/my tools/scheduler\" -server"},
        {"/opt/$HOME/`id`/s", "\"/opt/\\\\$HOME/\\\\`id\\\\`/s\" -server"},
        {"/opt/a\\b/s", "\"/opt/a\\\\\\\\b/s\" -server"},
        {"/opt/say \"hi\"/s", "\"/opt/say \\\\\"hi\\\\\"/s\" -server"},
        {"/opt/100%f/s", "\"/opt/100%%f/s\" -server"},
        {"/opt/two\nlines/s", "\"/opt/two\\nlines/s\" -server"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string command = std::string("\"") + c.path + "\" -server";
        ASSERT_TRUE(store.Write("Dovrin Suite Scheduler", command));
        std::string entry = dir.Read("config/autostart/Dovrin Suite Scheduler.desktop");
        EXPECT_NE(entry.find(std::string("\nExec=") + c.exec + "\n"), std::string::npos) << entry;
        std::string read;
        ASSERT_TRUE(store.Read("Dovrin Suite Scheduler", read));
        EXPECT_EQ(read, command);
    }
    // Commands that do not begin with a quoted part had nothing escaped and come back as such.
    for (const char* command : {"/opt/a\\b/s -x \"c\\d\"", "\"/opt/a\\b/s -server", "\""}) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(store.Write("Dovrin Suite Scheduler", command));
        std::string read;
        ASSERT_TRUE(store.Read("Dovrin Suite Scheduler", read));
        EXPECT_EQ(read, command);
    }
    // A value that a person ended in a lone backslash keeps it.
    EXPECT_EQ(DesktopExecCommand("/opt/s\\"), "/opt/s\\");
}
