#include "gif/hash_table.h"

#include "platform/classes/exception.h"

void THashTable::AddCode(uint32_t Key, int Code) {
    if (Stored == HashTableSize - 1) TableFull();
    int slot = SlotOf(Key);
    while ((Slots[slot] >> 12) != EmptyKey)
        slot = NextSlot(slot);
    Slots[slot] = (Key << 12) | (static_cast<uint32_t>(Code) & 0xFFF);
    ++Stored;
}

void THashTable::TableFull() {
    throw EInvalidOperation("LZW string table is full");
}
