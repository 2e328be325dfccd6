#pragma once

#include <string>

class Exception;

enum TMsgDlgType { mtError, mtConfirmation };
enum TMsgDlgButtons { mbOK, mbYesNo };
enum TModalResult { mrOk, mrYes, mrNo };

struct TMessageWindow {
    std::string Caption;
    std::string Text;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};

// Answers modal message windows. The default answerer shows a framed box on the
// controlling terminal and reads the answer from its keyboard; without a terminal it
// writes the window to standard error and answers at once (OK; No for a question).
class TMessageWindowAnswerer {
  public:
    virtual ~TMessageWindowAnswerer() = default;
    virtual TModalResult Answer(const TMessageWindow& Window) = 0;
};

// Replaces the answerer (nullptr restores the default); returns the previous one.
TMessageWindowAnswerer* SetMessageWindowAnswerer(TMessageWindowAnswerer* Answerer);

// Shows a modal window and blocks until it is answered.
TModalResult ShowMessageWindow(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons);

// The standard window for an exception that reached a handler: its message and OK.
void ShowExceptionWindow(const Exception& E);
