#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gif/gif_types.h"
#include "platform/classes/stream.h"

class TGIFImage;
class TGIFSubImage;
class TGIFExtension;

// One piece of a GIF document: the header, a frame, an extension or the trailer.
class TGIFItem : public TPersistent {
  public:
    explicit TGIFItem(TGIFImage* GIFImage) : OwnerImage(GIFImage) {}

    virtual TGIFVersion GetVersion() const { return gv87a; }
    virtual void Warning(TGIFSeverity Severity, const std::string& Message);
    virtual void SaveToStream(TStream& Stream) = 0;
    // Creates (or truncates) the file and writes this item alone into it.
    virtual void SaveToFile(const std::string& FileName);

    TGIFImage* OwnerImage;

  protected:
    const char* ClassName() const override { return "TGIFItem"; }
};

// An ordered list that owns its items; deleting an item from it destroys the item.
class TGIFList : public TPersistent {
  public:
    explicit TGIFList(TGIFImage* Image) : OwnerImage(Image) {}
    ~TGIFList() override;
    TGIFList(const TGIFList&) = delete;
    TGIFList& operator=(const TGIFList&) = delete;

    virtual void Warning(TGIFSeverity Severity, const std::string& Message);
    // Writes every item in order.
    virtual void SaveToStream(TStream& Stream);

    int Add(std::unique_ptr<TGIFItem> Item);
    void Insert(int Index, std::unique_ptr<TGIFItem> Item);
    // Destroys the item at Index; raises "List index out of bounds (%d)" outside the list.
    void Delete(int Index);
    // Takes Item out of the list without destroying it; returns its former index or -1.
    int Remove(const TGIFItem* Item);
    int IndexOf(const TGIFItem* Item) const;
    // Deletes from the front until the list is empty.
    void Clear();
    int GetCount() const { return static_cast<int>(Items.size()); }
    int Count() const { return GetCount(); }
    TGIFItem* GetItem(int Index) const;

    TGIFImage* OwnerImage;

  protected:
    const char* ClassName() const override { return "TGIFList"; }
    std::vector<std::unique_ptr<TGIFItem>> Items;
};

class TGIFImageList : public TGIFList {
  public:
    using TGIFList::TGIFList;

    TGIFSubImage* GetImage(int Index) const;
    void SetImage(int Index, std::unique_ptr<TGIFSubImage> Image);
    // Writes every frame in order with a progress step after each.
    void SaveToStream(TStream& Stream) override;

  protected:
    const char* ClassName() const override { return "TGIFImageList"; }
};

class TGIFExtensionList : public TGIFList {
  public:
    using TGIFList::TGIFList;

    TGIFExtension* GetExtension(int Index) const;
    void SetExtension(int Index, std::unique_ptr<TGIFExtension> Extension);

  protected:
    const char* ClassName() const override { return "TGIFExtensionList"; }
};
