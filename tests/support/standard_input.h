#pragma once

#include <unistd.h>

// Runs `step` as a program started with its standard input closed runs (descriptor 0 free
// for the next file it opens), then puts the input back; answers what `step` answered.
template <class Step>
auto WithStandardInputClosed(Step step) {
    const int input = ::dup(0);
    ::close(0);
    auto result = step();
    ::dup2(input, 0);  // also closes whatever the step left on descriptor 0
    ::close(input);
    return result;
}
