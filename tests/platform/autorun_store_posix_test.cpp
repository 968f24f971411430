#include "platform/autorun_store.h"

#include <gtest/gtest.h>

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
}
