#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>

TempFolder::TempFolder() {
    char pattern[] = "/tmp/vntrl-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& Path, const std::string& Content) {
    const std::filesystem::path path(Path);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(Path, std::ios::binary);
    out << Content;
}

std::string ReadFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool PathExists(const std::string& Path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(Path, ignored));
}
