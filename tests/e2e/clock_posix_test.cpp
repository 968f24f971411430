// The headless scheduler against the system's clock: a time zone replaced while it runs.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
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

pid_t StartInZone(const TempDir& dir, const char* zoneA, const char* zoneB) {
    std::vector<std::string> args{"/usr/bin/unshare", "-m", "sh", "-c", kScript, "sh",
                                  dir.Path().substr(0, dir.Path().size() - 1), zoneA, zoneB};
    std::vector<std::string> env{
        "HOME=" + dir.File("home"),
        "XDG_DATA_HOME=" + dir.File("data"),
        "XDG_CONFIG_HOME=" + dir.File("config"),
        "XDG_RUNTIME_DIR=" + dir.File("run"),
        "COMPANION_STUB_LOG=" + dir.File("starts.log"),
        "PATH=/usr/bin:/bin:/usr/sbin:/sbin",
    };
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
}  // namespace

// A Daily schedule at the new zone's time starts once /etc/localtime is replaced, and the
// journal's offsets follow the zone.
TEST(HeadlessClock, FollowsAReplacedSystemZone) {
    if (!CanMountPrivately()) {
        GTEST_SKIP() << "needs root and unshare -m";
    }
    TempDir dir;
    fs::copy_file(FolderOf(ProgramPath()) + "scheduler", dir.File("scheduler"));
    fs::copy_file(StubProgramPath(), dir.File("dovsuite.exe"));
    for (const char* sub : {"home", "data", "config", "run"}) {
        dir.MakeFolder(sub);
    }
    std::tm dueInTokyo;
    {
        TimeZone tokyo("Asia/Tokyo");
        dueInTokyo = LocalIn(6);
    }
    dir.Write("Scheduler.cfg", ScheduleFileHeader() +
                                   ScheduleSection("travel", "/w/a.dvs", Daily, dueInTokyo) +
                                   "\r\n");
    pid_t shell = StartInZone(dir, "America/New_York", "Asia/Tokyo");
    ASSERT_GT(shell, 0);
    ASSERT_TRUE(WaitUntil([&] { return dir.Read("out.txt").find("travel") != std::string::npos; },
                          5000));
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
