#include "platform/system/folder_enumeration.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

TFolderEnumeration::~TFolderEnumeration() {
    if (dir_ != nullptr) ::closedir(dir_);
}

bool TFolderEnumeration::Open(const std::string& Folder) {
    if (dir_ != nullptr) ::closedir(dir_);
    folder_ = Folder;
    dir_ = ::opendir(Folder.empty() ? "." : Folder.c_str());
    return dir_ != nullptr;
}

TFolderEnumeration::TResult TFolderEnumeration::Next(TFolderEntry& Entry) {
    if (dir_ == nullptr) return frFailed;
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(dir_);
        if (item == nullptr) return errno == 0 ? frNoMoreEntries : frFailed;
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) continue;
        Entry.Name = item->d_name;
        if (item->d_type == DT_DIR) {
            Entry.Directory = true;
        } else if (item->d_type == DT_LNK || item->d_type == DT_UNKNOWN) {
            struct stat info {};
            const std::string path = folder_ + "/" + Entry.Name;
            Entry.Directory = ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        } else {
            Entry.Directory = false;
        }
        return frEntry;
    }
}
