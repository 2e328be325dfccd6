#include <gtest/gtest.h>

#include <vector>

#include "gif/hash_table.h"
#include "platform/classes/exception.h"

namespace {

uint32_t HomeSlot(uint32_t key) {
    return ((key >> 4) ^ key) % 8009;
}

// Keys whose home slot lies on the cycle 1, 2, 4, 8, ... (mod 8009): a table that probed by
// doubling would have only that cycle's 4004 slots for all of them.
std::vector<uint32_t> KeysOnTheDoublingCycle(size_t count) {
    std::vector<bool> onCycle(8009, false);
    uint32_t slot = 1;
    for (int i = 0; i < 4004; ++i, slot = slot * 2 % 8009)
        onCycle[slot] = true;
    std::vector<uint32_t> keys;
    for (uint32_t key = 0; key < 4095u * 256u && keys.size() < count; ++key)
        if (onCycle[HomeSlot(key)]) keys.push_back(key);
    return keys;
}

} // namespace

TEST(HashTable, FindsWhatWasAddedAndNothingElse) {
    THashTable table;
    table.AddCode(0x12345, 300);
    table.AddCode(0x00000, 258);
    EXPECT_EQ(table.FindCode(0x12345), 300);
    EXPECT_EQ(table.FindCode(0), 258);
    EXPECT_EQ(table.FindCode(0x12346), -1);
    table.ResetTable();
    EXPECT_EQ(table.FindCode(0x12345), -1);
}

TEST(HashTable, MoreKeysThanOneProbeCycleHoldsAreAllFoundAndMissesEnd) {
    const std::vector<uint32_t> keys = KeysOnTheDoublingCycle(4090);
    ASSERT_EQ(keys.size(), 4090u);
    THashTable table;
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        table.AddCode(keys[i], static_cast<int>(i % 4096));
    for (size_t i = 0; i + 1 < keys.size(); ++i)
        ASSERT_EQ(table.FindCode(keys[i]), static_cast<int>(i % 4096));
    EXPECT_EQ(table.FindCode(keys.back()), -1);
}

TEST(HashTable, FullTableStillAnswersAndRefusesMore) {
    THashTable table;
    const int usable = THashTable::HashTableSize - 1;
    for (int i = 0; i < usable; ++i)
        table.AddCode(static_cast<uint32_t>(i), i & 0xFFF);
    EXPECT_EQ(table.FindCode(9000), -1);
    EXPECT_EQ(table.FindCode(8007), 8007 & 0xFFF);
    EXPECT_THROW(table.AddCode(9000, 1), EInvalidOperation);
    int slot = -1;
    EXPECT_EQ(table.FindCode(9000, slot), -1);
    EXPECT_THROW(table.AddCodeAt(slot, 9000, 1), EInvalidOperation);
    table.ResetTable();
    table.AddCode(9000, 1);
    EXPECT_EQ(table.FindCode(9000), 1);
}

TEST(HashTable, AddCodeAtStoresWhereTheMissEnded) {
    THashTable table;
    for (uint32_t key = 0; key < 3000; key += 3) {
        int slot = -1;
        ASSERT_EQ(table.FindCode(key, slot), -1);
        table.AddCodeAt(slot, key, static_cast<int>(key % 4096));
    }
    for (uint32_t key = 0; key < 3000; ++key)
        ASSERT_EQ(table.FindCode(key), key % 3 == 0 ? static_cast<int>(key % 4096) : -1) << key;
}
