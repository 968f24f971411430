#pragma once

#include <functional>

// Polls the condition every 20 ms until it holds or the wait (ms) is over; its last answer.
bool WaitUntil(const std::function<bool()>& condition, int waitMs);
