#include "support/riff_reader.h"

#include <stdexcept>

namespace {

std::string Id(const std::vector<uint8_t>& file, uint64_t at) {
    return std::string(reinterpret_cast<const char*>(file.data() + at), 4);
}

void ParseChildren(const std::vector<uint8_t>& file, uint64_t begin, uint64_t end,
                   RiffChunk& parent) {
    for (uint64_t at = begin; at + 8 <= end;) {
        RiffChunk chunk;
        chunk.id = Id(file, at);
        chunk.offset = at;
        const uint64_t size = Le32(file, at + 4);
        if (at + 8 + size > end)
            throw std::runtime_error("chunk " + chunk.id + " runs past its parent");
        if (chunk.id == "LIST") {
            chunk.kind = Id(file, at + 8);
            ParseChildren(file, at + 12, at + 8 + size, chunk);
        } else {
            chunk.data.assign(file.begin() + static_cast<long>(at + 8),
                              file.begin() + static_cast<long>(at + 8 + size));
        }
        parent.children.push_back(std::move(chunk));
        at += 8 + size + (size % 2);
    }
}

} // namespace

uint32_t Le32(const std::vector<uint8_t>& data, size_t at) {
    return data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
           (static_cast<uint32_t>(data[at + 3]) << 24);
}

uint16_t Le16(const std::vector<uint8_t>& data, size_t at) {
    return static_cast<uint16_t>(data[at] | (data[at + 1] << 8));
}

RiffChunk ParseRiff(const std::vector<uint8_t>& file) {
    if (file.size() < 12 || Id(file, 0) != "RIFF") throw std::runtime_error("not a RIFF file");
    RiffChunk root;
    root.id = "RIFF";
    root.kind = Id(file, 8);
    const uint64_t size = Le32(file, 4);
    if (8 + size != file.size()) throw std::runtime_error("RIFF size does not match the file");
    ParseChildren(file, 12, 8 + size, root);
    return root;
}

const RiffChunk* FindChunk(const RiffChunk& root, const std::vector<std::string>& path) {
    const RiffChunk* at = &root;
    for (const std::string& name : path) {
        const RiffChunk* next = nullptr;
        for (const RiffChunk& child : at->children)
            if ((child.id == "LIST" ? child.kind : child.id) == name) {
                next = &child;
                break;
            }
        if (next == nullptr) return nullptr;
        at = next;
    }
    return at;
}
