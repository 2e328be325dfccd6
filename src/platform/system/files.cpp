#include "platform/system/files.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool FileExists(const char* Path) {
    struct stat info {};
    return ::stat(Path, &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const char* Path) {
    struct stat info {};
    return ::stat(Path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool ForceDirectories(const char* Path) {
    std::string path(Path);
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    if (path.empty()) return false;
    if (DirectoryExists(path.c_str())) return true;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/' && path[i] != '\\') continue;
        const std::string part = path.substr(0, i);
        if (!DirectoryExists(part.c_str()) && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
    }
    return DirectoryExists(path.c_str());
}

bool DeleteFile(const char* Path) {
    return ::unlink(Path) == 0;
}

int64_t FileSize(const char* Path) {
    struct stat info {};
    if (::stat(Path, &info) != 0) return -1;
    return info.st_size;
}

std::string ProgramPath() {
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), PATH_MAX);
    if (length <= 0) return std::string();
    return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string CurrentFolder() {
    std::vector<char> buffer(PATH_MAX + 1);
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) return std::string();
    return std::string(buffer.data());
}
