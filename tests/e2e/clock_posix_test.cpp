// The headless scheduler against the system's clock: a time zone replaced while it runs, a
// clock set forward while it runs and while it does not.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/program_path.h"
#include "tests/support/env.h"
#include "tests/support/schedule.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace fs = std::filesystem;

namespace {
// Runs the scheduler from a program folder with the stub as dovsuite.exe, inside a mount
// namespace of its own whose /etc/localtime is zone A until the file "switch" appears in the
// folder, then zone B. TZ is unset, so the system's zone is the one that counts.
const char* const kScript = R"(
mount --bind "/usr/share/zoneinfo/$2" /etc/localtime || exit 3
"$1/scheduler" > "$1/out.txt" 2> "$1/err.txt" &
echo $! > "$1/pid"
while [ ! -e "$1/switch" ]; do sleep 0.05; done
mount --bind "/usr/share/zoneinfo/$3" /etc/localtime || exit 4
wait
)";

bool CanMountPrivately() {
    return geteuid() == 0 && std::system("unshare -m true 2>/dev/null") == 0;
}

// Starts the program with the folder's own home, data and runtime folders and stub log.
pid_t Spawn(const TempDir& dir, std::vector<std::string> args, std::vector<std::string> more = {}) {
    std::vector<std::string> env{
        "HOME=" + dir.File("home"),
        "XDG_DATA_HOME=" + dir.File("data"),
        "XDG_CONFIG_HOME=" + dir.File("config"),
        "XDG_RUNTIME_DIR=" + dir.File("run"),
        "COMPANION_STUB_LOG=" + dir.File("starts.log"),
        "PATH=/usr/bin:/bin:/usr/sbin:/sbin",
    };
    env.insert(env.end(), more.begin(), more.end());
    std::vector<char*> argv, envp;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0 ? pid : -1;
}

pid_t StartInZone(const TempDir& dir, const char* zoneA, const char* zoneB) {
    return Spawn(dir, {"/usr/bin/unshare", "-m", "sh", "-c", kScript, "sh",
                       dir.Path().substr(0, dir.Path().size() - 1), zoneA, zoneB});
}

// A program folder with the scheduler, the stub as dovsuite.exe and these schedules.
void MakeProgramFolder(TempDir& dir, const std::string& sections) {
    fs::copy_file(FolderOf(ProgramPath()) + "scheduler", dir.File("scheduler"));
    fs::copy_file(StubProgramPath(), dir.File("dovsuite.exe"));
    for (const char* sub : {"home", "data", "config", "run"}) {
        dir.MakeFolder(sub);
    }
    dir.Write("Scheduler.cfg", ScheduleFileHeader() + sections + "\r\n");
}

const char* const kFakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1";
}  // namespace

// The clock set an hour forward while the program runs, then another hour on while it is
// stopped: the schedule due in each hour is journalled as missed, at its time, with why, and
// never started late.
TEST(HeadlessClock, JournalsStartsMissedWhenTheClockJumps) {
    if (access(kFakeTime, R_OK) != 0) {
        GTEST_SKIP() << "needs libfaketime";
    }
    TempDir dir;
    const std::tm jumped = LocalIn(1800), stopped = LocalIn(5400);
    MakeProgramFolder(dir, ScheduleSection("jumped", "/w/a.dvs", Daily, jumped) +
                               ScheduleSection("stopped", "/w/b.dvs", Daily, stopped));
    auto journalHolds = [&](const std::string& pattern) {
        return WaitUntil(
            [&] {
                return std::regex_search(dir.Read("config/Dovrin Suite/Scheduler.log"),
                                         std::regex(pattern));
            },
            5000);
    };
    // The run's clock is the real one moved by the offset in the file "offset".
    auto run = [&](const char* offset, const char* jump, const std::tm& due, const char* why) {
        dir.Write("offset", offset);
        std::vector<std::string> env{std::string("LD_PRELOAD=") + kFakeTime,
                                     "FAKETIME_TIMESTAMP_FILE=" + dir.File("offset"),
                                     "FAKETIME_NO_CACHE=1", "FAKETIME_DONT_FAKE_MONOTONIC=1"};
        if (const char* tz = std::getenv("TZ")) {
            env.push_back(std::string("TZ=") + tz);
        }
        pid_t pid = Spawn(dir, {dir.File("scheduler"), "-server"}, env);
        EXPECT_TRUE(journalHolds("\tprogram started\n"));
        if (jump != nullptr) {
            dir.Write("offset", jump);
        }
        char time[32];
        std::strftime(time, sizeof time, "%FT%T", &due);
        EXPECT_TRUE(journalHolds(time + std::string("[-+]..:..\tmissed: ") + why + "\tdue\t"));
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    };
    run("+0", "+3600", jumped, "asleep or clock moved");
    run("+7200", nullptr, stopped, "not running");
    EXPECT_TRUE(journalHolds("\tprogram ended\n(.|\n)*\tprogram ended\n"));
    EXPECT_EQ(ReadStubLog(dir.File("starts.log")).size(), 0u);
}

// A Daily schedule at the new zone's time starts once /etc/localtime is replaced, and the
// journal's offsets follow the zone.
TEST(HeadlessClock, FollowsAReplacedSystemZone) {
    if (!CanMountPrivately()) {
        GTEST_SKIP() << "needs root and unshare -m";
    }
    TempDir dir;
    std::tm dueInTokyo;
    {
        TimeZone tokyo("Asia/Tokyo");
        dueInTokyo = LocalIn(6);
    }
    MakeProgramFolder(dir, ScheduleSection("travel", "/w/a.dvs", Daily, dueInTokyo));
    pid_t shell = StartInZone(dir, "America/New_York", "Asia/Tokyo");
    ASSERT_GT(shell, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return dir.Read("out.txt").find("travel") != std::string::npos; }, 5000));
    dir.Write("switch", "");
    std::vector<StubRecord> records = WaitForStubLog(dir.File("starts.log"), 1, 12000);
    pid_t scheduler = std::stoi(dir.Read("pid"));
    kill(scheduler, SIGTERM);
    int status = 0;
    waitpid(shell, &status, 0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args.back(), "/w/a.dvs");
    const std::string journal = dir.Read("config/Dovrin Suite/Scheduler.log");
    EXPECT_NE(journal.find("-05:00\tprogram started\n"), std::string::npos) << journal;
    EXPECT_NE(journal.find("+09:00\tstarted\tdue\ttravel\t"), std::string::npos) << journal;
}
