#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

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

enum class Step { Create, KeepAccess, Write, Flush, Close, KeepCopy, Replace };

// The system's store that kills its own process right after one step.
class KillingStore final : public PassThroughStore {
public:
    explicit KillingStore(Step after) : after_(after) {}
    Handle Create(const std::string& p) override {
        return done(Step::Create, PassThroughStore::Create(p));
    }
    bool KeepAccess(Handle f, const std::string& p) override {
        return done(Step::KeepAccess, PassThroughStore::KeepAccess(f, p));
    }
    bool Write(Handle f, const char* d, std::size_t n) override {
        return done(Step::Write, PassThroughStore::Write(f, d, n));
    }
    bool Flush(Handle f) override { return done(Step::Flush, PassThroughStore::Flush(f)); }
    bool Close(Handle f) override { return done(Step::Close, PassThroughStore::Close(f)); }
    bool KeepCopy(const std::string& p, const std::string& c) override {
        return done(Step::KeepCopy, PassThroughStore::KeepCopy(p, c));
    }
    bool Replace(const std::string& a, const std::string& b) override {
        return done(Step::Replace, PassThroughStore::Replace(a, b));
    }

private:
    template <typename T>
    T done(Step step, T result) {
        if (step == after_) {
            ::raise(SIGKILL);
        }
        return result;
    }
    Step after_;
};

// A save after a damaged file, killed for real after each of its steps: the file's name
// always holds the damaged bytes or the new ones, and the next save clears what the kills
// left behind.
TEST(SafeSavePosix, KillAtAnyStepNeverLeavesTheNameEmpty) {
    TempDir dir;
    const std::string damaged = "damaged";
    std::deque<Item> items{{"new", 2}};
    SettingsSection section{"Item", kItemKeys, 2,
                            [&](SettingsOp op, std::int32_t i, std::int32_t* out) -> void* {
                                if (op == OpCount) {
                                    *out = static_cast<std::int32_t>(items.size());
                                }
                                return op == OpRecord ? &items[static_cast<size_t>(i)] : nullptr;
                            }};
    const std::string fresh = Crlf(TestHeader() + "\n[Item]\nname=\"new\"\ncount=2\n");
    std::string leftover;
    // The last kill leaves a temporary file for the final save to clear.
    for (Step step : {Step::Replace, Step::KeepCopy, Step::Close, Step::Flush, Step::Write,
                      Step::KeepAccess, Step::Create}) {
        SCOPED_TRACE(static_cast<int>(step));
        dir.Write("a.cfg", damaged);
        ::unlink(dir.File("a.cfg.bad").c_str());
        pid_t child = ::fork();
        if (child == 0) {
            KillingStore store(step);
            SettingsFile file("Test", 1.0, &section, 1, store);
            file.KeepPreviousFileOnce(dir.File("a.cfg.bad"));
            file.SaveAs(nullptr, dir.File("a.cfg"), false);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(dir.Read("a.cfg"), step == Step::Replace ? fresh : damaged);
        EXPECT_EQ(dir.Exists("a.cfg." + std::to_string(child) + ".tmp"), step != Step::Replace);
        leftover = "a.cfg." + std::to_string(child) + ".tmp";
        bool kept = step == Step::KeepCopy || step == Step::Replace;
        EXPECT_EQ(dir.Exists("a.cfg.bad"), kept);
        if (kept) {
            EXPECT_EQ(dir.Read("a.cfg.bad"), damaged);
        }
    }
    auto count = [&] {
        return std::distance(std::filesystem::directory_iterator(dir.Path()),
                             std::filesystem::directory_iterator());
    };
    ASSERT_TRUE(dir.Exists(leftover));
    dir.Write("a.cfg", damaged);
    SettingsFile file("Test", 1.0, &section, 1, SystemFileStore());
    file.KeepPreviousFileOnce(dir.File("a.cfg.bad"));
    EXPECT_TRUE(file.SaveAs(nullptr, dir.File("a.cfg"), false));
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(dir.Read("a.cfg.bad"), damaged);
}

// A save keeps the mode of the file it replaces and writes through a symbolic link.
TEST(SafeSavePosix, KeepsModeAndLink) {
    TempDir dir;
    dir.MakeFolder("real");
    dir.Write("real/target.cfg", "old");
    ::chmod(dir.File("real/target.cfg").c_str(), 0600);
    ASSERT_EQ(::symlink("real/target.cfg", dir.File("link.cfg").c_str()), 0);
    TestSettings settings;
    settings.items = {{"x", 1}};
    ASSERT_TRUE(settings.File().SaveAs(nullptr, dir.File("link.cfg"), false));
    struct stat st;
    ASSERT_EQ(::lstat(dir.File("link.cfg").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(dir.File("real/target.cfg").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_NE(dir.Read("real/target.cfg").find("name=\"x\""), std::string::npos);
}

// Anything but a regular file is a file that cannot be opened, at once.
TEST(SafeSavePosix, ReaderRefusesWhatIsNoRegularFile) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.File("zero").c_str()), 0);
    dir.MakeFolder("folder");
    for (const char* name : {"fifo", "zero", "folder"}) {
        SCOPED_TRACE(name);
        Reports reports;
        TestSettings settings;
        EXPECT_FALSE(settings.File().Load(nullptr, dir.File(name), 0));
        EXPECT_TRUE(reports.Has("Cannot open file '" + dir.File(name) + "'"));
    }
}

}  // namespace
