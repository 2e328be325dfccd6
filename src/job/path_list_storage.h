#pragma once

#include <cstddef>
#include <cstdint>

#include "job/image_list_class.h"

// The path list's fixed block of entries. The block is reserved from the system at once
// but a page costs memory only when an entry on it is written, so a large capacity of
// which few entries are used stays cheap. New entries read as the empty string.
class PathListStorage {
  public:
    PathListStorage() = default;
    ~PathListStorage() { Release(); }
    PathListStorage(const PathListStorage&) = delete;
    PathListStorage& operator=(const PathListStorage&) = delete;

    // Reserves Capacity empty entries; false when the block cannot be had.
    bool Allocate(int32_t Capacity);
    void Release();
    bool Allocated() const { return entries_ != nullptr; }

    IMAGE_LIST_CLASS& operator[](int32_t Index) { return entries_[Index]; }
    const IMAGE_LIST_CLASS& operator[](int32_t Index) const { return entries_[Index]; }

  private:
    IMAGE_LIST_CLASS* entries_ = nullptr;
    size_t bytes_ = 0;
};
