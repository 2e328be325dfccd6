#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gif/gif_image.h"
#include "gif_test_support.h"

namespace {

struct WarningLog {
    std::vector<std::string> texts;
    TGIFWarning Hook() {
        return [this](TPersistent*, TGIFSeverity severity, const std::string& text) {
            EXPECT_EQ(severity, gsWarning);
            texts.push_back(text);
        };
    }
};

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const GIFException& e) {
        return e.Message;
    }
    return "";
}

TGIFSubImage* AddFrame(TGIFImage& image, uint16_t left, uint16_t top, uint16_t width,
                       uint16_t height) {
    auto frame = std::make_unique<TGIFSubImage>(&image);
    TGIFSubImage* raw = frame.get();
    frame->DoSetBounds(left, top, width, height);
    image.Add(std::move(frame));
    return raw;
}

} // namespace

TEST(GIFDocument, BitsForColors) {
    const std::vector<std::pair<int, int>> cases{{0, 0},   {1, 1},   {2, 1},  {3, 2},
                                                 {4, 2},   {5, 3},   {16, 4}, {17, 5},
                                                 {128, 7}, {129, 8}, {256, 8}};
    for (auto [colors, bits] : cases)
        EXPECT_EQ(BitsForColors(colors), bits) << colors;
}

TEST(GIFDocument, NewDocumentTakesTheProcessDefaults) {
    TGIFImage image;
    EXPECT_TRUE(image.GetEmpty());
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.ColorReduction, rmNetscape);
    EXPECT_EQ(image.ReductionBits, 8);
    EXPECT_EQ(image.DitherMode, dmNearest);
    EXPECT_EQ(image.Compression, gcLZW);
    EXPECT_EQ(image.ThreadPriority, 3);
    EXPECT_EQ(image.AnimationSpeed, 100);
    EXPECT_EQ(image.DrawOptions, DrawOption(goAsync) | DrawOption(goTransparent) |
                                     DrawOption(goAnimate) | DrawOption(goLoop) |
                                     DrawOption(goDither) | DrawOption(goAutoDither));
    EXPECT_EQ(image.GetVersion(), gvUnknown);
}

TEST(GIFDocument, ColorMapCapacityGrowsInSteps) {
    struct Case {
        int start, request, capacity;
    };
    for (const Case& c : {Case{0, 5, 16}, Case{0, 16, 16}, Case{0, 17, 32}, Case{0, 250, 256},
                          Case{0, 300, 256}, Case{32, 20, 32}}) {
        TGIFImage image;
        TGIFColorMap& map = *image.GetColorMap();
        if (c.start > 0) map.SetCapacity(c.start);
        map.SetCapacity(c.request);
        EXPECT_EQ(map.GetCapacity(), c.capacity) << c.request;
    }
}

TEST(GIFDocument, ColorMapIndexOfDependsOnSorting) {
    TGIFImage image;
    TGIFColorMap& map = *image.GetColorMap();
    for (int i = 0; i < 12; ++i)
        map.Add(i == 3 || i == 9 ? clWhite : RGBColor(1, 2, static_cast<uint8_t>(i)));
    EXPECT_EQ(map.IndexOf(clWhite), 9);
    map.SortedByUsage = true;
    EXPECT_EQ(map.IndexOf(clWhite), 3);
    EXPECT_EQ(map.IndexOf(RGBColor(9, 9, 9)), -1);
    map.SortedByUsage = false;
    EXPECT_EQ(map.AddUnique(clWhite), 9);
    EXPECT_EQ(map.AddUnique(RGBColor(9, 9, 9)), 12);
}

TEST(GIFDocument, ColorMapErrorsAndWarnings) {
    TGIFImage image;
    WarningLog log;
    image.WarningHook = log.Hook();
    TGIFColorMap& map = *image.GetColorMap();
    EXPECT_EQ(ErrorOf([&] { map.GetColor(0); }), "Color table is empty");
    EXPECT_EQ(log.texts, std::vector<std::string>{"Invalid color index"});
    map.Add(RGBColor(10, 20, 30));
    map.Add(RGBColor(40, 50, 60));
    EXPECT_EQ(map.GetColor(5), RGBColor(10, 20, 30));
    EXPECT_EQ(log.texts.size(), 2u);
    EXPECT_EQ(ErrorOf([&] { map.Delete(2); }), "Invalid color index");
    EXPECT_EQ(ErrorOf([&] { map.SetColor(-1, 0); }), "Invalid color index");
    map.Delete(0);
    EXPECT_EQ(map.GetCount(), 1);
    EXPECT_EQ(map.GetColor(0), RGBColor(40, 50, 60));
    while (map.GetCount() < 256)
        map.Add(clBlack);
    EXPECT_EQ(ErrorOf([&] { map.Add(clWhite); }), "Color table overflow");
}

TEST(GIFDocument, ColorMapAssignAndImport) {
    TGIFImage image;
    TGIFColorMap& map = *image.GetColorMap();
    const TGIFColor triples[3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    map.ImportColorMap(triples, 3);
    EXPECT_EQ(map.GetCount(), 3);
    EXPECT_EQ(map.GetColor(2), RGBColor(7, 8, 9));
    map.SortedByUsage = true;
    auto frame = std::make_unique<TGIFSubImage>(&image);
    frame->LocalColorMap->Assign(&map);
    EXPECT_EQ(frame->LocalColorMap->GetCount(), 3);
    EXPECT_TRUE(frame->LocalColorMap->SortedByUsage);
    EXPECT_EQ(frame->LocalColorMap->GetColor(1), RGBColor(4, 5, 6));
}

TEST(GIFDocument, FirstFrameSetsTheScreenAndLargerFramesWarn) {
    TGIFImage image;
    WarningLog log;
    image.WarningHook = log.Hook();
    AddFrame(image, 0, 0, 40, 30);
    EXPECT_EQ(image.GetWidth(), 40);
    EXPECT_EQ(image.GetHeight(), 30);
    EXPECT_TRUE(log.texts.empty());
    AddFrame(image, 10, 5, 40, 30);
    EXPECT_EQ(image.GetWidth(), 50);
    EXPECT_EQ(image.GetHeight(), 35);
    EXPECT_EQ(log.texts, (std::vector<std::string>{"Image width too small for contained frames",
                                                   "Image height too small for contained frames",
                                                   "Image exceeds Logical Screen size"}));
}

TEST(GIFDocument, ScreenCannotShrinkBelowAFrame) {
    TGIFImage image;
    int changes = 0;
    image.OnChange = [&](TGraphic&) { ++changes; };
    AddFrame(image, 5, 5, 20, 10);
    changes = 0;
    EXPECT_EQ(ErrorOf([&] { image.SetWidth(24); }), "Image width too small for contained frames");
    EXPECT_EQ(ErrorOf([&] { image.SetHeight(14); }), "Image height too small for contained frames");
    image.SetWidth(25);
    EXPECT_EQ(changes, 0);
    image.SetWidth(100);
    image.SetHeight(100);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(image.GetWidth(), 100);
}

TEST(GIFDocument, PixelAccessChecksCoordinates) {
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 3, 2);
    EXPECT_EQ(frame->IndexDataSize, 6);
    frame->IndexData[5] = 77;
    EXPECT_EQ(frame->GetPixel(2, 1), 77);
    EXPECT_EQ(ErrorOf([&] { frame->GetPixel(0, 2); }), "Invalid pixel coordinates");
    EXPECT_EQ(ErrorOf([&] { frame->GetPixel(3, 0); }), "Invalid pixel coordinates");
    EXPECT_EQ(ErrorOf([&] { frame->GetScanline(-1); }), "Invalid pixel coordinates");
    EXPECT_EQ(frame->GetScanline(1)[2], 77);
    TGIFSubImage* empty = AddFrame(image, 0, 0, 0, 4);
    EXPECT_TRUE(empty->GetEmpty());
    EXPECT_EQ(ErrorOf([&] { empty->NeedImage(); }), "Image is empty");
}

TEST(GIFDocument, BoundsByIndex) {
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 1, 2, 3, 4);
    for (int index = 0; index <= 5; ++index)
        EXPECT_EQ(frame->GetBounds(index), index >= 1 && index <= 4 ? index : 0);
    frame->SetBounds(3, 8);
    EXPECT_EQ(frame->Width(), 8);
    EXPECT_EQ(frame->IndexDataSize, 32);
    frame->SetBounds(1, 0);
    EXPECT_EQ(frame->IndexDataSize, 32);
}

TEST(GIFDocument, TransparentIndexOutsideTheActiveTableBecomesZero) {
    TGIFImage image;
    WarningLog log;
    image.WarningHook = log.Hook();
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 2);
    for (int i = 0; i < 16; ++i)
        image.GetColorMap()->Add(RGBColor(static_cast<uint8_t>(i), 0, 0));
    auto gce = std::make_unique<TGIFGraphicControlExtension>(frame);
    gce->SetTransparentColorIndex(200);
    EXPECT_EQ(gce->GetTransparentColorIndex(), 0);
    EXPECT_EQ(log.texts, std::vector<std::string>{"Invalid color index"});
    gce->SetTransparentColorIndex(15);
    EXPECT_EQ(gce->GetTransparentColorIndex(), 15);
    EXPECT_EQ(log.texts.size(), 1u);
}

TEST(GIFDocument, GraphicControlFlags) {
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 2, 2);
    TGIFGraphicControlExtension gce(frame);
    gce.SetDisposal(dmPrevious);
    gce.SetUserInput(true);
    gce.SetTransparent(true);
    EXPECT_EQ(gce.ControlRecord.PackedFields, 0x0F);
    EXPECT_TRUE(frame->HasTransparency);
    gce.SetDisposal(dmBackground);
    EXPECT_EQ(gce.GetDisposal(), dmBackground);
    EXPECT_EQ(gce.ControlRecord.PackedFields, 0x0B);
    gce.SetDelay(0xABCD);
    EXPECT_EQ(gce.GetDelay(), 0xABCD);
}

TEST(GIFDocument, DestroyingItemsTakesThemOutOfTheirLists) {
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 4, 4);
    auto* gce = new TGIFGraphicControlExtension(frame);
    EXPECT_EQ(frame->ControlExtension, gce);
    frame->ExtensionList->Add(std::unique_ptr<TGIFExtension>(gce));
    auto second = std::make_unique<TGIFGraphicControlExtension>(frame);
    EXPECT_EQ(frame->ControlExtension, gce) << "the first one stays the frame's";
    gce->SetTransparent(true);
    ASSERT_TRUE(frame->HasTransparency);

    delete gce;
    EXPECT_EQ(frame->ExtensionList->GetCount(), 0);
    EXPECT_FALSE(frame->HasTransparency);
    EXPECT_EQ(frame->ControlExtension, nullptr);

    frame->ExtensionList->Add(std::move(second));
    AddFrame(image, 0, 0, 4, 4);
    ASSERT_EQ(image.Frames->GetCount(), 2);
    delete frame;
    EXPECT_EQ(image.Frames->GetCount(), 1);
    image.Frames->Delete(0);
    EXPECT_TRUE(image.GetEmpty());
}

TEST(GIFDocument, VersionRule) {
    TGIFImage image;
    EXPECT_EQ(image.GetVersion(), gvUnknown);
    TGIFSubImage* first = AddFrame(image, 0, 0, 1, 1);
    TGIFSubImage* second = AddFrame(image, 0, 0, 1, 1);
    EXPECT_EQ(image.GetVersion(), gv87a);
    second->LocalColorMap->Add(clBlack);
    second->LocalColorMap->SortedByUsage = true;
    EXPECT_EQ(image.GetVersion(), gv89a);
    second->LocalColorMap->SortedByUsage = false;
    first->ExtensionList->Add(std::make_unique<TGIFCommentExtension>(first));
    EXPECT_EQ(image.GetVersion(), gv89a);
    // The header's own version does not enter the document's.
    image.Frames->GetImage(0)->ExtensionList->Clear();
    image.Header->ScreenDescriptor.AspectRatio = 49;
    EXPECT_EQ(image.Header->GetVersion(), gv89a);
    EXPECT_EQ(image.GetVersion(), gv87a);
}

TEST(GIFDocument, ActiveColorMapAndDepths) {
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 0, 0, 1, 1);
    EXPECT_EQ(frame->GetActiveColorMap(), frame->LocalColorMap.get());
    EXPECT_EQ(frame->GetColorResolution(), -1);
    for (int i = 0; i < 5; ++i)
        image.GetColorMap()->Add(clBlack);
    EXPECT_EQ(frame->GetActiveColorMap(), image.GetColorMap());
    for (int i = 0; i < 20; ++i)
        frame->LocalColorMap->Add(clWhite);
    EXPECT_EQ(frame->GetActiveColorMap(), frame->LocalColorMap.get());
    EXPECT_EQ(image.GetBitsPerPixel(), 5);
    EXPECT_EQ(image.GetColorResolution(), 4);
}

namespace {

// A graphic of another kind, which a frame cannot take over yet.
class OtherGraphic : public TGraphic {
  public:
    int GetWidth() const override { return 4; }
    int GetHeight() const override { return 4; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool GetEmpty() const override { return false; }
    void Draw(TCanvas&, const TRect&) override {}
    void LoadFromStream(TStream&) override {}
    void SaveToStream(TStream&) override {}
};

} // namespace

TEST(GIFDocument, FrameThatCannotTakeAGraphicIsDroppedAndTheErrorPassesOn) {
    TGIFImage image;
    OtherGraphic graphic;
    EXPECT_THROW(image.Add(graphic), EConvertError);
    EXPECT_TRUE(image.GetEmpty());
}

TEST(GIFDocument, AddReturnsTheIndexAndNotifies) {
    TGIFImage image;
    int changes = 0;
    image.OnChange = [&](TGraphic&) { ++changes; };
    EXPECT_EQ(image.Add(std::make_unique<TGIFSubImage>(&image)), 0);
    EXPECT_EQ(image.Add(std::make_unique<TGIFSubImage>(&image)), 1);
    EXPECT_EQ(changes, 2);
}

TEST(GIFDocument, AddRefusesWhatIsNotAGraphic) {
    TGIFImage image;
    TGIFColorMap& map = *image.GetColorMap();
    EXPECT_EQ(ErrorOf([&] { image.Add(map); }), "Object type not supported for operation");
    EXPECT_TRUE(image.GetEmpty());
}

TEST(GIFDocument, SettersCheckTheirRanges) {
    TGIFImage image;
    EXPECT_EQ(ErrorOf([&] { image.SetReductionBits(2); }), "Invalid Bits Per Pixel value");
    EXPECT_EQ(ErrorOf([&] { image.SetReductionBits(9); }), "Invalid Bits Per Pixel value");
    image.SetReductionBits(3);
    EXPECT_EQ(image.ReductionBits, 3);
    image.SetAnimationSpeed(5000);
    EXPECT_EQ(image.AnimationSpeed, 1000);
    image.SetAnimationSpeed(-4);
    EXPECT_EQ(image.AnimationSpeed, 0);
}

TEST(GIFDocument, HeaderBackgroundIndex) {
    TGIFImage image;
    WarningLog log;
    image.WarningHook = log.Hook();
    image.Header->SetBackgroundColorIndex(7);
    EXPECT_EQ(image.Header->ScreenDescriptor.BackgroundColorIndex, 7) << "no table, no check";
    image.GetColorMap()->Add(clBlack);
    image.Header->SetBackgroundColor(clWhite);
    EXPECT_EQ(image.Header->ScreenDescriptor.BackgroundColorIndex, 1);
    EXPECT_EQ(image.Header->GetBackgroundColor(), clWhite);
    image.Header->SetBackgroundColorIndex(2);
    EXPECT_EQ(image.Header->ScreenDescriptor.BackgroundColorIndex, 0);
    EXPECT_EQ(log.texts, std::vector<std::string>{"Invalid color index"});
}

TEST(GIFDocument, ClearEmptiesTheDocument) {
    TGIFImage image;
    AddFrame(image, 0, 0, 10, 10);
    image.GetColorMap()->Add(clBlack);
    image.Clear();
    EXPECT_TRUE(image.GetEmpty());
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetColorMap()->GetCount(), 0);
}
