#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Reproduces the choices of the selection sort over a list of sort keys: for each
// position i in turn it names the entry the sort would exchange into position i.
//
// The selection sort keeps the first entry (from i on) that no later candidate beats.
// When the key comparison orders the keys consistently, that is the first entry holding
// the smallest rank, which a tree of minima finds in logarithmic time. The comparison is
// consistent unless two digit runs that start at the same position have the same value
// but a different length (img007 against img7), runs are too long to be compared
// exactly, or an empty key sits among others (it ties with every key); for such lists
// every choice is made by the sort's own scan.
class SelectionOrder {
  public:
    SelectionOrder(std::vector<std::string> Keys, bool Forward);

    // The position (>= I) whose entry the sort exchanges into position I; the order's
    // own bookkeeping does the exchange. Called for I = 0, 1, 2, ... in turn.
    size_t SelectAndExchange(size_t I);

    bool UsesRanks() const { return !rankTree_.empty(); }

  private:
    bool ComparisonIsConsistent() const;
    void BuildRanks();
    void SetLeaf(size_t position, size_t rank);

    std::vector<std::string> keys_;
    bool forward_;
    std::vector<size_t> ranks_;    // by position
    std::vector<size_t> rankTree_; // positions; an inner node holds the better of its two children
    size_t leaves_ = 0;
};
