#include <gtest/gtest.h>

#include "frontend/number_text.h"

TEST(ReadInteger, ReadsLikeTheCommandLineExpects) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"42", 42},
        {"  -7", -7},
        {"+13", 13},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-h", 0},
        {"- 5", 0},
        {"\t9", 9},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"2147483647", 2147483647},
        {"1.9", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadInteger(c.text), c.value) << "text: \"" << c.text << "\"";
}

TEST(ReadReal, ReadsDecimalNumbersOnly) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"29.97", 29.97}, {" 10", 10.0}, {"-2.5", -2.5}, {"1e3", 1000.0}, {"1e", 1.0},
        {"2.5x", 2.5},    {".5", 0.5},   {"5.", 5.0},    {"abc", 0.0},    {"", 0.0},
        {"0x10", 0.0},    {"inf", 0.0},  {"nan", 0.0},   {"+3E-1", 0.3},  {"-", 0.0},
        {".", 0.0},       {"1e+", 1.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ReadReal(c.text), c.value) << "text: \"" << c.text << "\"";
}
