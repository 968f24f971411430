#include "platform/autorun_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/temp_dir.h"

namespace {
class XdgConfigHome {
  public:
    explicit XdgConfigHome(const std::string& folder) {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        had_ = old != nullptr;
        old_ = had_ ? old : "";
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    ~XdgConfigHome() {
        if (had_) {
            setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
    }

  private:
    bool had_;
    std::string old_;
};
}  // namespace

TEST(XdgAutostart, WritesReadsBackReplacesAndDeletes) {
    TempDir dir;
    XdgConfigHome home(dir.Path() + "config");
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
    XdgConfigHome home(dir.Path() + "config");
    EXPECT_FALSE(SystemAutorunStore().Write("Dovrin Suite Scheduler", "\"/x\" -server"));
    EXPECT_EQ(dir.Read("config"), "not a folder");
}
