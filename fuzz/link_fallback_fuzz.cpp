// The ".htm" open command turned into the command line that opens an address: the input's
// first byte picks a code page (with or without two-byte characters), the rest up to a NUL
// is the open command and what follows is the address.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/models/hyperlink_model.h"

namespace {

// The command up to the first placeholder that starts a character, "\"%1\"" before "%1".
std::string::size_type plainCut(const std::string& command, bool twoByte) {
    std::vector<std::string::size_type> starts;
    for (std::string::size_type i = 0; i < command.size(); ++i) {
        starts.push_back(i);
        if (twoByte && static_cast<unsigned char>(command[i]) >= 0x81 && i + 1 < command.size()) {
            ++i;
        }
    }
    for (const char* placeholder : {"\"%1\"", "%1"}) {
        for (std::string::size_type i : starts) {
            if (command.substr(i).rfind(placeholder, 0) == 0) {
                return i;
            }
        }
    }
    return command.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool twoByte = data[0] & 1;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string::size_type nul = rest.find('\0');
    const std::string command = rest.substr(0, nul);
    const std::string address = nul == std::string::npos ? "" : rest.substr(nul + 1);
    std::function<bool(unsigned char)> lead;
    if (twoByte) {
        lead = [](unsigned char c) { return c >= 0x81; };
    }
    if (FallbackOpenCommand(command, address, lead) !=
        command.substr(0, plainCut(command, twoByte)) + " " + address) {
        std::abort();
    }
    return 0;
}
