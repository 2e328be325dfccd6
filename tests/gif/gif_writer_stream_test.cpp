#include <gtest/gtest.h>

#include "gif/gif_stream.h"
#include "gif_test_support.h"
#include "platform/classes/exception.h"

using namespace giftest;

TEST(GIFWriter, CutsDataIntoSubBlocksOf255) {
    struct Case {
        int count;
        std::vector<int> sizes;
    };
    for (const Case& c : {Case{1, {1}}, Case{255, {255}}, Case{256, {255, 1}},
                          Case{600, {255, 255, 90}}, Case{510, {255, 255}}}) {
        TMemoryStream target;
        TGIFWriter writer(target);
        const Bytes data(static_cast<size_t>(c.count), 0xAB);
        EXPECT_EQ(writer.Write(data.data(), c.count), c.count);
        writer.Close();
        Bytes bytes = StreamBytes(target);
        bytes.push_back(0);
        const SubBlocks blocks = ReadSubBlocks(bytes, 0);
        EXPECT_EQ(blocks.Sizes, c.sizes) << c.count;
        EXPECT_EQ(blocks.Payload, data);
        EXPECT_EQ(blocks.End, bytes.size());
    }
}

TEST(GIFWriter, SmallWritesAreGatheredAndNothingIsWrittenForNoData) {
    TMemoryStream target;
    TGIFWriter writer(target);
    writer.Close();
    EXPECT_EQ(writer.Write("", 0), 0);
    writer.Close();
    EXPECT_EQ(target.GetSize(), 0) << "an empty sub-block would end the data early";
    for (int i = 0; i < 300; ++i)
        writer.PutByte(static_cast<uint8_t>(i));
    writer.Write("xy", 2);
    writer.Close();
    writer.Close();
    Bytes bytes = StreamBytes(target);
    bytes.push_back(0);
    EXPECT_EQ(ReadSubBlocks(bytes, 0).Sizes, (std::vector<int>{255, 47}));
}

TEST(GIFWriter, RefusesReadAndSeekAndTheBareStreamRefusesWrite) {
    TMemoryStream target;
    TGIFWriter writer(target);
    uint8_t byte = 0;
    try {
        writer.Read(&byte, 1);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Invalid stream operation");
    }
    EXPECT_THROW(writer.Seek(0, soBeginning), Exception);
    TGIFStream bare(target);
    EXPECT_THROW(bare.Write(&byte, 1), Exception);
}

TEST(GIFWriter, TargetThatTakesLessRaisesStreamWriteError) {
    FullStream target(100);
    TGIFWriter writer(target);
    const Bytes data(300, 1);
    try {
        writer.Write(data.data(), 300);
        FAIL();
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message, "Stream write error");
    }
}
