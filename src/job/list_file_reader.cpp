#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "job/exception_boundary.h"
#include "job/image_to_video_class.h"
#include "platform/classes/format.h"
#include "platform/system/files.h"

namespace {

constexpr int QuoteSearchLimit = 30000;
constexpr int PathReadLimit = 1023; // characters read for one path, closing quote included

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using ListFile = std::unique_ptr<std::FILE, FileCloser>;

enum class QuoteSearch { Found, EndOfFile, OpenComment, TooFar };

// Reads up to the double quote that opens the next entry, passing over free text and
// both kinds of comment.
QuoteSearch FindOpeningQuote(std::FILE* file) {
    int previous = EOF;
    for (int read = 0; read < QuoteSearchLimit;) {
        const int c = std::getc(file);
        if (c == EOF) return QuoteSearch::EndOfFile;
        ++read;
        if (previous == '/' && c == '/') {
            int body;
            do
                body = std::getc(file);
            while (body != EOF && body != '\n' && body != '\r');
            continue;
        }
        if (previous == '/' && c == '*') {
            int before = EOF;
            int body;
            while ((body = std::getc(file)) != EOF && !(before == '*' && body == '/'))
                before = body;
            if (body == EOF) return QuoteSearch::OpenComment;
            continue;
        }
        previous = c;
        if (c == '"') return QuoteSearch::Found;
    }
    return QuoteSearch::TooFar;
}

// Reads the count at the start of the file: white space, an optional sign, digits.
// False when there are no digits; values beyond the 32-bit range stop at its ends.
bool ReadCount(std::FILE* file, int& count) {
    int c;
    do
        c = std::getc(file);
    while (c == ' ' || (c >= '\t' && c <= '\r'));
    const bool negative = c == '-';
    if (c == '+' || c == '-') c = std::getc(file);
    if (c < '0' || c > '9') return false;
    long long value = 0;
    for (; c >= '0' && c <= '9'; c = std::getc(file))
        value = std::min(value * 10 + (c - '0'), 1LL << 31);
    if (c != EOF) std::ungetc(c, file);
    count =
        negative ? static_cast<int>(-value) : static_cast<int>(std::min(value, (1LL << 31) - 1));
    return true;
}

// Reads one path up to its closing quote; Read tells how many characters were taken.
std::string ReadPath(std::FILE* file, int& read) {
    std::string path;
    for (read = 0; read < PathReadLimit;) {
        const int c = std::getc(file);
        if (c == EOF) return path;
        ++read;
        if (c == '"') return path;
        path += static_cast<char>(c);
    }
    return path;
}

} // namespace

int IMAGE_TO_VIDEO_CLASS::AddImagesFromFile(const char* FileName) {
    ListFile file;
    auto windowAndText = [this](const char* text) {
        ShowErrorWindow(text);
        WriteOutput(text);
    };
    auto textAndWindow = [this](const char* text) {
        WriteOutput(text);
        ShowErrorWindow(text);
    };
    auto read = [&]() -> int {
        WriteOutput(Format("\nLoading image paths from file: %s...\n", FileName).c_str());
        if (!FileExists(FileName)) {
            windowAndText("\nERROR: The specified input file does not exist. - "
                          "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
            return 2;
        }
        file.reset(std::fopen(FileName, "r"));
        if (!file) {
            windowAndText(
                "\nERROR: Unable to open input file. Please make sure that the file is accessible "
                "and that "
                "no other programs are using it. - IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
            return 3;
        }
        int count = 0;
        if (!ReadCount(file.get(), count) || count < 1) {
            windowAndText("\nERROR: The number of image paths to load is not valid. - "
                          "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
            return 4;
        }
        int loaded = 0;
        int warnings = 0;
        for (int i = 0; i < count; ++i) {
            if (i % 100 == 0 && AbortFileExists()) {
                WriteOutput("\n\nAborted per user request.");
                return -1;
            }
            switch (FindOpeningQuote(file.get())) {
            case QuoteSearch::Found:
                break;
            case QuoteSearch::OpenComment:
                textAndWindow("\nERROR: Ending comment marker \"*/\" was not found in the input "
                              "file. End of file "
                              "reached. - IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
                return 5;
            case QuoteSearch::EndOfFile:
                textAndWindow("\nERROR: Input file ended unexpectedly. Read cancelled. - "
                              "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
                return 6;
            case QuoteSearch::TooFar:
                textAndWindow("\nERROR: 30,000 characters were scanned without finding double "
                              "quotes. File read "
                              "cancelled. finding an image path. - "
                              "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
                return 7;
            }
            int taken = 0;
            const std::string path = ReadPath(file.get(), taken);
            WriteProgress(
                Format("\nLoaded file path %d of %d: %s", i + 1, count, path.c_str()).c_str(),
                Format("Loading file path %d of %d...", i + 1, count).c_str());
            if (taken >= PathReadLimit) {
                windowAndText(
                    "\nERROR: A file path in the input list exceeds the maximum path limit for "
                    "this "
                    "program of 1000 characters. - IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
                return 7;
            }
            if (!FileExists(path.c_str())) {
                WriteOutput(Format("\nWARNING: file \"%s\" does not exist. File skipped. - "
                                   "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n",
                                   path.c_str())
                                .c_str());
                ++warnings;
                continue;
            }
            std::snprintf(ImageList[ImageCount].Path, IMAGE_LIST_CLASS::PathCapacity, "%s",
                          path.c_str());
            ++loaded;
            ++ImageCount;
            if (ImageCount >= ListCapacity) {
                WriteOutput(Format("\nWARNING: The number of image paths loaded has reached it's "
                                   "allocated limit "
                                   "of %d.\nThe rest of the image paths in the input file will be "
                                   "ignored.\nSee the "
                                   "help command for instructions on changing this limit. - "
                                   "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n",
                                   ListCapacity)
                                .c_str());
                ++warnings;
                break;
            }
        }
        file.reset();
        if (warnings == 0) {
            WriteOutput(Format("\n\n%d image paths loaded from file.\n", loaded).c_str());
        } else {
            WriteOutput(Format("\n\n%d image paths loaded from file. There were %d warnings.\n",
                               loaded, warnings)
                            .c_str());
            WarningCount += warnings;
        }
        if (loaded == 0) {
            windowAndText("\n\nERROR: Zero image paths were added to the list.All picture file "
                          "paths are invalid. - "
                          "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
            return 8;
        }
        return 0;
    };
    auto failed = [&] {
        file.reset();
        windowAndText("\nError occured while loading images from file. - "
                      "IMAGE_TO_VIDEO_CLASS::AddImagesFromFile()\n\n");
        return 1;
    };
    return RunGuarded(*this, read, failed);
}
