#include "platform/system/terminal_output.h"

#include <cerrno>
#include <unistd.h>

void WriteToTerminal(int Fd, const std::string& Text) {
    size_t done = 0;
    while (done < Text.size()) {
        const ssize_t put = ::write(Fd, Text.data() + done, Text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return;
        done += static_cast<size_t>(put);
    }
}
