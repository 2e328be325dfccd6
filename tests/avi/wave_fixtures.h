#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds WAV files chunk by chunk.
struct WaveBuilder {
    std::vector<uint8_t> bytes;

    WaveBuilder& Text(const char* four) {
        bytes.insert(bytes.end(), four, four + 4);
        return *this;
    }
    WaveBuilder& U16(uint16_t v) {
        bytes.push_back(static_cast<uint8_t>(v));
        bytes.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    WaveBuilder& U32(uint32_t v) {
        return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
    }
    WaveBuilder& Raw(const std::vector<uint8_t>& data) {
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    // "fmt " with the sixteen bytes of PCM and Extra bytes more.
    WaveBuilder& Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                        const std::vector<uint8_t>& extra = {}) {
        const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
        Text("fmt ").U32(static_cast<uint32_t>(16 + extra.size()));
        U16(tag).U16(channels).U32(rate).U32(rate * align).U16(align).U16(bits);
        return Raw(extra);
    }
    WaveBuilder& Data(const std::vector<uint8_t>& samples, uint32_t claimed = 0) {
        Text("data").U32(claimed != 0 ? claimed : static_cast<uint32_t>(samples.size()));
        return Raw(samples);
    }
    // RIFF header in front of what was built.
    std::vector<uint8_t> File() const {
        WaveBuilder whole;
        whole.Text("RIFF").U32(static_cast<uint32_t>(bytes.size() + 4)).Text("WAVE").Raw(bytes);
        return whole.bytes;
    }
    std::string FileText() const {
        const std::vector<uint8_t> file = File();
        return std::string(file.begin(), file.end());
    }
};

inline std::vector<uint8_t> Samples(size_t count) {
    std::vector<uint8_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<uint8_t>(i * 37 + 11);
    return samples;
}
