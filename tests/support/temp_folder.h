#pragma once

#include <string>

// A fresh folder under /tmp, removed with everything in it when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Path + "/" + Relative.
    std::string operator/(const std::string& Relative) const { return path_ + "/" + Relative; }

  private:
    std::string path_;
};

// Writes Content to Path, creating missing parent folders.
void WriteFile(const std::string& Path, const std::string& Content);
std::string ReadFile(const std::string& Path);
bool PathExists(const std::string& Path);
