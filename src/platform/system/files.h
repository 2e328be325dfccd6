#pragma once

#include <cstdint>
#include <string>

// True when something that is not a folder exists at Path.
bool FileExists(const char* Path);
// True when Path exists and is a folder.
bool DirectoryExists(const char* Path);
// Creates Path together with every missing parent folder; true when the folder exists
// afterwards.
bool ForceDirectories(const char* Path);
// Deletes the file at Path; true on success.
bool DeleteFile(const char* Path);
// Size of the file at Path in bytes, or -1 when it cannot be read.
int64_t FileSize(const char* Path);

// Full path of the running program's own file.
std::string ProgramPath();
// The process's current working folder.
std::string CurrentFolder();
