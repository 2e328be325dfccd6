#include "gif/gif_item.h"

#include "gif/gif_extensions.h"
#include "gif/gif_image.h"
#include "gif/gif_sub_image.h"

void TGIFItem::Warning(TGIFSeverity Severity, const std::string& Message) {
    if (OwnerImage != nullptr) OwnerImage->Warning(this, Severity, Message);
}

void TGIFItem::SaveToFile(const std::string& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(stream);
}

TGIFList::~TGIFList() {
    Clear();
}

void TGIFList::Warning(TGIFSeverity Severity, const std::string& Message) {
    if (OwnerImage != nullptr) OwnerImage->Warning(this, Severity, Message);
}

void TGIFList::SaveToStream(TStream& Stream) {
    for (const auto& item : Items)
        item->SaveToStream(Stream);
}

int TGIFList::Add(std::unique_ptr<TGIFItem> Item) {
    Items.push_back(std::move(Item));
    return GetCount() - 1;
}

void TGIFList::Insert(int Index, std::unique_ptr<TGIFItem> Item) {
    if (Index < 0 || Index > GetCount())
        throw Exception(Format("List index out of bounds (%d)", Index));
    Items.insert(Items.begin() + Index, std::move(Item));
}

void TGIFList::Delete(int Index) {
    if (Index < 0 || Index >= GetCount())
        throw Exception(Format("List index out of bounds (%d)", Index));
    // Out of the list first, so that the item's own destructor finds nothing to remove.
    std::unique_ptr<TGIFItem> item = std::move(Items[static_cast<size_t>(Index)]);
    Items.erase(Items.begin() + Index);
}

int TGIFList::Remove(const TGIFItem* Item) {
    const int index = IndexOf(Item);
    if (index < 0) return -1;
    (void)Items[static_cast<size_t>(index)].release();
    Items.erase(Items.begin() + index);
    return index;
}

int TGIFList::IndexOf(const TGIFItem* Item) const {
    for (size_t i = 0; i < Items.size(); ++i)
        if (Items[i].get() == Item) return static_cast<int>(i);
    return -1;
}

void TGIFList::Clear() {
    while (!Items.empty())
        Delete(0);
}

TGIFItem* TGIFList::GetItem(int Index) const {
    if (Index < 0 || Index >= GetCount())
        throw Exception(Format("List index out of bounds (%d)", Index));
    return Items[static_cast<size_t>(Index)].get();
}

TGIFSubImage* TGIFImageList::GetImage(int Index) const {
    return static_cast<TGIFSubImage*>(GetItem(Index));
}

void TGIFImageList::SetImage(int Index, std::unique_ptr<TGIFSubImage> Image) {
    Delete(Index);
    Insert(Index, std::move(Image));
}

void TGIFImageList::SaveToStream(TStream& Stream) {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        GetImage(i)->SaveToStream(Stream);
        if (OwnerImage != nullptr) OwnerImage->SaveProgress(i + 1, count);
    }
}

TGIFExtension* TGIFExtensionList::GetExtension(int Index) const {
    return static_cast<TGIFExtension*>(GetItem(Index));
}

void TGIFExtensionList::SetExtension(int Index, std::unique_ptr<TGIFExtension> Extension) {
    Delete(Index);
    Insert(Index, std::move(Extension));
}
