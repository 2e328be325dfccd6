#include "job/path_list_storage.h"

#include <sys/mman.h>

bool PathListStorage::Allocate(int32_t Capacity) {
    Release();
    if (Capacity < 1) return false;
    const size_t bytes = static_cast<size_t>(Capacity) * sizeof(IMAGE_LIST_CLASS);
    void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) return false;
    entries_ = static_cast<IMAGE_LIST_CLASS*>(block);
    bytes_ = bytes;
    return true;
}

void PathListStorage::Release() {
    if (entries_ != nullptr) ::munmap(entries_, bytes_);
    entries_ = nullptr;
    bytes_ = 0;
}
