#include "platform/system/message_window.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/classes/exception.h"
#include "platform/system/terminal_dialog.h"

namespace {

const char* ButtonsText(TMsgDlgButtons Buttons) {
    return Buttons == mbOK ? "[OK]" : "[Yes] [No]";
}

class DefaultAnswerer : public TMessageWindowAnswerer {
  public:
    TModalResult Answer(const TMessageWindow& Window) override {
        std::fflush(stdout);
        const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (tty >= 0) {
            const TModalResult result = RunTerminalDialog(tty, Window);
            ::close(tty);
            return result;
        }
        const TModalResult result = Window.Buttons == mbOK ? mrOk : mrNo;
        std::fprintf(stderr, "\n[%s] %s %s -> %s\n", Window.Caption.c_str(), Window.Text.c_str(),
                     ButtonsText(Window.Buttons), result == mrOk ? "OK" : "No");
        std::fflush(stderr);
        return result;
    }
};

DefaultAnswerer defaultAnswerer;
TMessageWindowAnswerer* currentAnswerer = &defaultAnswerer;

} // namespace

TMessageWindowAnswerer* SetMessageWindowAnswerer(TMessageWindowAnswerer* Answerer) {
    TMessageWindowAnswerer* previous = currentAnswerer;
    currentAnswerer = Answerer != nullptr ? Answerer : &defaultAnswerer;
    return previous == &defaultAnswerer ? nullptr : previous;
}

TModalResult ShowMessageWindow(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons) {
    const TMessageWindow window{Type == mtError ? "Vantrel_CL - Error" : "Vantrel_CL - Confirm",
                                Text, Type, Buttons};
    return currentAnswerer->Answer(window);
}

void ShowExceptionWindow(const Exception& E) {
    ShowMessageWindow(E.Message, mtError, mbOK);
}
