#pragma once

#include <string>

#include "tests/support/temp_dir.h"

// Points XDG_RUNTIME_DIR, where the instance lock files live on POSIX, at a fresh folder
// for the object's life, so tests leave no lock files behind. Nothing on Windows.
class ScopedRuntimeFolder {
  public:
    ScopedRuntimeFolder();
    ~ScopedRuntimeFolder();
    ScopedRuntimeFolder(const ScopedRuntimeFolder&) = delete;
    ScopedRuntimeFolder& operator=(const ScopedRuntimeFolder&) = delete;

  private:
    TempDir dir_;
    bool had_ = false;
    std::string old_;
};
