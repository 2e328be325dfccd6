#pragma once

#include <vector>

#include "gif/gif_types.h"
#include "platform/classes/stream.h"

class TGIFHeader;
class TGIFSubImage;

// A colour table of at most 256 RGB entries.
class TGIFColorMap : public TPersistent {
  public:
    void Assign(const TPersistent* Source) override;

    virtual void Warning(TGIFSeverity Severity, const std::string& Message) = 0;
    // Called after every change of the entries.
    virtual void Changed() = 0;

    void Clear();
    void SetCapacity(int Size);
    int Add(TColor Color);
    int AddUnique(TColor Color);
    int IndexOf(TColor Color) const;
    void Delete(int Index);
    TColor GetColor(int Index);
    void SetColor(int Index, TColor Color);
    // Replaces the entries by the first Count of Map (which holds 256 entries).
    void ImportColorMap(const TGIFColor* Map, int Count);
    int GetBitsPerPixel() const { return BitsForColors(EntryCount); }
    // Writes the entries padded with black to the power of two of the table's size.
    void SaveToStream(TStream& Stream) const;

    int GetCount() const { return EntryCount; }
    int GetCapacity() const { return EntryCapacity; }
    const TGIFColor* GetData() const { return Entries.data(); }

    static TGIFColor ColorToTriple(TColor Color) {
        return TGIFColor{GetRValue(Color), GetGValue(Color), GetBValue(Color)};
    }
    static TColor TripleToColor(const TGIFColor& Triple) {
        return RGBColor(Triple.Red, Triple.Green, Triple.Blue);
    }

    std::vector<TGIFColor> Entries;
    int EntryCount = 0;
    int EntryCapacity = 0;
    bool SortedByUsage = false;

  protected:
    const char* ClassName() const override { return "TGIFColorMap"; }
};

class TGIFGlobalColorMap : public TGIFColorMap {
  public:
    explicit TGIFGlobalColorMap(TGIFHeader* Header) : OwnerHeader(Header) {}

    void Warning(TGIFSeverity Severity, const std::string& Message) override;
    void Changed() override;

    TGIFHeader* OwnerHeader;

  protected:
    const char* ClassName() const override { return "TGIFGlobalColorMap"; }
};

class TGIFLocalColorMap : public TGIFColorMap {
  public:
    explicit TGIFLocalColorMap(TGIFSubImage* SubImage) : OwnerFrame(SubImage) {}

    void Warning(TGIFSeverity Severity, const std::string& Message) override;
    void Changed() override;

    TGIFSubImage* OwnerFrame;

  protected:
    const char* ClassName() const override { return "TGIFLocalColorMap"; }
};
