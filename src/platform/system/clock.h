#pragma once

#include <cstdint>

void Sleep(uint32_t Milliseconds);
// Milliseconds from a fixed point, for measuring durations.
uint32_t TimeGetTime();
