// The program's own arguments (the input cut at NUL bytes) and the splitting of the command
// line that starts the companion product.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/command_line.h"
#include "platform/process_start.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args{"scheduler"};
    for (std::size_t at = 0; at <= size;) {
        std::size_t nul = std::min(input.find('\0', at), size);
        args.push_back(input.substr(at, nul - at));
        at = nul + 1;
    }
    std::vector<const char*> argv;
    bool server = false;
    for (const std::string& a : args) {
        std::string lower = a;
        for (char& c : lower) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        }
        server |= !argv.empty() && (lower == "-server" || lower == "/server");
        argv.push_back(a.c_str());
    }
    ServerMode = AutorunEnabled = 0;
    ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    if (ServerMode != server || AutorunEnabled != server) {
        std::abort();
    }

    // Quotes are taken away, so each argument quoted and joined by blanks splits back the same.
    std::vector<std::string> split = SplitCommandLine(input);
    std::string joined;
    for (const std::string& a : split) {
        if (a.find('"') != std::string::npos) {
            std::abort();
        }
        joined += "\t\"" + a + "\" ";
    }
    if (SplitCommandLine(joined) != split) {
        std::abort();
    }
    return 0;
}
