#pragma once

#include "tests/support/env.h"
#include "tests/support/temp_dir.h"

// Points XDG_RUNTIME_DIR, where the instance lock files live on POSIX, at a fresh folder
// for the object's life, so tests leave no lock files behind.
struct ScopedRuntimeFolder {
    TempDir dir;
    ScopedEnv env{"XDG_RUNTIME_DIR", dir.Path().c_str()};
};
