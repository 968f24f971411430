#pragma once

#include <functional>

// Takes the instance lock named after the active variant's title. When another instance
// holds it, lets the lock go and returns false: the program ends. An interactive start
// (ServerMode 0) first calls bringForward with the variant title (the Windows program shows
// the other instance's window there); a quiet one ends without a word. Otherwise keeps the
// lock until the process ends and returns true; a lock that cannot be made at all does not
// stop the start.
bool AcquireSingleInstance(const std::function<void(const char* title)>& bringForward = {});

// The lock's name: the variant title directly followed by "Proccess 1.11".
const char* InstanceLockName();

// Gives the lock up (for tests; the program keeps it until it ends).
void ReleaseSingleInstance();
