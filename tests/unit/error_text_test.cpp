#include "core/error_text.h"

#include <gtest/gtest.h>

#include "tests/support/io_error_cases.h"

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
    for (const auto& c : quenlo::test::kIoErrorCases) {
        EXPECT_EQ(quenlo::IoErrorMessage(c.code), c.message) << c.code;
    }
}

}  // namespace
