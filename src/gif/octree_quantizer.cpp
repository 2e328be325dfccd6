#include "gif/octree_quantizer.h"

#include <algorithm>

TColorQuantizer::TColorQuantizer(int ColorLimit, int DepthLimit)
    : ColorLimit(std::clamp(ColorLimit, 1, 256)), DepthLimit(std::clamp(DepthLimit, 1, 8)) {}

TOctreeNode* TColorQuantizer::NewNode(int Depth) {
    TOctreeNode* node;
    if (FreeNodes != nullptr) {
        node = FreeNodes;
        FreeNodes = node->NextFoldable;
        *node = TOctreeNode{};
    } else {
        node = &NodeStore.emplace_back();
    }
    if (Depth == DepthLimit) {
        node->Leaf = true;
        ++LeafTotal;
    } else {
        node->NextFoldable = FoldLists[Depth];
        FoldLists[Depth] = node;
    }
    return node;
}

void TColorQuantizer::ReleaseNode(TOctreeNode* Node) {
    Node->NextFoldable = FreeNodes;
    FreeNodes = Node;
}

void TColorQuantizer::InsertColor(uint8_t Red, uint8_t Green, uint8_t Blue) {
    TOctreeNode** slot = &Root;
    for (int depth = 0;; ++depth) {
        if (*slot == nullptr) *slot = NewNode(depth);
        TOctreeNode* node = *slot;
        if (node->Leaf) {
            ++node->Hits;
            node->RedSum += Red;
            node->GreenSum += Green;
            node->BlueSum += Blue;
            return;
        }
        slot = &node->Children[ChildIndex(Red, Green, Blue, depth)];
    }
}

bool TColorQuantizer::FoldDeepest() {
    int depth = DepthLimit - 1;
    while (depth > 0 && FoldLists[depth] == nullptr)
        --depth;
    TOctreeNode* node = FoldLists[depth];
    if (node == nullptr) return false;
    FoldLists[depth] = node->NextFoldable;
    node->NextFoldable = nullptr;
    // The deepest level with inner nodes was chosen, so every child is a leaf.
    int children = 0;
    for (TOctreeNode*& child : node->Children) {
        if (child == nullptr) continue;
        node->Hits += child->Hits;
        node->RedSum += child->RedSum;
        node->GreenSum += child->GreenSum;
        node->BlueSum += child->BlueSum;
        ReleaseNode(child);
        child = nullptr;
        ++children;
    }
    node->Leaf = true;
    LeafTotal -= children - 1;
    return true;
}

void TColorQuantizer::FeedRow(const uint8_t* Row, int Count) {
    for (int x = 0; x < Count; ++x, Row += 3) {
        InsertColor(Row[2], Row[1], Row[0]);
        while (LeafTotal > ColorLimit)
            if (!FoldDeepest()) break;
    }
}

void TColorQuantizer::FeedImage(TDIBReader& Reader) {
    const int width = Reader.GetWidth();
    const int height = Reader.GetHeight();
    for (int y = 0; y < height; ++y)
        FeedRow(Reader.RowAt(y), width);
}

namespace {

void WriteLeaves(const TOctreeNode* node, TRGBQuad* colors, int capacity, int& count) {
    if (node == nullptr) return;
    if (node->Leaf) {
        if (count >= capacity) return;
        TRGBQuad& entry = colors[count++];
        entry = TRGBQuad{};
        if (node->Hits != 0) {
            entry.rgbRed = static_cast<uint8_t>(node->RedSum / node->Hits);
            entry.rgbGreen = static_cast<uint8_t>(node->GreenSum / node->Hits);
            entry.rgbBlue = static_cast<uint8_t>(node->BlueSum / node->Hits);
        }
        return;
    }
    for (const TOctreeNode* child : node->Children)
        WriteLeaves(child, colors, capacity, count);
}

} // namespace

int TColorQuantizer::WriteLeafColors(TRGBQuad* Colors, int Capacity) const {
    int count = 0;
    WriteLeaves(Root, Colors, Capacity, count);
    return count;
}
