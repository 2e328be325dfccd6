#pragma once

#include <dirent.h>
#include <string>

struct TFolderEntry {
    std::string Name;
    // A folder, or a symbolic link that leads to one.
    bool Directory = false;
};

// Lists the entries of one folder in the order the file system gives, without "." and
// "..". The folder is closed when the object goes.
class TFolderEnumeration {
  public:
    enum TResult { frEntry, frNoMoreEntries, frFailed };

    TFolderEnumeration() = default;
    ~TFolderEnumeration();
    TFolderEnumeration(const TFolderEnumeration&) = delete;
    TFolderEnumeration& operator=(const TFolderEnumeration&) = delete;

    // False when the folder does not exist or cannot be read.
    bool Open(const std::string& Folder);
    TResult Next(TFolderEntry& Entry);

  private:
    DIR* dir_ = nullptr;
    std::string folder_;
};
