#include "app/command_line.h"

#include <strings.h>

#include "app/app_state.h"

bool IsServerSwitch(const char* argument) {
    if (argument == nullptr || (argument[0] != '-' && argument[0] != '/')) {
        return false;
    }
    return strcasecmp(argument + 1, "server") == 0;
}

void ParseCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (IsServerSwitch(argv[i])) {
            ServerMode = 1;
            AutorunEnabled = 1;
        }
    }
}
