#include <gtest/gtest.h>

#include "platform/classes/exception.h"
#include "platform/classes/stream.h"
#include "platform/picture_fixtures.h"

TEST(Streams, WholeCountOperationsRaiseWhenShort) {
    TMemoryStream memory;
    memory.WriteBuffer("abc", 3);
    memory.SetPosition(0);
    char buffer[4] = {};
    try {
        memory.ReadBuffer(buffer, 4);
        FAIL() << "reading past the end succeeded";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message, "Stream read error");
    }

    const std::string path = ScratchFolder() + "/read-only";
    { TFileStream create(path, fmCreate); }
    TFileStream file(path, fmOpenRead);
    try {
        file.WriteBuffer("abc", 3);
        FAIL() << "writing to a read-only stream succeeded";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message, "Stream write error");
    }
}
