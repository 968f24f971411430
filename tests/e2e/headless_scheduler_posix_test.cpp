// The headless scheduler started for real in a temporary program folder that holds the
// companion stub under a product's executable name.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
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
// A program folder with the scheduler, the stub under a product's name and a schedule file;
// the data, configuration and runtime folders point into it too, so nothing of the user's
// is read or touched.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& productExe) {
        std::string bin = FolderOf(ProgramPath());
        fs::copy_file(bin + "scheduler", dir_.File("scheduler"));
        fs::copy_file(StubProgramPath(), dir_.File(productExe));
        for (const char* sub : {"home", "data", "config", "run"}) {
            dir_.MakeFolder(sub);
        }
    }

    ~ProgramFolder() {
        for (pid_t pid : started_) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    void WriteSchedules(const std::string& sections) {
        dir_.Write("Scheduler.cfg", ScheduleFileHeader() + sections + "\r\n");
    }

    // Starts the scheduler with the arguments, run by `wrapper` when one is given and with
    // `moreEnv` beside the folder's own; its output goes to a file of the folder (or to
    // `outputFd`), its errors to that file's name with ".err".
    pid_t Start(const std::vector<std::string>& arguments,
                const std::string& output,
                int outputFd = -1,
                const std::vector<std::string>& moreEnv = {},
                const std::vector<std::string>& wrapper = {}) {
        std::vector<std::string> args = wrapper;
        args.push_back(dir_.File("scheduler"));
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<std::string> env{
            "HOME=" + dir_.File("home"),
            "XDG_DATA_HOME=" + dir_.File("data"),
            "XDG_CONFIG_HOME=" + dir_.File("config"),
            "XDG_RUNTIME_DIR=" + dir_.File("run"),
            "COMPANION_STUB_LOG=" + Log(),
            "PATH=/usr/bin:/bin",
        };
        if (const char* tz = std::getenv("TZ")) {
            env.push_back(std::string("TZ=") + tz);
        }
        env.insert(env.end(), moreEnv.begin(), moreEnv.end());
        std::vector<char*> argv, envp;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        std::string out = dir_.File(output);
        if (outputFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
        } else {
            posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0644);
        }
        std::string err = out + ".err";
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        pid_t pid = -1;
        int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) {
            return -1;
        }
        started_.push_back(pid);
        return pid;
    }

    // The exit status once the process has ended, or -1 when it still runs after the wait.
    int WaitExit(pid_t pid, int waitMs) {
        int status = 0;
        if (!WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, waitMs)) {
            return -1;
        }
        std::erase(started_, pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // Waits until the output file holds the text.
    bool WaitOutput(const std::string& output, const std::string& text, int waitMs) {
        return WaitUntil([&] { return dir_.Read(output).find(text) != std::string::npos; }, waitMs);
    }

    std::string Log() const { return dir_.File("starts.log"); }
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
    std::vector<pid_t> started_;
};
}  // namespace

TEST(HeadlessScheduler, StartsDueSchedulesWithTheirArguments) {
    struct Case {
        const char* exe;
        const char* defaultSwitch;
    } cases[] = {{"dovsuite.exe", "-process"}, {"dovlens.exe", "-storage"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exe);
        ProgramFolder folder(c.exe);
        std::string spaced = folder.Dir().Path() + "my work/site one.dvs";
        std::tm due = LocalIn(3);
        folder.WriteSchedules(
            ScheduleSection("plain", spaced, Daily, due) +
            ScheduleSection("params", "/w/b.dvs", Daily, due, "-x 5 -mode fast") +
            ScheduleSection("later", "/w/never.dvs", Daily, LocalIn(3600)) +
            ScheduleSection("once", folder.Dir().File("once.dvs"), Once, LocalIn(4)));
        pid_t pid = folder.Start({}, "out.txt");
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(folder.WaitOutput("out.txt", "plain\t" + spaced + "\n", 5000));
        std::vector<StubRecord> records = WaitForStubLog(folder.Log(), 3, 10000);
        ASSERT_EQ(records.size(), 3u);
        std::vector<std::vector<std::string>> args;
        for (const StubRecord& r : records) {
            EXPECT_EQ(r.args[0], c.exe);
            // The program blocks the stop signals for itself, never for what it starts.
            EXPECT_FALSE(r.signalsBlocked);
            args.emplace_back(r.args.begin() + 1, r.args.end());
        }
        std::sort(args.begin(), args.end());
        std::vector<std::vector<std::string>> expected{
            {"-x", "5", "-mode", "fast", "/w/b.dvs"},
            {c.defaultSwitch, spaced},
            {c.defaultSwitch, folder.Dir().Path() + "once.dvs"},
        };
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(args, expected);
        kill(pid, SIGTERM);
        EXPECT_EQ(folder.WaitExit(pid, 5000), 0);
    }
}

TEST(HeadlessScheduler, QuietStartWithAnEmptyListEndsAtOnce) {
    struct Case {
        const char* what;
        bool writeEmptyFile;
        const char* sw;
    } cases[] = {
        {"no file", false, "-server"},
        {"empty list", true, "/SERVER"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder folder("dovsuite.exe");
        if (c.writeEmptyFile) {
            folder.WriteSchedules("");
        }
        pid_t pid = folder.Start({c.sw}, "out.txt");
        EXPECT_EQ(folder.WaitExit(pid, 5000), 0);
        EXPECT_EQ(folder.Dir().Read("out.txt"), "");
    }
}

TEST(HeadlessScheduler, SecondStartEndsInteractiveOrQuiet) {
    ProgramFolder folder("dovsuite.exe");
    folder.WriteSchedules(ScheduleSection("t", "/w/a.dvs", Daily, LocalIn(7200)));
    pid_t first = folder.Start({}, "first.txt");
    ASSERT_TRUE(folder.WaitOutput("first.txt", "t\t/w/a.dvs\n", 5000));

    pid_t second = folder.Start({}, "second.txt");
    EXPECT_EQ(folder.WaitExit(second, 5000), 0);
    EXPECT_EQ(folder.Dir().Read("second.txt"), "");

    // A quiet one too: two would start every due schedule twice.
    pid_t quiet = folder.Start({"-server"}, "quiet.txt");
    EXPECT_EQ(folder.WaitExit(quiet, 5000), 0);

    kill(first, SIGTERM);
    EXPECT_EQ(folder.WaitExit(first, 5000), 0);
    // Once the first has gone, an interactive start runs again.
    pid_t third = folder.Start({}, "third.txt");
    ASSERT_TRUE(folder.WaitOutput("third.txt", "t\t/w/a.dvs\n", 5000));
    kill(third, SIGTERM);
    EXPECT_EQ(folder.WaitExit(third, 5000), 0);
    EXPECT_TRUE(ReadStubLog(folder.Log()).empty());
}

// What a careful operator tries: a FIFO for the data folder's file, a listing piped into
// "head -1", a tab and a line break in a schedule, a companion product that cannot start, and
// a hang-up signal.
TEST(HeadlessScheduler, SurvivesOddFilesClosedPipesAndFailedStarts) {
    ProgramFolder folder("dovsuite.exe");
    fs::permissions(folder.Dir().File("dovsuite.exe"), fs::perms::owner_read);
    folder.Dir().MakeFolder("config/Dovrin Suite");
    ASSERT_EQ(mkfifo(folder.Dir().File("config/Dovrin Suite/Scheduler.cfg").c_str(), 0600), 0);
    std::string sections = ScheduleSection("tab\there", "/w/a\nb.dvs", Daily, LocalIn(2));
    for (int i = 0; i < 100; ++i) {  // far more than a pipe holds
        sections += ScheduleSection("t", "/w/" + std::string(1000, 'x'), Daily, LocalIn(7200));
    }
    folder.WriteSchedules(sections);
    int pipeEnds[2];
    ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
    pid_t pid = folder.Start({}, "out.txt", pipeEnds[1]);
    close(pipeEnds[1]);
    std::string first;
    char c;
    pollfd ready{pipeEnds[0], POLLIN, 0};
    while (poll(&ready, 1, 5000) == 1 && read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
        first += c;
    }
    close(pipeEnds[0]);
    EXPECT_EQ(first, "tab\\there\t/w/a\\nb.dvs");
    // The first schedule falls due and cannot start: one line, the program runs on.
    const std::string failed =
        "scheduler: cannot start dovsuite.exe -process \"/w/a\\nb.dvs\": Permission denied\n";
    EXPECT_TRUE(folder.WaitOutput("out.txt.err", failed, 8000)) << folder.Dir().Read("out.txt.err");
    EXPECT_TRUE(folder.WaitOutput("config/Dovrin Suite/Scheduler.log",
                                  "\tfailed: Permission denied\tdue\ttab here\tdovsuite.exe "
                                  "-process \"/w/a b.dvs\"\n",
                                  5000));
    kill(pid, SIGHUP);
    EXPECT_EQ(folder.WaitExit(pid, 5000), 0);
    EXPECT_EQ(folder.Dir().Read("out.txt.err"), failed);
}

// The clock set an hour forward while the program runs, then another hour on while it is
// stopped: the schedule due in each hour is journalled as missed, at its time, with why, and
// never started late.
TEST(HeadlessScheduler, JournalsStartsMissedWhenTheClockJumps) {
    const char* const fakeTime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1";
    if (access(fakeTime, R_OK) != 0) {
        GTEST_SKIP() << "needs libfaketime";
    }
    ProgramFolder folder("dovsuite.exe");
    const TempDir& dir = folder.Dir();
    const std::tm jumped = LocalIn(1800), stopped = LocalIn(5400);
    folder.WriteSchedules(ScheduleSection("jumped", "/w/a.dvs", Daily, jumped) +
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
        pid_t pid = folder.Start(
            {"-server"}, "out.txt", -1,
            {std::string("LD_PRELOAD=") + fakeTime, "FAKETIME_TIMESTAMP_FILE=" + dir.File("offset"),
             "FAKETIME_NO_CACHE=1", "FAKETIME_DONT_FAKE_MONOTONIC=1"});
        EXPECT_TRUE(journalHolds("\tprogram started\n"));
        if (jump != nullptr) {
            dir.Write("offset", jump);
        }
        char time[32];
        std::strftime(time, sizeof time, "%FT%T", &due);
        EXPECT_TRUE(journalHolds(time + std::string("[-+]..:..\tmissed: ") + why + "\tdue\t"));
        kill(pid, SIGTERM);
        EXPECT_EQ(folder.WaitExit(pid, 5000), 0);
    };
    run("+0", "+3600", jumped, "asleep or clock moved");
    run("+7200", nullptr, stopped, "not running");
    EXPECT_TRUE(journalHolds("\tprogram ended\n(.|\n)*\tprogram ended\n"));
    EXPECT_TRUE(ReadStubLog(folder.Log()).empty());
}

// A Daily schedule at the new zone's time starts once /etc/localtime is replaced (in a mount
// namespace of its own, TZ unset), and the journal's offsets follow the zone.
TEST(HeadlessScheduler, FollowsAReplacedSystemZone) {
    if (geteuid() != 0 || std::system("unshare -m true 2>/dev/null") != 0) {
        GTEST_SKIP() << "needs root and unshare -m";
    }
    // Zone A until the file "switch" appears in the folder, then zone B.
    const char* const script = R"(
a=$1 b=$2 d=$3; shift 3
mount --bind "/usr/share/zoneinfo/$a" /etc/localtime || exit 3
"$@" & echo $! > "$d/pid"
while [ ! -e "$d/switch" ]; do sleep 0.05; done
mount --bind "/usr/share/zoneinfo/$b" /etc/localtime || exit 4
wait
)";
    ProgramFolder folder("dovsuite.exe");
    const TempDir& dir = folder.Dir();
    std::tm dueInTokyo;
    {
        TimeZone tokyo("Asia/Tokyo");
        dueInTokyo = LocalIn(6);
    }
    folder.WriteSchedules(ScheduleSection("travel", "/w/a.dvs", Daily, dueInTokyo));
    ScopedEnv systemZone("TZ", nullptr);
    pid_t shell = folder.Start({}, "out.txt", -1, {},
                               {"/usr/bin/unshare", "-m", "sh", "-c", script, "sh",
                                "America/New_York", "Asia/Tokyo", dir.Path()});
    ASSERT_TRUE(folder.WaitOutput("out.txt", "travel", 5000));
    dir.Write("switch", "");
    std::vector<StubRecord> records = WaitForStubLog(folder.Log(), 1, 12000);
    kill(std::stoi(dir.Read("pid")), SIGTERM);
    EXPECT_EQ(folder.WaitExit(shell, 5000), 0);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args.back(), "/w/a.dvs");
    const std::string journal = dir.Read("config/Dovrin Suite/Scheduler.log");
    EXPECT_NE(journal.find("-05:00\tprogram started\n"), std::string::npos) << journal;
    EXPECT_NE(journal.find("+09:00\tstarted\tdue\ttravel\t"), std::string::npos) << journal;
}
