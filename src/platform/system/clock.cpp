#include "platform/system/clock.h"

#include <chrono>
#include <thread>

void Sleep(uint32_t Milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
}

uint32_t TimeGetTime() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
