#include "platform/system/terminal_dialog.h"
#include "platform/system/terminal_output.h"

#include <algorithm>
#include <cerrno>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t BoxTextWidth = 72;

class RawMode {
  public:
    explicit RawMode(int fd) : fd_(fd) {
        active_ = ::tcgetattr(fd_, &saved_) == 0;
        if (!active_) return;
        termios raw = saved_;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        ::tcsetattr(fd_, TCSANOW, &raw);
    }
    ~RawMode() {
        if (active_) ::tcsetattr(fd_, TCSANOW, &saved_);
    }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;

  private:
    int fd_;
    bool active_ = false;
    termios saved_{};
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        lines.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

std::string ButtonRow(const TMessageWindow& window, bool yesSelected) {
    if (window.Buttons == mbOK) return "[ OK ]   (Enter)";
    return std::string(yesSelected ? "> Yes <    No  " : "  Yes    > No <") +
           "   (y / n, arrows, Enter)";
}

std::string Frame(const TMessageWindow& window, bool yesSelected) {
    std::vector<std::string> body = Lines(WrapForBox(window.Text, BoxTextWidth));
    while (!body.empty() && body.front().empty())
        body.erase(body.begin());
    while (!body.empty() && body.back().empty())
        body.pop_back();
    size_t width = window.Caption.size() + 2;
    for (const std::string& line : body)
        width = std::max(width, line.size());
    const std::string buttons = ButtonRow(window, yesSelected);
    width = std::max(width, buttons.size());

    std::string out = "\r\n+- " + window.Caption + " " +
                      std::string(width - window.Caption.size() - 1, '-') + "+\r\n";
    auto row = [&](const std::string& line) {
        out += "| " + line + std::string(width - line.size(), ' ') + " |\r\n";
    };
    for (const std::string& line : body)
        row(line);
    row("");
    row(buttons);
    out += "+" + std::string(width + 2, '-') + "+\r\n";
    return out;
}

int ReadKey(int fd) {
    unsigned char key = 0;
    for (;;) {
        const ssize_t got = ::read(fd, &key, 1);
        if (got == 1) return key;
        if (got < 0 && errno == EINTR) continue;
        return -1;
    }
}

} // namespace

std::string WrapForBox(const std::string& Text, size_t Width) {
    std::string out;
    std::string line;
    auto flush = [&] {
        out += line;
        line.clear();
    };
    for (char c : Text) {
        if (c == '\r') continue;
        if (c == '\n') {
            flush();
            out += '\n';
            continue;
        }
        if (c == '\t') {
            line.append(8 - line.size() % 8, ' ');
        } else {
            line += c;
        }
        while (line.size() > Width) {
            size_t cut = line.rfind(' ', Width);
            if (cut == std::string::npos || cut == 0) cut = Width;
            out += line.substr(0, cut) + '\n';
            line.erase(0, line[cut] == ' ' ? cut + 1 : cut);
        }
    }
    flush();
    return out;
}

TModalResult RunTerminalDialog(int TerminalFd, const TMessageWindow& Window) {
    RawMode raw(TerminalFd);
    bool yesSelected = true;
    WriteToTerminal(TerminalFd, Frame(Window, yesSelected));
    for (;;) {
        const int key = ReadKey(TerminalFd);
        if (key < 0) return Window.Buttons == mbOK ? mrOk : mrNo;
        if (Window.Buttons == mbOK) {
            if (key == '\r' || key == '\n' || key == ' ' || key == 'o' || key == 'O' || key == 27)
                return mrOk;
            continue;
        }
        if (key == 'y' || key == 'Y') return mrYes;
        if (key == 'n' || key == 'N') return mrNo;
        if (key == '\r' || key == '\n' || key == ' ') return yesSelected ? mrYes : mrNo;
        if (key == '\t' || key == 'C' || key == 'D') { // tab, or the final byte of an arrow key
            yesSelected = !yesSelected;
            WriteToTerminal(TerminalFd, "\r\n" + ButtonRow(Window, yesSelected) + "\r\n");
        }
    }
}
