#pragma once

#include <array>
#include <cstdint>
#include <deque>

#include "gif/dib_access.h"
#include "platform/imaging/dib_image.h"

// One node of the colour octree. A leaf holds the count and component sums of the pixels
// that reached it; an inner node has up to eight children.
struct TOctreeNode {
    bool Leaf = false;
    uint32_t Hits = 0;
    // 64 bits, so that a leaf of more than 16 million pixels cannot overflow.
    uint64_t RedSum = 0;
    uint64_t GreenSum = 0;
    uint64_t BlueSum = 0;
    TOctreeNode* NextFoldable = nullptr;
    std::array<TOctreeNode*, 8> Children{};
};

// Builds a palette of at most ColorLimit colours from the pixels fed to it. Colours are
// sorted into an octree DepthLimit levels deep (level d looks at bit 7 - d of each
// component); whenever there are more leaves than ColorLimit, the most recently created
// inner node of the deepest level that has any is folded into one leaf.
class TColorQuantizer {
  public:
    // ColorLimit is kept within 1..256 and DepthLimit within 1..8.
    TColorQuantizer(int ColorLimit, int DepthLimit);
    ~TColorQuantizer() = default;
    TColorQuantizer(const TColorQuantizer&) = delete;
    TColorQuantizer& operator=(const TColorQuantizer&) = delete;

    // Adds every pixel of a 24-bit reader, rows from the top, each row from the left.
    void FeedImage(TDIBReader& Reader);
    // Adds one row of Count pixels, 3 bytes each (blue, green, red).
    void FeedRow(const uint8_t* Row, int Count);
    // Writes one entry per leaf in tree order into Colors and returns how many; at most
    // Capacity entries are written.
    int WriteLeafColors(TRGBQuad* Colors, int Capacity) const;

    int GetLeafTotal() const { return LeafTotal; }
    int GetColorLimit() const { return ColorLimit; }
    int GetDepthLimit() const { return DepthLimit; }

    static int ChildIndex(uint8_t Red, uint8_t Green, uint8_t Blue, int Depth) {
        const int shift = 7 - Depth;
        return ((Red >> shift) & 1) * 4 + ((Green >> shift) & 1) * 2 + ((Blue >> shift) & 1);
    }

  private:
    TOctreeNode* NewNode(int Depth);
    void ReleaseNode(TOctreeNode* Node);
    void InsertColor(uint8_t Red, uint8_t Green, uint8_t Blue);
    // Returns false when no node is left to fold.
    bool FoldDeepest();

    int ColorLimit;
    int DepthLimit;
    int LeafTotal = 0;
    TOctreeNode* Root = nullptr;
    std::array<TOctreeNode*, 8> FoldLists{};
    // Every node lives here; released nodes are reused through FreeNodes.
    std::deque<TOctreeNode> NodeStore;
    TOctreeNode* FreeNodes = nullptr;
};
