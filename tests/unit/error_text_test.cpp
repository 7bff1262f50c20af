#include "core/error_text.h"

#include <gtest/gtest.h>

namespace {

TEST(FullStopRule, AddsOnlyAfterCharactersAboveFullStop) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"File not found.", "File not found."},
        {"File not found", "File not found."},
        {"I/O error 21", "I/O error 21."},
        {"Data Source:", "Data Source:."},
        {"really?", "really?."},
        {"第一步成功完成！", "第一步成功完成！."},  // full-width mark: a double-byte character
        {"数据库", "数据库."},
        {"trailing ", "trailing "},
        {"bang!", "bang!"},
        {"(paren)", "(paren)"},
        {"comma,", "comma,"},
        {"dash-", "dash-"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quenlo::WithFullStop(c.in, quenlo::IsCp936LeadByte), c.out) << c.in;
    }
}

TEST(FullStopRule, TrailByteBelowFullStopStillCountsAsDoubleByte) {
    // GBK 丂 is 81 40; 0x40 alone would get a stop anyway, so use a trail byte 0x2D ("-")-like:
    // no GBK trail byte is below 0x40, so check a lone lead byte at the end instead.
    EXPECT_EQ(quenlo::WithFullStop("ab\x81", quenlo::IsCp936LeadByte), "ab\x81.");
}

TEST(IoErrorMessage, TableAndOtherCodes) {
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {21, "I/O error 21"},
        {0, "I/O error 0"},
        {1223, "I/O error 1223"},
    };
    for (const auto& c : cases) EXPECT_EQ(quenlo::IoErrorMessage(c.code), c.text) << c.code;
}

}  // namespace
