#pragma once

#include <cstdint>
#include <cstring>

// The LZW string table: an open-addressed array of 8192 words, each holding
// key * 4096 + code, where key = prefix code * 256 + pixel value. A word whose upper 20
// bits are all ones is free. Probing steps to the next slot, and one slot always stays
// free, so every search ends at its key or at a free slot.
class THashTable {
  public:
    static constexpr int HashTableSize = 8192;

    THashTable() { ResetTable(); }

    void ResetTable() {
        std::memset(Slots, 0xFF, sizeof(Slots));
        Stored = 0;
    }

    // Stores Code under Key; raises when only the last free slot is left (the encoder
    // stores at most 4089 codes between two resets, so it never meets this).
    void AddCode(uint32_t Key, int Code);

    // The code stored under Key, or -1.
    int FindCode(uint32_t Key) const {
        int slot;
        return FindCode(Key, slot);
    }

    // The same, also telling the slot where the search ended: for a missing key the free
    // slot where AddCodeAt can store it, as long as nothing else is stored in between.
    int FindCode(uint32_t Key, int& Slot) const {
        int slot = SlotOf(Key);
        for (;;) {
            const uint32_t entry = Slots[slot];
            const uint32_t stored = entry >> 12;
            if (stored == Key) {
                Slot = slot;
                return static_cast<int>(entry & 0xFFF);
            }
            if (stored == EmptyKey) {
                Slot = slot;
                return -1;
            }
            slot = NextSlot(slot);
        }
    }

    void AddCodeAt(int Slot, uint32_t Key, int Code) {
        if (Stored == HashTableSize - 1) TableFull();
        Slots[Slot] = (Key << 12) | (static_cast<uint32_t>(Code) & 0xFFF);
        ++Stored;
    }

  private:
    [[noreturn]] static void TableFull();

    static constexpr uint32_t EmptyKey = 0xFFFFF;

    // A multiplicative hash spreads the keys of one prefix, which differ only in their low
    // byte, over the whole table; the product's top 13 bits pick the slot.
    static int SlotOf(uint32_t Key) { return static_cast<int>((Key * 0x9E3779B1u) >> 19); }
    static int NextSlot(int Slot) { return (Slot + 1) & (HashTableSize - 1); }

    uint32_t Slots[HashTableSize];
    int Stored = 0;
};
