#include "gif/hash_table.h"

#include "platform/classes/exception.h"

void THashTable::AddCode(uint32_t Key, int Code) {
    int slot = SlotOf(Key);
    for (int probes = 0; probes < HashTableSize; ++probes) {
        if ((Slots[slot] >> 12) == EmptyKey) {
            Slots[slot] = (Key << 12) | (static_cast<uint32_t>(Code) & 0xFFF);
            return;
        }
        slot = NextSlot(slot);
    }
    throw EInvalidOperation("LZW string table is full");
}
