#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small reader of RIFF files for checking what the AVI writer produced.
struct RiffChunk {
    std::string id;            // four characters
    std::string kind;          // for LIST and RIFF: the list type
    uint64_t offset = 0;       // of the chunk's id
    std::vector<uint8_t> data; // the body (for lists: after the list type)
    std::vector<RiffChunk> children;
};

// Parses a whole file; raises std::runtime_error when a size runs past its parent.
RiffChunk ParseRiff(const std::vector<uint8_t>& file);
// The first chunk with this path of ids below root, such as {"hdrl", "avih"}; lists are
// named by their kind. Nullptr when there is none.
const RiffChunk* FindChunk(const RiffChunk& root, const std::vector<std::string>& path);
uint32_t Le32(const std::vector<uint8_t>& data, size_t at);
uint16_t Le16(const std::vector<uint8_t>& data, size_t at);
