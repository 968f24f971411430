#pragma once

#include <functional>

// Takes the instance lock named after the active variant's title. When another instance
// holds it and this start is not a quiet one (ServerMode 0), lets the lock go, calls
// bringForward with the variant title (the Windows program shows the other instance's
// window there) and returns false: the program ends. Otherwise keeps the lock until the
// process ends and returns true; a lock that cannot be made at all does not stop the start.
bool AcquireSingleInstance(const std::function<void(const char* title)>& bringForward = {});

// The lock's name: the variant title directly followed by "Proccess 1.11".
const char* InstanceLockName();

// Gives the lock up (for tests; the program keeps it until it ends).
void ReleaseSingleInstance();
