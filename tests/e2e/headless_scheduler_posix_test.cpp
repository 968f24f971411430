// The headless scheduler started for real in a temporary program folder that holds the
// companion stub under a product's executable name.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/program_path.h"
#include "tests/support/stub_log.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {
struct Schedule {
    std::string title;
    std::string file;
    std::string parameters;
    int type = 2;  // Daily
    std::tm at{};  // local time it falls due
};

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::tm LocalIn(int seconds) {
    std::tm t;
    LocalBreakdown(CurrentTime() + seconds, t);
    return t;
}

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

    void WriteSchedules(const std::vector<Schedule>& schedules) {
        std::string text = "/** Scheduler **/\r\n\r\nFormatVersion=1.0\r\n";
        for (const Schedule& s : schedules) {
            text += "\r\n[Schedule]\r\ntitle=" + Quoted(s.title) + "\r\nfile=" + Quoted(s.file);
            if (!s.parameters.empty()) {
                text += "\r\nparameters=" + Quoted(s.parameters);
            }
            text += "\r\ntype=" + std::to_string(s.type);
            text += "\r\nday=" + std::to_string(s.at.tm_mday);
            text += "\r\nmonth=" + std::to_string(s.at.tm_mon + 1);
            text += "\r\nyear=" + std::to_string(s.at.tm_year + 1900);
            text += "\r\nhour=" + std::to_string(s.at.tm_hour);
            text += "\r\nmin=" + std::to_string(s.at.tm_min);
            text += "\r\nsec=" + std::to_string(s.at.tm_sec);
            text += "\r\ndays_week=127";
        }
        dir_.Write("Scheduler.cfg", text + "\r\n");
    }

    // Starts the scheduler with the arguments; its output goes to a file of the folder.
    pid_t Start(const std::vector<std::string>& arguments, const std::string& output) {
        std::vector<std::string> args{dir_.File("scheduler")};
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
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
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
        for (int waited = 0;; waited += 20) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                std::erase(started_, pid);
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (waited >= waitMs) {
                return -1;
            }
            SleepMs(20);
        }
    }

    // Waits until the output file holds the text.
    bool WaitOutput(const std::string& output, const std::string& text, int waitMs) {
        for (int waited = 0; waited < waitMs; waited += 20) {
            if (dir_.Read(output).find(text) != std::string::npos) {
                return true;
            }
            SleepMs(20);
        }
        return false;
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
        Schedule once{"once", folder.Dir().Path() + "once.dvs", "", 0, LocalIn(4)};
        folder.WriteSchedules({
            {"plain", spaced, "", 2, due},
            {"params", "/w/b.dvs", "-x 5 -mode fast", 2, due},
            {"later", "/w/never.dvs", "", 2, LocalIn(3600)},
            once,
        });
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
            folder.WriteSchedules({});
        }
        pid_t pid = folder.Start({c.sw}, "out.txt");
        EXPECT_EQ(folder.WaitExit(pid, 5000), 0);
        EXPECT_EQ(folder.Dir().Read("out.txt"), "");
    }
}

TEST(HeadlessScheduler, SecondInteractiveStartEndsQuietStartRunsBeside) {
    ProgramFolder folder("dovsuite.exe");
    folder.WriteSchedules({{"t", "/w/a.dvs", "", 2, LocalIn(7200)}});
    pid_t first = folder.Start({}, "first.txt");
    ASSERT_TRUE(folder.WaitOutput("first.txt", "t\t/w/a.dvs\n", 5000));

    pid_t second = folder.Start({}, "second.txt");
    EXPECT_EQ(folder.WaitExit(second, 5000), 0);
    EXPECT_EQ(folder.Dir().Read("second.txt"), "");

    // A quiet start skips the rule: it keeps running beside the first.
    pid_t quiet = folder.Start({"-server"}, "quiet.txt");
    EXPECT_EQ(folder.WaitExit(quiet, 700), -1);
    kill(quiet, SIGINT);
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
