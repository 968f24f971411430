#include "tests/support/stub_log.h"

#include <cstdlib>
#include <fstream>

#include "platform/program_path.h"
#include "tests/support/env.h"
#include "tests/support/wait.h"

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
    std::vector<StubRecord> records;
    WaitUntil([&] { return (records = ReadStubLog(logPath)).size() >= count; }, waitMs);
    return records;
}

void SetStubLog(const std::string& logPath) {
    SetEnv("COMPANION_STUB_LOG", logPath.c_str());
}
