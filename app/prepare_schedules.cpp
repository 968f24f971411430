#include "app/app_state.h"
#include "app/data_folder.h"
#include "app/product_variant.h"
#include "app/startup.h"
#include "engine/schedule_storage.h"
#include "platform/program_path.h"

bool PrepareSchedules() {
    SetProgramPath(ProgramPath());
    SetActiveVariant(DetectVariant(ProgramFolder().c_str()));
    ScheduleStorage& storage = TheScheduleStorage();
    storage.SetFolders(BuildDataFolder(ActiveVariant()), ProgramFolder());
    return storage.Load();
}
