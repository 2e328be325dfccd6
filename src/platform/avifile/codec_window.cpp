#include "platform/avifile/codec_window.h"
#include "platform/system/terminal_output.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "platform/avifile/avifile.h"
#include "platform/avifile/video_compressor.h"

namespace {

std::string CodeText(FOURCC code) {
    std::string text;
    for (int shift = 0; shift < 32; shift += 8)
        text += static_cast<char>((code >> shift) & 0xFF);
    return text;
}

// One line typed on the terminal; false at its end.
bool ReadLine(int fd, std::string& line) {
    line.clear();
    for (;;) {
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        if (c == '\n' || c == '\r') return true;
        line += c;
    }
}

bool IsCancel(const std::string& answer) {
    return answer == "c" || answer == "C" || answer == "q" || answer == "Q" || answer == "\033";
}

// Asks until the answer is empty (the default), a number within [low, high], or a
// cancel; false on cancel.
bool AskNumber(int fd, const std::string& question, long low, long high, long& value) {
    for (;;) {
        WriteToTerminal(fd, question + " (Enter = " + std::to_string(value) + ", c = cancel): ");
        std::string answer;
        if (!ReadLine(fd, answer) || IsCancel(answer)) return false;
        if (answer.empty()) return true;
        char* end = nullptr;
        const long number = std::strtol(answer.c_str(), &end, 10);
        if (*end == '\0' && number >= low && number <= high) {
            value = number;
            return true;
        }
        WriteToTerminal(fd, "  Please type a number from " + std::to_string(low) + " to " +
                                std::to_string(high) + ".\r\n");
    }
}

std::string ListBox() {
    const std::vector<TCompressorInfo>& all = AvailableCompressors();
    std::string box = "\r\n+- Video Compression ------------------------------+\r\n";
    for (size_t i = 0; i < all.size(); ++i) {
        std::string line =
            "  " + std::to_string(i + 1) + "  " + CodeText(all[i].Code) + "  " + all[i].Name;
        line.resize(50, ' ');
        box += "|" + line + "|\r\n";
    }
    box += "+--------------------------------------------------+\r\n";
    return box;
}

} // namespace

bool RunCodecDialog(int TerminalFd, uint32_t Flags, AVICOMPRESSOPTIONS& Options) {
    const std::vector<TCompressorInfo>& all = AvailableCompressors();
    long choice = 1;
    for (size_t i = 0; i < all.size(); ++i)
        if (&all[i] == FindCompressor(Options.fccHandler)) choice = static_cast<long>(i + 1);
    WriteToTerminal(TerminalFd, ListBox());
    if (!AskNumber(TerminalFd, "Compressor 1-" + std::to_string(all.size()), 1,
                   static_cast<long>(all.size()), choice))
        return false;
    long quality = Options.dwQuality == 0 ? 85 : static_cast<long>(Options.dwQuality / 100);
    if (!AskNumber(TerminalFd, "Quality 1-100", 1, 100, quality)) return false;
    long keyFrames = Options.dwKeyFrameEvery == 0 ? 1 : static_cast<long>(Options.dwKeyFrameEvery);
    if ((Flags & ICMF_CHOOSE_KEYFRAME) != 0 &&
        !AskNumber(TerminalFd, "Key frame every N frames", 1, 100000, keyFrames))
        return false;
    long kilobytes = static_cast<long>(Options.dwBytesPerSecond / 1024);
    if ((Flags & ICMF_CHOOSE_DATARATE) != 0 &&
        !AskNumber(TerminalFd, "Data rate in KB/s, 0 = no limit", 0, 4000000, kilobytes))
        return false;

    Options.fccType = streamtypeVIDEO;
    Options.fccHandler = all[static_cast<size_t>(choice - 1)].Code;
    Options.dwQuality = static_cast<uint32_t>(quality * 100);
    Options.dwKeyFrameEvery = static_cast<uint32_t>(keyFrames);
    Options.dwBytesPerSecond = static_cast<uint32_t>(kilobytes * 1024);
    Options.dwFlags =
        AVICOMPRESSF_VALID | AVICOMPRESSF_KEYFRAMES | (kilobytes > 0 ? AVICOMPRESSF_DATARATE : 0);
    WriteToTerminal(TerminalFd, "Using " + CodeText(Options.fccHandler) + ".\r\n");
    return true;
}

void ReportNoCodecWindow() {
    std::fflush(stdout);
    std::fprintf(stderr, "\n[Video Compression] Compressors:");
    for (const TCompressorInfo& info : AvailableCompressors())
        std::fprintf(stderr, " \"%s\" (%s)", CodeText(info.Code).c_str(), info.Name);
    std::fprintf(
        stderr,
        "\nNo codec could be chosen: there is no terminal for the codec window. Name one with "
        "-hcd, for example -hcd DIB. [Cancel]\n");
    std::fflush(stderr);
}

bool AVISaveOptions(void*, uint32_t Flags, int Streams, PAVISTREAM* StreamList,
                    AVICOMPRESSOPTIONS** Options) {
    if (Streams < 1 || StreamList == nullptr || Options == nullptr) return false;
    std::fflush(stdout);
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty < 0) {
        ReportNoCodecWindow();
        return false;
    }
    bool chosen = true;
    for (int i = 0; i < Streams && chosen; ++i)
        if (Options[i] != nullptr) chosen = RunCodecDialog(tty, Flags, *Options[i]);
    ::close(tty);
    return chosen;
}
