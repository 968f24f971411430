#include "tests/support/stub_log.h"

#include <cstdlib>
#include <fstream>

#include "platform/clock.h"
#include "platform/program_path.h"

const char* ExeSuffix() {
#if defined(_WIN32)
    return ".exe";
#else
    return "";
#endif
}

std::string StubProgramPath() {
    return FolderOf(ProgramPath()) + "companion_stub" + ExeSuffix();
}

std::vector<StubRecord> ReadStubLog(const std::string& logPath) {
    std::vector<StubRecord> records;
    std::ifstream in(logPath, std::ios::binary);
    std::string text;
    StubRecord current;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.rfind("line: ", 0) == 0) {
            current = StubRecord();
            current.line = text.substr(6);
        } else if (text.rfind("arg: ", 0) == 0) {
            current.args.push_back(text.substr(5));
        } else if (text.rfind("time: ", 0) == 0) {
            current.timeMs = std::atoll(text.c_str() + 6);
        } else if (text == "blocked: yes") {
            current.signalsBlocked = true;
        } else if (text == "end") {
            records.push_back(current);
        }
    }
    return records;
}

std::vector<StubRecord> WaitForStubLog(const std::string& logPath, size_t count, int waitMs) {
    std::vector<StubRecord> records = ReadStubLog(logPath);
    for (int waited = 0; records.size() < count && waited < waitMs; waited += 20) {
        SleepMs(20);
        records = ReadStubLog(logPath);
    }
    return records;
}

void SetStubLog(const std::string& logPath) {
#if defined(_WIN32)
    _putenv_s("COMPANION_STUB_LOG", logPath.c_str());
#else
    setenv("COMPANION_STUB_LOG", logPath.c_str(), 1);
#endif
}
