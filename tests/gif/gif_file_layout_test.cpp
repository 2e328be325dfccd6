#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gif/gif_image.h"
#include "gif_test_support.h"

using namespace giftest;

namespace {

Bytes Save(TGIFImage& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return StreamBytes(stream);
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Bytes of a frame's extensions as written, taken out of a saved single-frame document.
Bytes SaveExtension(const std::function<void(TGIFSubImage&)>& add) {
    auto image = SingleFrameDocument(1, 1, 2, Bytes{0});
    TGIFSubImage& frame = *image->Frames->GetImage(0);
    add(frame);
    const Bytes file = Save(*image);
    // Header 6 + screen 7 + table 6 precede the extensions; the descriptor starts with 2C.
    const Bytes tail{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    EXPECT_GE(file.size(), 19 + tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), file.end() - static_cast<long>(tail.size())));
    return Bytes(file.begin() + 19, file.end() - static_cast<long>(tail.size()));
}

} // namespace

TEST(GIFFileLayout, SmallestDocumentIs87aByteForByte) {
    auto image = SingleFrameDocument(1, 1, 2, Bytes{0});
    const Bytes expected = Join({Text("GIF87a"),
                                 {0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00},
                                 {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00},
                                 {0x2C, 0, 0, 0, 0, 0x01, 0x00, 0x01, 0x00, 0x00},
                                 {0x02, 0x02, 0x44, 0x01, 0x00},
                                 {0x3B}});
    EXPECT_EQ(Save(*image), expected);
}

TEST(GIFFileLayout, ColourTablesArePaddedToTheirPowerOfTwo) {
    struct Case {
        int held, written, sizeField;
    };
    for (const Case& c : {Case{1, 2, 0}, Case{2, 2, 0}, Case{3, 4, 1}, Case{4, 4, 1}, Case{5, 8, 2},
                          Case{9, 16, 3}, Case{17, 32, 4}, Case{33, 64, 5}, Case{65, 128, 6},
                          Case{128, 128, 6}, Case{129, 256, 7}, Case{256, 256, 7}}) {
        auto image = SingleFrameDocument(1, 1, c.held, Bytes{0});
        const Bytes file = Save(*image);
        const uint8_t packed = file[10];
        EXPECT_EQ(packed, 0x80 | (c.sizeField << 4) | c.sizeField) << c.held;
        const size_t tableEnd = 13 + static_cast<size_t>(c.written) * 3;
        ASSERT_GT(file.size(), tableEnd);
        EXPECT_EQ(file[tableEnd], 0x2C) << c.held;
        for (size_t i = 13 + static_cast<size_t>(c.held) * 3; i < tableEnd; ++i)
            ASSERT_EQ(file[i], 0) << c.held;
        const auto& first = image->GetColorMap()->Entries[static_cast<size_t>(c.held - 1)];
        EXPECT_EQ(file[13 + static_cast<size_t>(c.held - 1) * 3], first.Red);
        EXPECT_EQ(file[tableEnd + 10], std::max(2, BitsForColors(c.held))) << "min code size";
    }
}

TEST(GIFFileLayout, ScreenPackedFieldsOfTheToolsOutput) {
    auto image = SingleFrameDocument(1, 1, 256, Bytes{0});
    image->GetColorMap()->SortedByUsage = true;
    TGIFSubImage& frame = *image->Frames->GetImage(0);
    frame.ExtensionList->Add(std::make_unique<TGIFGraphicControlExtension>(&frame));
    const Bytes file = Save(*image);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), Text("GIF89a"));
    EXPECT_EQ(file[10], 0xFF);
    EXPECT_EQ(image->Header->ScreenDescriptor.PackedFields, 0xFF) << "kept after the save";
}

TEST(GIFFileLayout, ScreenWithoutGlobalTableTakesTheLocalDepth) {
    auto image = SingleFrameDocument(1, 1, 0, Bytes{0});
    TGIFSubImage& frame = *image->Frames->GetImage(0);
    for (int i = 0; i < 16; ++i)
        frame.LocalColorMap->Add(RGBColor(static_cast<uint8_t>(i), 0, 0));
    const Bytes file = Save(*image);
    EXPECT_EQ(file[10], 0x33);
    EXPECT_EQ(file[13], 0x2C) << "no global table";
    EXPECT_EQ(file[13 + 9], 0x83);
}

TEST(GIFFileLayout, ImageDescriptorPackedFields) {
    struct Case {
        int localColors;
        bool sorted;
        bool interlaced;
        uint8_t packed;
    };
    for (const Case& c :
         {Case{256, true, false, 0xA7}, Case{256, false, false, 0x87}, Case{5, false, true, 0x82},
          Case{0, false, true, 0x50}, Case{0, false, false, 0x10}}) {
        auto image = SingleFrameDocument(2, 2, 2, Bytes{0, 1, 1, 0});
        TGIFSubImage& frame = *image->Frames->GetImage(0);
        for (int i = 0; i < c.localColors; ++i)
            frame.LocalColorMap->Add(RGBColor(0, 0, static_cast<uint8_t>(i)));
        frame.LocalColorMap->SortedByUsage = c.sorted;
        // Stale table bits go; without a local table bits 4 and 3 stay as they are.
        frame.Descriptor.PackedFields = 0x97;
        frame.SetInterlaced(c.interlaced);
        const Bytes file = Save(*image);
        EXPECT_EQ(file[19 + 9], c.packed) << c.localColors << " " << c.interlaced;
    }
}

TEST(GIFFileLayout, EmptyFrameWritesOnlyItsExtensions) {
    auto image = SingleFrameDocument(1, 1, 2, Bytes{0});
    auto empty = std::make_unique<TGIFSubImage>(image.get());
    empty->DoSetBounds(0, 0, 0, 1);
    auto gce = std::make_unique<TGIFGraphicControlExtension>(empty.get());
    gce->SetDelay(0x0102);
    empty->ExtensionList->Add(std::move(gce));
    image->Add(std::move(empty));
    const Bytes file = Save(*image);
    const Bytes tail{0x02, 0x02, 0x44, 0x01, 0x00, 0x21, 0xF9,
                     0x04, 0x00, 0x02, 0x01, 0x00, 0x00, 0x3B};
    ASSERT_GE(file.size(), tail.size());
    EXPECT_EQ(Bytes(file.end() - static_cast<long>(tail.size()), file.end()), tail);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), Text("GIF89a"));
}

TEST(GIFFileLayout, GraphicControlExtension) {
    const Bytes bytes = SaveExtension([](TGIFSubImage& frame) {
        auto gce = std::make_unique<TGIFGraphicControlExtension>(&frame);
        gce->SetDelay(4);
        gce->SetTransparent(true);
        gce->SetTransparentColorIndex(1);
        gce->SetDisposal(dmBackground);
        frame.ExtensionList->Add(std::move(gce));
    });
    EXPECT_EQ(bytes, (Bytes{0x21, 0xF9, 0x04, 0x09, 0x04, 0x00, 0x01, 0x00}));
}

TEST(GIFFileLayout, LoopExtensionWithAndWithoutBufferingSize) {
    const Bytes head = Join({{0x21, 0xFF, 0x0B}, Text("NETSCAPE2.0"), {0x03, 0x01}});
    struct Case {
        uint16_t loops;
        uint32_t buffering;
        Bytes rest;
    };
    for (const Case& c :
         {Case{0, 0, {0x00, 0x00, 0x00}}, Case{5, 0, {0x05, 0x00, 0x00}},
          Case{0x1234, 1000, {0x34, 0x12, 0x05, 0x02, 0xE8, 0x03, 0x00, 0x00, 0x00}}}) {
        const Bytes bytes = SaveExtension([&](TGIFSubImage& frame) {
            auto loop = std::make_unique<TGIFAppExtNSLoop>(&frame);
            loop->LoopCount = c.loops;
            loop->BufferingSize = c.buffering;
            frame.ExtensionList->Add(std::move(loop));
        });
        EXPECT_EQ(bytes, Join({head, c.rest})) << c.loops;
        if (c.buffering == 0) {
            EXPECT_EQ(bytes.size(), 19u);
        }
    }
}

TEST(GIFFileLayout, CommentLinesBecomeSubBlocks) {
    const std::string longLine(300, 'c');
    const Bytes bytes = SaveExtension([&](TGIFSubImage& frame) {
        auto comment = std::make_unique<TGIFCommentExtension>(&frame);
        comment->Text = {longLine, "", "ok"};
        frame.ExtensionList->Add(std::move(comment));
    });
    const Bytes expected =
        Join({{0x21, 0xFE, 0xFF}, Bytes(255, 'c'), {45}, Bytes(45, 'c'), {0x02, 'o', 'k', 0x00}});
    EXPECT_EQ(bytes, expected);

    const Bytes none = SaveExtension([](TGIFSubImage& frame) {
        frame.ExtensionList->Add(std::make_unique<TGIFCommentExtension>(&frame));
    });
    EXPECT_EQ(none, (Bytes{0x21, 0xFE, 0x00}));
}

TEST(GIFFileLayout, PlainTextAndUnknownApplicationExtensions) {
    const Bytes text = SaveExtension([](TGIFSubImage& frame) {
        auto ext = std::make_unique<TGIFTextExtension>(&frame);
        ext->PlainTextExtension.Left = 0x0102;
        ext->PlainTextExtension.Width = 0x0304;
        ext->PlainTextExtension.CellWidth = 8;
        ext->PlainTextExtension.TextFGColorIndex = 1;
        ext->Text = {"hi"};
        frame.ExtensionList->Add(std::move(ext));
    });
    EXPECT_EQ(text, (Bytes{0x21, 0x01, 12, 0x02, 0x01, 0, 0, 0x04, 0x03, 0, 0, 8, 0, 1, 0, 2, 'h',
                           'i', 0}));

    const Bytes app = SaveExtension([](TGIFSubImage& frame) {
        auto ext = std::make_unique<TGIFUnknownAppExtension>(&frame);
        ext->SetIdentifier("VANTREL");
        ext->SetAuthentication("1.0");
        auto block = std::make_unique<TGIFBlock>();
        block->Data = {9, 8, 7};
        block->Size = 3;
        ext->Blocks.push_back(std::move(block));
        frame.ExtensionList->Add(std::move(ext));
    });
    EXPECT_EQ(app, Join({{0x21, 0xFF, 0x0B}, Text("VANTREL"), {0}, Text("1.0"), {3, 9, 8, 7, 0}}));
}

TEST(GIFFileLayout, UnknownApplicationBlocksAreWrittenWithTheirOwnLength) {
    const Bytes app = SaveExtension([](TGIFSubImage& frame) {
        auto ext = std::make_unique<TGIFUnknownAppExtension>(&frame);
        ext->SetIdentifier("ABCDEFGH");
        ext->SetAuthentication("XYZ");
        for (const Bytes& data : {Bytes{1, 2}, Bytes{}, Bytes{3}}) {
            auto block = std::make_unique<TGIFBlock>();
            block->Data = data;
            block->Size = 9; // a stale size must not decide how many bytes are read back
            ext->Blocks.push_back(std::move(block));
        }
        frame.ExtensionList->Add(std::move(ext));
    });
    EXPECT_EQ(app, Join({{0x21, 0xFF, 0x0B}, Text("ABCDEFGHXYZ"), {2, 1, 2, 1, 3, 0}}));
}

TEST(GIFFileLayout, ExtensionsAreWrittenInListOrderBeforeTheDescriptor) {
    const Bytes bytes = SaveExtension([](TGIFSubImage& frame) {
        frame.ExtensionList->Add(std::make_unique<TGIFAppExtNSLoop>(&frame));
        frame.ExtensionList->Add(std::make_unique<TGIFGraphicControlExtension>(&frame));
    });
    ASSERT_EQ(bytes.size(), 19u + 8u);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_EQ(bytes[20], 0xF9);
}

TEST(GIFFileLayout, DocumentWithoutFramesIsRefusedBeforeAnyByte) {
    TGIFImage image;
    TMemoryStream stream;
    std::vector<std::pair<TProgressStage, int>> progress;
    image.OnProgress = [&](TGraphic&, TProgressStage stage, int percent, const std::string& text) {
        EXPECT_EQ(text, "Saving...");
        progress.emplace_back(stage, percent);
    };
    try {
        image.SaveToStream(stream);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message, "Unsupported GIF version");
    }
    EXPECT_EQ(stream.GetSize(), 0);
    EXPECT_EQ(progress,
              (std::vector<std::pair<TProgressStage, int>>{{psStarting, 0}, {psEnding, 0}}));

    const auto path = std::filesystem::temp_directory_path() /
                      ("vntrl_gif_empty_" + std::to_string(::getpid()) + ".gif");
    EXPECT_THROW(image.SaveToFile(path.string()), GIFException);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);
}

TEST(GIFFileLayout, ProgressAfterEveryFrame) {
    auto image = SingleFrameDocument(1, 1, 2, Bytes{0});
    for (int i = 0; i < 2; ++i) {
        auto frame = std::make_unique<TGIFSubImage>(image.get());
        frame->DoSetBounds(0, 0, 1, 1);
        image->Add(std::move(frame));
    }
    std::vector<std::pair<TProgressStage, int>> progress;
    image->OnProgress = [&](TGraphic&, TProgressStage stage, int percent, const std::string&) {
        progress.emplace_back(stage, percent);
    };
    Save(*image);
    EXPECT_EQ(
        progress,
        (std::vector<std::pair<TProgressStage, int>>{
            {psStarting, 0}, {psRunning, 33}, {psRunning, 67}, {psRunning, 100}, {psEnding, 100}}));
}

TEST(GIFFileLayout, PixelOutsideTheTableStopsTheSaveInTheFrame) {
    auto image = SingleFrameDocument(2, 1, 2, Bytes{0, 1});
    TGIFSubImage& frame = *image->Frames->GetImage(0);
    frame.LocalColorMap->Add(clBlack);
    frame.IndexData[1] = 1; // a local table of one colour allows only index 0
    TMemoryStream stream;
    EXPECT_THROW(image->SaveToStream(stream), GIFException);
    const Bytes file = StreamBytes(stream);
    ASSERT_FALSE(file.empty());
    EXPECT_NE(file.back(), 0x3B);
}

TEST(GIFFileLayout, EveryShortWriteIsReported) {
    auto image = SingleFrameDocument(40, 40, 16, Gradient(40, 40, 16));
    TGIFSubImage& frame = *image->Frames->GetImage(0);
    auto comment = std::make_unique<TGIFCommentExtension>(&frame);
    comment->Text = {"note"};
    frame.ExtensionList->Add(std::move(comment));
    frame.ExtensionList->Add(std::make_unique<TGIFAppExtNSLoop>(&frame));
    frame.ExtensionList->Add(std::make_unique<TGIFGraphicControlExtension>(&frame));
    const size_t size = Save(*image).size();
    for (size_t limit = 0; limit < size; ++limit) {
        FullStream target(static_cast<int64_t>(limit));
        EXPECT_THROW(image->SaveToStream(target), EWriteError) << "room for " << limit;
    }
    FullStream roomy(static_cast<int64_t>(size));
    EXPECT_NO_THROW(image->SaveToStream(roomy));
}

TEST(GIFFileLayout, SavedFileEqualsTheStream) {
    auto image = SingleFrameDocument(33, 17, 7, Gradient(33, 17, 7));
    const auto path = std::filesystem::temp_directory_path() /
                      ("vntrl_gif_save_" + std::to_string(::getpid()) + ".gif");
    image->SaveToFile(path.string());
    TMemoryStream loaded;
    loaded.LoadFromFile(path.string());
    EXPECT_EQ(StreamBytes(loaded), Save(*image));
    std::filesystem::remove(path);
}
