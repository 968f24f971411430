#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/settings/test_schema.h"
#include "tests/support/standard_input.h"
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

enum class Step { Create, Close, KeepCopy, Replace };

// The system's store that kills its own process right after one step.
class KillingStore final : public PassThroughStore {
public:
    using Base = PassThroughStore;
    explicit KillingStore(Step after) : after_(after) {}
    Handle Create(const std::string& p) override { return done(Step::Create, Base::Create(p)); }
    bool Close(Handle f) override { return done(Step::Close, Base::Close(f)); }
    bool KeepCopy(const std::string& p, const std::string& c) override {
        return done(Step::KeepCopy, Base::KeepCopy(p, c));
    }
    bool Replace(const std::string& a, const std::string& b) override {
        return done(Step::Replace, Base::Replace(a, b));
    }

private:
    template <typename T>
    T done(Step step, T result) {
        return step == after_ ? (::raise(SIGKILL), result) : result;
    }
    Step after_;
};

// A save after a damaged file, killed for real after each of its steps: the file's name
// always holds the damaged bytes or the new ones, and the next save clears what the kills
// left behind.
TEST(SafeSavePosix, KillAtAnyStepNeverLeavesTheNameEmpty) {
    TempDir dir;
    Item item{"new", 2};
    SettingsSection section{"Item", kItemKeys, 2, {}};
    std::string leftover;
    // The last kill leaves a temporary file for the final save to clear.
    for (Step step : {Step::Replace, Step::KeepCopy, Step::Close, Step::Create}) {
        SCOPED_TRACE(static_cast<int>(step));
        dir.Write("a.cfg", "damaged");
        ::unlink(dir.File("a.cfg.bad").c_str());
        KillingStore store(step);
        SettingsFile file("Test", 1.0, &section, 1, store);
        file.KeepPreviousFileOnce(dir.File("a.cfg.bad"));
        pid_t child = ::fork();
        if (child == 0) {
            file.SaveAs(&item, dir.File("a.cfg"), false);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        EXPECT_EQ(dir.Read("a.cfg"), step == Step::Replace ? file.Render(&item) : "damaged");
        EXPECT_EQ(dir.Exists("a.cfg.bad") ? dir.Read("a.cfg.bad") : "",
                  step >= Step::KeepCopy ? "damaged" : "");
        leftover = "a.cfg." + std::to_string(child) + ".tmp";
        EXPECT_EQ(dir.Exists(leftover), step != Step::Replace);
    }
    SettingsFile file("Test", 1.0, &section, 1, SystemFileStore());
    EXPECT_TRUE(file.SaveAs(&item, dir.File("a.cfg"), false));
    EXPECT_FALSE(dir.Exists(leftover));
}

// Only a temporary file of this name whose process is gone is cleared; one of a save still
// running elsewhere, and anything else, stays.
TEST(SafeSavePosix, LeftoversOfGoneProcessesOnly) {
    TempDir dir;
    const std::pair<std::string, bool> names[] = {
        {"a.cfg.999999999.tmp", false}, {"a.cfg." + std::to_string(::getpid()) + ".tmp", true},
        {"a.cfg..tmp", true},           {"a.cfg.99x.tmp", true},
        {"a.cfg.1000000000.tmp", true}, {"a.cfg.999999.tmq", true},
        {"b.cfg.999999.tmp", true},
    };
    for (const auto& [name, kept] : names) {
        dir.Write(name, "");
    }
    SystemFileStore().RemoveLeftovers(dir.File("a.cfg"));
    for (const auto& [name, kept] : names) {
        EXPECT_EQ(dir.Exists(name), kept) << name;
    }
}

// A folder made meanwhile by another process is as good as one made here; a file is not.
TEST(SafeSavePosix, CreateFolderOverWhatIsThere) {
    TempDir dir;
    dir.Write("file", "");
    EXPECT_TRUE(SystemFileStore().CreateFolder(dir.File("new")));
    EXPECT_TRUE(SystemFileStore().CreateFolder(dir.File("new")));
    EXPECT_FALSE(SystemFileStore().CreateFolder(dir.File("file")));
}

// A save keeps the mode of the file it replaces and writes through a symbolic link, but
// never into what is no regular file, which the reader refuses at once as a file that cannot
// be opened.
TEST(SafeSavePosix, OddFilesAndLinks) {
    TempDir dir;
    dir.MakeFolder("real");
    dir.Write("real/target.cfg", "old");
    ::chmod(dir.File("real/target.cfg").c_str(), 0600);
    ASSERT_EQ(::symlink("real/target.cfg", dir.File("link.cfg").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("link.cfg").c_str(), dir.File("absolute.cfg").c_str()), 0);
    ASSERT_TRUE(TestSettings().File().SaveAs(nullptr, dir.File("absolute.cfg"), false));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("absolute.cfg")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.cfg")));
    EXPECT_EQ(std::filesystem::status(dir.File("real/target.cfg")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_NE(dir.Read("real/target.cfg"), "old");

    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", dir.File("zero").c_str()), 0);
    for (const char* name : {"fifo", "zero", "real"}) {
        SCOPED_TRACE(name);
        Reports reports;
        EXPECT_FALSE(TestSettings().File().Load(nullptr, dir.File(name), 0));
        EXPECT_TRUE(reports.Has("Cannot open file '" + dir.File(name) + "'"));
    }
    ASSERT_EQ(::symlink("fifo", dir.File("to-fifo").c_str()), 0);
    EXPECT_TRUE(TestSettings().File().SaveAs(nullptr, dir.File("to-fifo"), false));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("fifo")));
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("to-fifo")));

    // Only a privileged process can give the new file the replaced file's owner.
    if (::geteuid() == 0 && ::chown(dir.File("real/target.cfg").c_str(), 4321, ::getegid()) == 0) {
        ASSERT_TRUE(TestSettings().File().SaveAs(nullptr, dir.File("link.cfg"), false));
        struct stat st;
        ASSERT_EQ(::stat(dir.File("real/target.cfg").c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 4321u);
    }
}

// Where a hard link cannot be made (another file system), the kept copy is a full copy with
// the same access rights.
TEST(SafeSavePosix, KeptCopyAcrossFileSystems) {
    TempDir dir;
    struct stat shm, here;
    if (::access("/dev/shm", W_OK) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        ::stat(dir.Path().c_str(), &here) != 0 || shm.st_dev == here.st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const std::string from = "/dev/shm/kept-copy-" + std::to_string(::getpid());
    const mode_t mask = ::umask(077);      // the copy's rights are the file's, not the mask's
    for (std::size_t size : {1, 70000}) {  // one byte; more than one read
        SCOPED_TRACE(size);
        std::string bytes(size, 'k');
        bytes[0] = 'a';
        { std::ofstream(from, std::ios::binary) << bytes; }
        ::chmod(from.c_str(), 0640);
        EXPECT_TRUE(SystemFileStore().KeepCopy(from, dir.File("a.bad")));
        EXPECT_EQ(dir.Read("a.bad"), bytes);
        EXPECT_EQ(std::filesystem::status(dir.File("a.bad")).permissions(),
                  std::filesystem::perms(0640));
    }
    ::umask(mask);
    ::unlink(from.c_str());
}

// A program started with its standard input closed is given descriptor 0 for a file.
TEST(SafeSavePosix, DescriptorZeroIsAFile) {
    TempDir dir;
    EXPECT_EQ(WithStandardInputClosed([&] { return SystemFileStore().Create(dir.File("a.cfg")); }),
              0);
}

// The schedules and the journal are the user's alone; a link planted at the temporary
// name by someone else is replaced, never written through.
TEST(SafeSavePosix, NewFilesArePrivateAndAPlantedLinkIsNotFollowed) {
    TempDir dir;
    dir.Write("victim", "kept");
    std::string target = dir.File("new.cfg");
    ASSERT_EQ(::symlink(dir.File("victim").c_str(), TemporaryPathFor(target).c_str()), 0);
    mode_t oldMask = ::umask(022);
    bool saved = TestSettings().File().SaveAs(nullptr, target, false);
    FileStore::Handle journal = SystemFileStore().OpenToAppend(dir.File("Scheduler.log"));
    ::umask(oldMask);
    ASSERT_TRUE(saved);
    ASSERT_NE(journal, FileStore::kInvalid);
    SystemFileStore().Close(journal);
    EXPECT_EQ(dir.Read("victim"), "kept");
    for (const char* name : {"new.cfg", "Scheduler.log"}) {
        EXPECT_EQ(std::filesystem::status(dir.File(name)).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
            << name;
    }
}

}  // namespace
