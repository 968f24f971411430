// The Windows program: start-up, the message loop and the end, all in the application object.
#include <windows.h>

#include <cstdlib>

#include "program/scheduler_app_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    // Local, so the windows go before the process-wide objects they use.
    CSchedulerApp app;
    if (!app.InitInstance(__argc, __argv)) {
        return 0;
    }
    return app.Run();
}
