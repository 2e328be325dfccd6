#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "job/path_sort_compare.h"
#include "job/path_sort_order.h"

namespace {

// The plain selection sort with the same comparison, as the reference order.
std::vector<std::string> ReferenceSort(std::vector<std::string> keys, bool forward) {
    for (size_t i = 0; i < keys.size(); ++i) {
        size_t best = i;
        for (size_t j = i + 1; j < keys.size(); ++j)
            if (CandidateWins(keys[best], keys[j], forward)) best = j;
        if (best != i) std::swap(keys[i], keys[best]);
    }
    return keys;
}

std::vector<std::string> PlannedSort(std::vector<std::string> keys, bool forward,
                                     bool* usedRanks = nullptr) {
    SelectionOrder order(keys, forward);
    for (size_t i = 0; i < keys.size(); ++i) {
        const size_t best = order.SelectAndExchange(i);
        if (best != i) std::swap(keys[i], keys[best]);
    }
    if (usedRanks != nullptr) *usedRanks = order.UsesRanks();
    return keys;
}

using Keys = std::vector<std::string>;

} // namespace

TEST(SortKey, LowersLettersAndKeepsTheLastCharacters) {
    EXPECT_EQ(SortKey("C:/Pics/IMG5.JPG", -1), "c:/pics/img5.jpg");
    EXPECT_EQ(SortKey("/pics/x.JPG", 3), "jpg");
    EXPECT_EQ(SortKey("x.JPG", 5), "x.jpg");
    EXPECT_EQ(SortKey("x.JPG", 50), "x.jpg");
    EXPECT_EQ(SortKey("x.JPG", 0), "");
    EXPECT_EQ(SortKey("x.JPG", -2), "");
    EXPECT_EQ(SortKey("\xC9T\xC9", -1), "\xC9t\xC9") << "only A to Z are lowered";
}

TEST(CandidateWins, ComparesDigitRunsByValue) {
    struct Case {
        const char* current;
        const char* candidate;
        bool forwardWins;
        bool backwardWins;
    } cases[] = {
        {"img2.jpg", "img10.jpg", false, true},
        {"img10.jpg", "img2.jpg", true, false},
        {"img5.jpg", "img5.jpg", false, false},
        {"a007b", "a7c", true,
         false}, // equal runs resume after the current key's run: b meets the end
        {"a7c", "a007b", true, false}, // resumes at 2 on both: c against the second 0 of 007
        {"abcd", "abc", true, true},   // a proper prefix comes first in both directions
        {"abc", "abcd", false, false},
        {"a\xE9", "ab", false, true},      // bytes above 127 count as negative
        {"abc1", "abc1\xE9", true, false}, // after a run the end of a key counts as 0
        {"", "", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CandidateWins(c.current, c.candidate, true), c.forwardWins)
            << c.current << " vs " << c.candidate;
        EXPECT_EQ(CandidateWins(c.current, c.candidate, false), c.backwardWins)
            << c.current << " vs " << c.candidate;
    }
}

TEST(CandidateWins, VeryLongRunsCompareAsExtendedValues) {
    const std::string a = "x" + std::string(25, '9');
    const std::string b = "x1" + std::string(25, '0'); // 10^25, the value 25 nines round to
    EXPECT_TRUE(CandidateWins("x" + std::string(24, '9') + "8", "x" + std::string(24, '9'), true));
    EXPECT_FALSE(CandidateWins(b, a, true))
        << "equal in extended precision, and both keys end with the run";
}

TEST(SelectionOrder, ReproducesTheSelectionSortOnTheUsualExamples) {
    struct Case {
        Keys keys;
        bool forward;
        Keys sorted;
    } cases[] = {
        {{"img2.jpg", "img10.jpg", "img1.jpg"}, true, {"img1.jpg", "img2.jpg", "img10.jpg"}},
        {{"img2.jpg", "img10.jpg", "img1.jpg"}, false, {"img10.jpg", "img2.jpg", "img1.jpg"}},
        {{"abcd", "abc"}, false, {"abc", "abcd"}},
        {{"b\xE9", "ba", "bz"}, true, {"b\xE9", "ba", "bz"}},
        {{"only"}, true, {"only"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlannedSort(c.keys, c.forward), c.sorted);
        EXPECT_EQ(ReferenceSort(c.keys, c.forward), c.sorted);
    }
}

TEST(SelectionOrder, KeepsTheUnstableOrderOfEqualKeys) {
    // Keys as a sort depth of 3 leaves them: the exchanges move equal keys past each other.
    Keys keys = {"jpg#1", "bmp#1", "jpg#2", "bmp#2", "jpg#3", "bmp#3"};
    Keys trimmed;
    for (const std::string& k : keys)
        trimmed.push_back(k.substr(0, 3));
    // Track identities through the planned exchanges.
    SelectionOrder order(trimmed, true);
    for (size_t i = 0; i < keys.size(); ++i) {
        const size_t best = order.SelectAndExchange(i);
        if (best != i) std::swap(keys[i], keys[best]);
    }
    EXPECT_EQ(keys, (Keys{"bmp#1", "bmp#2", "bmp#3", "jpg#1", "jpg#3", "jpg#2"}));
}

TEST(SelectionOrder, MatchesTheSelectionSortOnRandomLists) {
    std::mt19937 random(20261211);
    const std::vector<std::string> pieces = {
        "img", "IMG", "0", "00",   "7",    "007", "10", "9",  "x",
        "",    "/",   "_", ".jpg", "\xE9", "a",   "1",  "01", "99999999999999999999999"};
    int rankedLists = 0;
    for (int round = 0; round < 3000; ++round) {
        const size_t count = 1 + random() % 14;
        Keys keys;
        // Half of the lists avoid leading zeros so that the ranked path is exercised.
        const bool plain = round % 2 == 0;
        for (size_t i = 0; i < count; ++i) {
            std::string key;
            const size_t parts = random() % 5;
            for (size_t p = 0; p < parts; ++p) {
                const std::string& piece = pieces[random() % pieces.size()];
                if (plain && (piece.size() > 1 && piece[0] == '0')) continue;
                key += piece;
            }
            if (plain && key.empty()) key = "x";
            keys.push_back(key);
        }
        for (bool forward : {true, false}) {
            bool ranked = false;
            ASSERT_EQ(PlannedSort(keys, forward, &ranked), ReferenceSort(keys, forward))
                << "round " << round;
            rankedLists += ranked ? 1 : 0;
        }
    }
    EXPECT_GT(rankedLists, 1000) << "the ranked path must have been tried";
}

TEST(SelectionOrder, NumberedPhotoNamesUseTheRankedPath) {
    Keys keys;
    for (int i = 200; i >= 1; --i)
        keys.push_back("/photos/2024/img_" + std::string(5 - std::to_string(i).size(), '0') +
                       std::to_string(i) + ".jpg");
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    bool ranked = false;
    EXPECT_EQ(PlannedSort(keys, true, &ranked), ReferenceSort(keys, true));
    EXPECT_TRUE(ranked);
}
