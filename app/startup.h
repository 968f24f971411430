#pragma once

#include "app/single_instance.h"

// The portable steps of start-up and shut-down, shared by the Windows program (which puts
// its window steps between them) and the headless program. In start-up order:
//
//   ParseCommandLine (app/command_line.h)  any time before ShouldEndQuietStart
//   PrepareSchedules                       program path, variant, data folder, load
//   ShouldEndQuietStart                    a quiet start with nothing to schedule ends
//   AcquireSingleInstance                  one interactive instance per product
//   SelectedScheduleIndex = 0, windows, tray icon
//   StartPolling                           last
//
// Every step is silent: failures end the start or are left alone, never shown.

// Finds the program path and folder, chooses the active variant from the executables in
// the folder, builds the data folder and loads the schedule list (the data folder's
// "Scheduler.cfg", else the program folder's). False when no file loaded; start-up goes
// on either way.
bool PrepareSchedules();

// True when the start is a quiet one (ServerMode) and the list is empty: the program ends.
bool ShouldEndQuietStart();

// Hands the active variant's executable and default switch and the start journal (in the data
// folder) to the launcher and starts the polling thread, once. False when it runs already or could
// not start.
bool StartPolling();

// A stop path: sets StopRequested and pauses 100 ms.
void RequestStop();
// Ends the polling for good: RequestStop, then waits for the thread, so nothing reads the
// list once the program releases it.
void Shutdown();
