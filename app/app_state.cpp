#include "app/app_state.h"

#include "engine/bounded_text.h"
#include "platform/program_path.h"

int ServerMode = 0;
int AutorunEnabled = 0;
int SelectedScheduleIndex = -1;

namespace {
std::string& FullPath() {
    static std::string path;
    return path;
}
std::string& Folder() {
    static std::string folder;
    return folder;
}
}  // namespace

const std::string& ProgramFullPath() {
    return FullPath();
}

const std::string& ProgramFolder() {
    return Folder();
}

void SetProgramPath(const std::string& fullPath) {
    // The autorun command holds the path in 400 bytes; the folder in 260, as every path.
    char full[400];
    boundedCopy(full, sizeof full, fullPath.c_str());
    FullPath() = full;
    char folder[260];
    boundedCopy(folder, sizeof folder, fullPath.c_str());
    Folder() = FolderOf(folder);
}
