#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gif/gif_item.h"

// A block of a frame that starts with 0x21 and a label. Destroying an extension takes it
// out of its frame's extension list first.
class TGIFExtension : public TGIFItem {
  public:
    explicit TGIFExtension(TGIFSubImage* ASubImage);
    ~TGIFExtension() override;
    TGIFExtension(const TGIFExtension&) = delete;
    TGIFExtension& operator=(const TGIFExtension&) = delete;

    TGIFVersion GetVersion() const override { return gv89a; }
    // The label byte that follows 0x21.
    virtual uint8_t GetExtensionType() const = 0;
    // Writes 0x21 and the label; each kind then writes its body.
    void SaveToStream(TStream& Stream) override;

    TGIFSubImage* OwnerFrame;

  protected:
    const char* ClassName() const override { return "TGIFExtension"; }
};

class TGIFGraphicControlExtension : public TGIFExtension {
  public:
    // Becomes the frame's ControlExtension when the frame has none yet; it is not put into
    // the frame's extension list.
    explicit TGIFGraphicControlExtension(TGIFSubImage* ASubImage);
    ~TGIFGraphicControlExtension() override;

    uint8_t GetExtensionType() const override { return 0xF9; }
    void SaveToStream(TStream& Stream) override;

    bool GetTransparent() const { return (ControlRecord.PackedFields & 0x01) != 0; }
    void SetTransparent(bool Value);
    uint8_t GetTransparentColorIndex() const { return ControlRecord.TransparentColorIndex; }
    void SetTransparentColorIndex(int Index);
    TColor GetTransparentColor() const;
    void SetTransparentColor(TColor Color);
    uint16_t GetDelay() const { return ControlRecord.DelayTime; }
    void SetDelay(uint16_t Value) { ControlRecord.DelayTime = Value; }
    bool GetUserInput() const { return (ControlRecord.PackedFields & 0x02) != 0; }
    void SetUserInput(bool Value);
    TDisposalMethod GetDisposal() const {
        return static_cast<TDisposalMethod>((ControlRecord.PackedFields & 0x1C) >> 2);
    }
    void SetDisposal(TDisposalMethod Value);

    TGIFGCERec ControlRecord;

  protected:
    const char* ClassName() const override { return "TGIFGraphicControlExtension"; }
};

// Text lines written as data sub-blocks of at most 255 bytes, then a zero-length block.
void WriteTextSubBlocks(TStream& Stream, const std::vector<std::string>& Lines);

class TGIFTextExtension : public TGIFExtension {
  public:
    using TGIFExtension::TGIFExtension;

    uint8_t GetExtensionType() const override { return 0x01; }
    void SaveToStream(TStream& Stream) override;

    std::vector<std::string> Text;
    TGIFPlainTextExtensionRec PlainTextExtension;

  protected:
    const char* ClassName() const override { return "TGIFTextExtension"; }
};

class TGIFCommentExtension : public TGIFExtension {
  public:
    using TGIFExtension::TGIFExtension;

    uint8_t GetExtensionType() const override { return 0xFE; }
    void SaveToStream(TStream& Stream) override;

    std::vector<std::string> Text;

  protected:
    const char* ClassName() const override { return "TGIFCommentExtension"; }
};

class TGIFApplicationExtension : public TGIFExtension {
  public:
    using TGIFExtension::TGIFExtension;

    uint8_t GetExtensionType() const override { return 0xFF; }
    // Writes the identifier block, then the data sub-blocks of SaveData.
    void SaveToStream(TStream& Stream) override;
    virtual void SaveData(TStream& Stream) = 0;

    std::string GetIdentifier() const;
    void SetIdentifier(const std::string& Value);
    std::string GetAuthentication() const;
    void SetAuthentication(const std::string& Value);

    TGIFApplicationRec AppIdent;

  protected:
    const char* ClassName() const override { return "TGIFApplicationExtension"; }
};

// One raw data sub-block: its size byte and its bytes.
struct TGIFBlock {
    uint8_t Size = 0;
    std::vector<uint8_t> Data;
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
  public:
    using TGIFApplicationExtension::TGIFApplicationExtension;

    void SaveData(TStream& Stream) override;

    std::vector<std::unique_ptr<TGIFBlock>> Blocks;

  protected:
    const char* ClassName() const override { return "TGIFUnknownAppExtension"; }
};

// The "NETSCAPE2.0" loop extension.
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
  public:
    explicit TGIFAppExtNSLoop(TGIFSubImage* ASubImage);

    void SaveData(TStream& Stream) override;

    // 0 loops for ever.
    uint16_t LoopCount = 0;
    uint32_t BufferingSize = 0;

  protected:
    const char* ClassName() const override { return "TGIFAppExtNSLoop"; }
};
