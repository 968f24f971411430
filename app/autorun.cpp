#include "app/autorun.h"

#include "app/app_state.h"
#include "app/product_variant.h"
#include "engine/bounded_text.h"
#include "platform/autorun_store.h"

namespace {
AutorunStore* g_store = nullptr;

AutorunStore& Store() {
    return g_store != nullptr ? *g_store : SystemAutorunStore();
}
}  // namespace

std::string BuildAutorunCommand(const std::string& programFullPath) {
    char command[400];
    boundedCopy(command, sizeof command, "\"");
    boundedAppend(command, sizeof command, programFullPath.c_str());
    boundedAppend(command, sizeof command, "\" -");
    boundedAppend(command, sizeof command, "server");
    return command;
}

void EnableAutorun() {
    try {
        Store().Write(ActiveVariant().title, BuildAutorunCommand(ProgramFullPath()));
    } catch (...) {
        // Not reported: the check mark follows the user's choice, not the system.
    }
    AutorunEnabled = 1;
}

void DisableAutorun() {
    try {
        Store().Delete(ActiveVariant().title);
    } catch (...) {
    }
    AutorunEnabled = 0;
}

void ToggleAutorun() {
    if (AutorunEnabled) {
        DisableAutorun();
    } else {
        EnableAutorun();
    }
}

void SetAutorunStore(AutorunStore* store) {
    g_store = store;
}
