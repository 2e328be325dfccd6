#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "job/exception_boundary.h"
#include "job/image_to_video_class.h"
#include "platform/classes/exception.h"
#include "platform/classes/format.h"
#include "platform/system/folder_enumeration.h"

namespace {

constexpr int ScanDone = 0;
constexpr int ScanFailed = 1;
constexpr int ScanAborted = -1;
constexpr int ScanListFull = -100;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// The folders being scanned, from the top one down to the current one, by device and
// inode, so that a symbolic link leading back up is not followed round in a circle.
using FolderIdentity = std::pair<dev_t, ino_t>;

bool Identify(const std::string& folder, FolderIdentity& identity) {
    struct stat info {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &info) != 0) return false;
    identity = {info.st_dev, info.st_ino};
    return true;
}

class FolderScan {
  public:
    FolderScan(IMAGE_TO_VIDEO_CLASS& job, int& loaded, int& filesSeen)
        : job_(job), loaded_(loaded), filesSeen_(filesSeen) {}

    int Scan(const std::string& folder);

  private:
    int VisitFile(const std::string& path);
    bool Fits(const std::string& path);
    bool IsAncestor(const std::string& folder) const;

    IMAGE_TO_VIDEO_CLASS& job_;
    int& loaded_;
    int& filesSeen_;
    std::vector<FolderIdentity> ancestors_;
};

int FolderScan::Scan(const std::string& folder) {
    TFolderEnumeration enumeration;
    if (!enumeration.Open(folder)) return ScanFailed;
    struct PopOnExit {
        std::vector<FolderIdentity>& stack;
        size_t depth;
        ~PopOnExit() { stack.resize(depth); }
    } pop{ancestors_, ancestors_.size()};
    FolderIdentity identity{};
    if (Identify(folder, identity)) ancestors_.push_back(identity);

    const std::string prefix = EndsWithSeparator(folder) ? folder : folder + "/";
    TFolderEntry entry;
    for (;;) {
        const TFolderEnumeration::TResult next = enumeration.Next(entry);
        if (next == TFolderEnumeration::frNoMoreEntries) return ScanDone;
        if (next == TFolderEnumeration::frFailed) return ScanFailed;
        const std::string path = prefix + entry.Name;
        if (entry.Directory) {
            if (!job_.IncludeSubFolders || IsAncestor(path) || !Fits(path)) continue;
            const int result = Scan(path);
            if (result > 0) return ScanFailed;
            if (result < 0) return result;
            continue;
        }
        if (const int result = VisitFile(path); result != ScanDone) return result;
    }
}

int FolderScan::VisitFile(const std::string& path) {
    ++filesSeen_;
    if (filesSeen_ % 100 == 0 && job_.AbortFileExists()) {
        job_.WriteOutput("\n\nAborted per user request.");
        return ScanAborted;
    }
    const size_t dot = path.rfind('.');
    const std::string mask = "*" + (dot == std::string::npos ? path : path.substr(dot));
    if (!job_.MaskInList("*.*") && !job_.MaskInList(mask.c_str())) return ScanDone;
    if (!Fits(path)) return ScanDone;

    std::snprintf(job_.ImageList[job_.ImageCount].Path, IMAGE_LIST_CLASS::PathCapacity, "%s",
                  path.c_str());
    ++loaded_;
    ++job_.ImageCount;
    job_.WriteProgress(Format("\nLoaded file path %d: %s", loaded_, path.c_str()).c_str(),
                       Format("Loaded %d file paths so far...", loaded_).c_str());
    if (job_.ImageCount >= job_.ListCapacity) {
        job_.WriteOutput(
            Format(
                "\nWARNING: The number of image paths loaded has reached it's allocated limit of "
                "%d.\nFolder search terminated.\nSee the help command for instructions on "
                "changing this limit. - IMAGE_TO_VIDEO_CLASS::SearchForFiles()\n",
                job_.ListCapacity)
                .c_str());
        ++job_.WarningCount;
        return ScanListFull;
    }
    return ScanDone;
}

// A path that does not fit a list entry is passed over with a warning.
bool FolderScan::Fits(const std::string& path) {
    if (path.size() < IMAGE_LIST_CLASS::PathCapacity) return true;
    job_.WriteOutput(
        Format("\nWARNING: The path \"%s\" is longer than %d characters. It was skipped. - "
               "IMAGE_TO_VIDEO_CLASS::SearchForFiles()\n",
               path.c_str(), IMAGE_LIST_CLASS::PathCapacity - 1)
            .c_str());
    ++job_.WarningCount;
    return false;
}

bool FolderScan::IsAncestor(const std::string& folder) const {
    FolderIdentity identity{};
    if (!Identify(folder, identity)) return false;
    for (const FolderIdentity& ancestor : ancestors_)
        if (ancestor == identity) return true;
    return false;
}

} // namespace

bool IMAGE_TO_VIDEO_CLASS::MaskInList(const char* Mask) {
    const size_t length = std::strlen(Mask);
    if (length == 0) return false;
    size_t matched = 0;
    for (const char* p = MaskList; *p != '\0'; ++p) {
        const char c = Lower(*p);
        if (c == Lower(Mask[matched])) {
            if (++matched == length) return true;
            continue;
        }
        matched = 0;
        if (c == Lower(Mask[0])) {
            matched = 1;
            if (length == 1) return true;
        }
    }
    return false;
}

int IMAGE_TO_VIDEO_CLASS::SearchForFiles(const char* Folder, int& Loaded, int& FilesSeen) {
    return FolderScan(*this, Loaded, FilesSeen).Scan(Folder);
}

int IMAGE_TO_VIDEO_CLASS::AddImagesFromDir(const char* Folder) {
    auto scan = [&] {
        WriteOutput(Format("\nLoading image paths from folder: %s...", Folder).c_str());
        WriteOutput(Format("\nUsing mask list: %s", MaskList).c_str());
        WriteOutput(
            Format("\nInclude Sub Folders set to: %d\n", IncludeSubFolders ? 1 : 0).c_str());
        int loaded = 0;
        int filesSeen = 0;
        const int result = SearchForFiles(Folder, loaded, filesSeen);
        if (result == ScanFailed) {
            const char* text = "\n\nERROR: Error occured while searching for files. - "
                               "IMAGE_TO_VIDEO_CLASS::AddImagesFromDir()\n\n";
            WriteOutput(text);
            ShowErrorWindow(text);
            return 2;
        }
        if (result == ScanAborted) return -1;
        if (result == ScanListFull)
            WriteOutput("\n\nOne or more warnings occured while searching for files.\n\n");
        WriteOutput(Format("\n%d image paths loaded from input folder.\n", loaded).c_str());
        return 0;
    };
    auto failed = [this] {
        const char* text = "\nERROR: Error occured while loading images from folder. - "
                           "IMAGE_TO_VIDEO_CLASS::AddImagesFromDir()\n\n";
        WriteOutput(text);
        ShowErrorWindow(text);
        return 1;
    };
    return RunGuarded(*this, scan, failed);
}
