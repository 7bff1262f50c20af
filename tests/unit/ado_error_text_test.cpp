#include "core/ado/ole_error_text.h"

#include <gtest/gtest.h>

namespace {

TEST(OleErrorMessage, DescriptionThenSystemTextThenCode) {
    struct Case {
        const char* description;
        const char* system;
        std::uint32_t code;
        const char* message;
    };
    const Case cases[] = {
        {"[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied.",
         "Unspecified error\r\n", 0x80004005,
         "[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied"},
        // Inner full stops stay; only the trailing run of spaces, controls and stops goes.
        {"Timeout expired.  \r\n", "", 0x80040E31, "Timeout expired"},
        {"Ends in dots...", "", 1, "Ends in dots"},
        {"Tab\t\x7F", "", 1, "Tab"},
        {"v1.0 ready", "", 1, "v1.0 ready"},
        {"无法打开数据库。", "", 1, "无法打开数据库。"},  // a full-width stop is not a full stop
        {"", "Library not registered.\r\n", 0x8002801D, "Library not registered"},
        // A description of nothing but stops and spaces counts as none.
        {" . ", "Unspecified error\r\n", 0x80004005, "Unspecified error"},
        {"", "", 0x8002801D, "OLE error 8002801d"},
        {"", "\r\n", 0x00000005, "OLE error 00000005"},
        {"", "", 0xFFFFFFFF, "OLE error ffffffff"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quenlo::ado::OleErrorMessage(c.description, c.system, c.code), c.message)
            << c.description << " | " << c.system;
    }
}

TEST(OleErrorMessage, TrimKeepsDoubleByteCharacters) {
    // GBK trail bytes are never at or below a full stop, so the last character survives whole.
    const std::string text = "数据库 ..";
    EXPECT_EQ(quenlo::ado::TrimOleText(text), "数据库");
    EXPECT_EQ(quenlo::ado::TrimOleText(std::string("x\0\0", 3)), "x");
}

}  // namespace
