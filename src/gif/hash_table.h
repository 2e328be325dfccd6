#pragma once

#include <cstdint>
#include <cstring>

// The LZW string table: an open-addressed array of 8009 words, each holding
// key * 4096 + code, where key = prefix code * 256 + pixel value. A word whose upper 20
// bits are all ones is free. Probing steps to the next slot, so every search meets a free
// slot or has looked at every slot once.
class THashTable {
  public:
    static constexpr int HashTableSize = 8009;

    THashTable() { ResetTable(); }

    void ResetTable() { std::memset(Slots, 0xFF, sizeof(Slots)); }

    // Stores Code under Key; raises when every slot is taken (the encoder stores at most
    // 4089 codes between two resets, so it never meets this).
    void AddCode(uint32_t Key, int Code);

    // The code stored under Key, or -1.
    int FindCode(uint32_t Key) const {
        int slot = SlotOf(Key);
        for (int probes = 0; probes < HashTableSize; ++probes) {
            const uint32_t entry = Slots[slot];
            const uint32_t stored = entry >> 12;
            if (stored == Key) return static_cast<int>(entry & 0xFFF);
            if (stored == EmptyKey) return -1;
            slot = NextSlot(slot);
        }
        return -1;
    }

  private:
    static constexpr uint32_t EmptyKey = 0xFFFFF;

    static int SlotOf(uint32_t Key) { return static_cast<int>(((Key >> 4) ^ Key) % HashTableSize); }
    static int NextSlot(int Slot) { return Slot + 1 == HashTableSize ? 0 : Slot + 1; }

    uint32_t Slots[HashTableSize];
};
