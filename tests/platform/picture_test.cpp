#include <gtest/gtest.h>

#include <filesystem>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/icon.h"
#include "platform/graphics/jpeg_image.h"
#include "platform/graphics/picture.h"
#include "platform/graphics/png_image.h"
#include "platform/picture_fixtures.h"

namespace {

// Copies a test picture under a new name into a scratch folder.
std::string CopyAs(const std::string& Source, const std::string& Name) {
    const std::string path = ScratchFolder() + "/" + Name;
    std::filesystem::copy_file(TestDataDir() + "/" + Source, path);
    return path;
}

} // namespace

TEST(Picture, LoadFromFileChoosesTheKindByExtensionWhateverItsCase) {
    struct TCase {
        const char* Source;
        const char* Name;
        const char* Kind;
    };
    const TCase cases[] = {{"bmp/pal8.bmp", "a.BMP", "TBitmap"},
                           {"jpeg/baseline.jpg", "a.Jpg", "TJPEGImage"},
                           {"jpeg/baseline.jpg", "a.jpeg", "TJPEGImage"},
                           {"icon/depths.ico", "a.ico", "TIcon"},
                           {"png/alpha.png", "a.PNG", "TPNGImage"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPicture picture;
        picture.LoadFromFile(CopyAs(c.Source, c.Name));
        ASSERT_NE(picture.Graphic(), nullptr);
        const std::string kind = dynamic_cast<TPNGImage*>(picture.Graphic())    ? "TPNGImage"
                                 : dynamic_cast<TBitmap*>(picture.Graphic())    ? "TBitmap"
                                 : dynamic_cast<TJPEGImage*>(picture.Graphic()) ? "TJPEGImage"
                                 : dynamic_cast<TIcon*>(picture.Graphic())      ? "TIcon"
                                                                                : "other";
        EXPECT_EQ(kind, c.Kind);
        EXPECT_GT(picture.Width(), 0);
    }
}

TEST(Picture, UnknownAndUnbuiltKindsRaise) {
    struct TCase {
        const char* Name;
        const char* Message;
    };
    const TCase cases[] = {{"a.xyz", "Unknown picture file extension (.xyz)"},
                           {"noextension", "Unknown picture file extension ()"},
                           {"a.WMF", "Metafile pictures are not supported"}};
    for (const TCase& c : cases) {
        TPicture picture;
        try {
            picture.LoadFromFile(CopyAs("bmp/pal8.bmp", c.Name));
            ADD_FAILURE() << c.Name << " loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message, c.Message);
        }
    }
}

TEST(Picture, APNGIsABitmapCompositedOntoWhite) {
    TPicture picture;
    picture.LoadFromFile(CopyAs("png/alpha.png", "a.png"));
    TGraphic* loaded = picture.Graphic();
    TBitmap& bitmap = picture.Bitmap();
    EXPECT_EQ(&bitmap, loaded);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_EQ(bitmap.ScanLine(0)[0], 255);
}

TEST(Picture, BitmapReplacesAnotherKindByAnEmptyBitmap) {
    TPicture picture;
    picture.LoadFromFile(CopyAs("jpeg/baseline.jpg", "a.jpg"));
    EXPECT_EQ(picture.Width(), 37);
    TBitmap& bitmap = picture.Bitmap();
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(picture.Graphic(), &bitmap);
    EXPECT_EQ(picture.Width(), 0);
}

TEST(Picture, RegisteredKindsJoinTheKnownOnes) {
    EXPECT_EQ(TPicture::CreateGraphicFor(".vtx"), nullptr);
    TPicture::RegisterFileFormat(".VTX", [] { return std::make_unique<TBitmap>(); });
    EXPECT_NE(dynamic_cast<TBitmap*>(TPicture::CreateGraphicFor(".vtx").get()), nullptr);
}

TEST(Picture, FileExtensionIsTakenFromTheLastComponent) {
    EXPECT_EQ(ExtractFileExt("a/b.c/photo"), "");
    EXPECT_EQ(ExtractFileExt("a\\b.c\\photo.Tar.GZ"), ".GZ");
    EXPECT_EQ(ExtractFileExt("photo."), ".");
}

TEST(JPEGImage, SavesTheBytesItLoaded) {
    TJPEGImage jpeg;
    EXPECT_THROW(jpeg.SaveToFile(ScratchFolder() + "/empty.jpg"), EInvalidGraphic);
    jpeg.LoadFromFile(TestDataDir() + "/jpeg/baseline.jpg");
    const std::string path = ScratchFolder() + "/copy.jpg";
    jpeg.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(TestDataDir() + "/jpeg/baseline.jpg"));
}
