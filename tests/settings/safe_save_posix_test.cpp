#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "tests/settings/test_schema.h"
#include "tests/support/temp_dir.h"

namespace {

// The system's own store, except that the temporary file is /dev/full: every write fails
// with ENOSPC as on a full disk.
class FullDiskStore final : public PassThroughStore {
public:
    Handle Create(const std::string&) override {
        int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        return fd < 0 ? kInvalid : fd;
    }
};

TEST(SafeSavePosix, FullDiskLeavesTheOldFile) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    TempDir dir;
    dir.Write("a.cfg", "old");
    FullDiskStore store;
    SettingsSection section{"Item", kItemKeys, 2, {}};
    SettingsFile file("Test", 1.0, &section, 1, store);
    EXPECT_FALSE(file.SaveAs(nullptr, dir.File("a.cfg"), false));
    EXPECT_EQ(dir.Read("a.cfg"), "old");
    EXPECT_EQ(file.LastError(), "No space left on device");
}

}  // namespace
