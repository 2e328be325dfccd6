#include "job/reporting.h"

#include <cstring>

#include "platform/classes/format.h"
#include "platform/system/console.h"
#include "platform/system/message_window.h"

void WriteOutputTo(const char* Text, bool LogOpen, std::FILE* Log) {
    ConsoleWrite(Text);
    WriteLogOnly(Text, LogOpen, Log);
}

void WriteLogOnly(const char* Text, bool LogOpen, std::FILE* Log) {
    if (!LogOpen || Log == nullptr) return;
    std::fwrite(Text, 1, std::strlen(Text), Log);
    std::fflush(Log);
}

void ShowErrorWindowWith(const char* Text, bool LogOpen, bool ShowWindows) {
    std::string window;
    if (LogOpen) {
        ConsoleWrite("\nSee log file for details.");
        window = Format("%s\nSee log file for details.", Text);
    } else {
        window = Format("%s\nSee output for details.", Text);
    }
    if (ShowWindows) ShowMessageWindow(window, mtError, mbOK);
}

std::string AbortMarkerPath(const char* Folder, const char* Name) {
    return Format("%s/%s", Folder, Name);
}
