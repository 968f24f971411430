// Stands in for a companion product in the tests: appends to the file named by
// COMPANION_STUB_LOG one record per start and ends at once. A record:
//
//   line: dovsuite.exe -process "/tmp/a b/site.dvs"
//   arg: dovsuite.exe
//   arg: -process
//   arg: /tmp/a b/site.dvs
//   blocked: no
//   time: 1765000000123
//   end
//
// "line" is the command line as the system handed it over (on POSIX, which has none, the
// arguments joined by blanks, quoted when they hold blanks); "time" is the start in
// milliseconds since the Unix epoch; "blocked" (POSIX only) tells whether SIGINT or SIGTERM
// reached it blocked.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    long long startMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    const char* log = std::getenv("COMPANION_STUB_LOG");
    if (log == nullptr || log[0] == '\0') {
        return 2;
    }
    std::string record = "line: ";
#if defined(_WIN32)
    record += GetCommandLineA();
#else
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        bool quote = arg.empty() || arg.find_first_of(" \t") != std::string::npos;
        record += i ? " " : "";
        record += quote ? "\"" + arg + "\"" : arg;
    }
#endif
    record += "\n";
    for (int i = 0; i < argc; ++i) {
        record += "arg: ";
        record += argv[i];
        record += "\n";
    }
#if !defined(_WIN32)
    // A product started with signals blocked could not be stopped by them.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigprocmask(SIG_BLOCK, nullptr, &blocked);
    bool any = sigismember(&blocked, SIGINT) == 1 || sigismember(&blocked, SIGTERM) == 1;
    record += std::string("blocked: ") + (any ? "yes" : "no") + "\n";
#endif
    record += "time: " + std::to_string(startMs) + "\nend\n";

    // One write per record, so stubs started together do not mix their lines.
#if defined(_WIN32)
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 200 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(10);  // another stub is writing
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == record.size() ? 0 : 1;
#else
    int fd = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return 1;
    }
    ssize_t written = write(fd, record.data(), record.size());
    close(fd);
    return written == static_cast<ssize_t>(record.size()) ? 0 : 1;
#endif
}
