#include "gif/gif_color_map.h"

#include <cstring>

#include "gif/gif_header.h"
#include "gif/gif_image.h"
#include "gif/gif_sub_image.h"

void TGIFColorMap::Assign(const TPersistent* Source) {
    if (const auto* other = dynamic_cast<const TGIFColorMap*>(Source)) {
        Entries = other->Entries;
        EntryCount = other->EntryCount;
        EntryCapacity = other->EntryCapacity;
        SortedByUsage = other->SortedByUsage;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TGIFColorMap::Clear() {
    Entries.clear();
    Entries.shrink_to_fit();
    EntryCount = 0;
    EntryCapacity = 0;
    SortedByUsage = false;
}

void TGIFColorMap::SetCapacity(int Size) {
    if (Size < EntryCapacity) return;
    int capacity = Size <= 16 ? 16 : (Size + 31) / 32 * 32;
    if (capacity > 256) capacity = 256;
    EntryCapacity = capacity;
    Entries.resize(static_cast<size_t>(capacity));
}

int TGIFColorMap::Add(TColor Color) {
    if (EntryCount >= 256) throw GIFException("Color table overflow");
    if (EntryCount >= EntryCapacity) SetCapacity(EntryCount + 1);
    Entries[static_cast<size_t>(EntryCount)] = ColorToTriple(Color);
    const int index = EntryCount++;
    SortedByUsage = false;
    Changed();
    return index;
}

int TGIFColorMap::AddUnique(TColor Color) {
    const int index = IndexOf(Color);
    return index >= 0 ? index : Add(Color);
}

int TGIFColorMap::IndexOf(TColor Color) const {
    const TGIFColor wanted = ColorToTriple(Color);
    auto same = [&](int i) {
        const TGIFColor& entry = Entries[static_cast<size_t>(i)];
        return entry.Red == wanted.Red && entry.Green == wanted.Green && entry.Blue == wanted.Blue;
    };
    if (SortedByUsage) {
        for (int i = 0; i < EntryCount; ++i)
            if (same(i)) return i;
    } else {
        for (int i = EntryCount - 1; i >= 0; --i)
            if (same(i)) return i;
    }
    return -1;
}

void TGIFColorMap::Delete(int Index) {
    if (Index < 0 || Index >= EntryCount) throw GIFException("Invalid color index");
    Entries.erase(Entries.begin() + Index);
    Entries.emplace_back();
    --EntryCount;
    SortedByUsage = false;
    Changed();
}

TColor TGIFColorMap::GetColor(int Index) {
    if (Index < 0 || Index >= EntryCount) {
        Warning(gsWarning, "Invalid color index");
        if (EntryCount == 0) throw GIFException("Color table is empty");
        Index = 0;
    }
    return TripleToColor(Entries[static_cast<size_t>(Index)]);
}

void TGIFColorMap::SetColor(int Index, TColor Color) {
    if (Index < 0 || Index >= EntryCount) throw GIFException("Invalid color index");
    Entries[static_cast<size_t>(Index)] = ColorToTriple(Color);
    Changed();
}

void TGIFColorMap::ImportColorMap(const TGIFColor* Map, int Count) {
    Clear();
    if (Count <= 0) return;
    if (Count > 256) Count = 256;
    SetCapacity(Count);
    std::memcpy(Entries.data(), Map, static_cast<size_t>(Count) * sizeof(TGIFColor));
    EntryCount = Count;
    Changed();
}

void TGIFColorMap::SaveToStream(TStream& Stream) const {
    if (EntryCount == 0) return;
    uint8_t table[256 * 3] = {};
    for (int i = 0; i < EntryCount; ++i) {
        const TGIFColor& entry = Entries[static_cast<size_t>(i)];
        table[i * 3] = entry.Red;
        table[i * 3 + 1] = entry.Green;
        table[i * 3 + 2] = entry.Blue;
    }
    Stream.WriteBuffer(table, (int64_t{1} << GetBitsPerPixel()) * 3);
}

void TGIFGlobalColorMap::Warning(TGIFSeverity Severity, const std::string& Message) {
    if (OwnerHeader != nullptr && OwnerHeader->OwnerImage != nullptr)
        OwnerHeader->OwnerImage->Warning(this, Severity, Message);
}

// Nothing derived from the table is cached while drawing is not part of the library.
void TGIFGlobalColorMap::Changed() {}

void TGIFLocalColorMap::Warning(TGIFSeverity Severity, const std::string& Message) {
    if (OwnerFrame != nullptr && OwnerFrame->OwnerImage != nullptr)
        OwnerFrame->OwnerImage->Warning(this, Severity, Message);
}

void TGIFLocalColorMap::Changed() {}
