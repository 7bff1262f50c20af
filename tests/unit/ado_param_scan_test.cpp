#include "core/ado/param_scan.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::wstring>;

TEST(ParameterScan, FindsMarkersOutsideQuotedSections) {
    struct Case {
        const wchar_t* text;
        Names names;
    };
    const Case cases[] = {
        // The restore statement: its only colon is the drive colon inside the quoted path.
        {L" RESTORE DATABASE kovra FROM disk = 'D:\\setup\\kovra.bak'", {}},
        {L" RESTORE DATABASE kovra FROM disk = 'D:\\it''s\\kovra.bak'", {}},
        {L"SELECT * FROM t WHERE a = :a", {L"a"}},
        {L"SELECT :first, :second_2, :first", {L"first", L"second_2"}},
        {L"UPDATE t SET x=:x WHERE y=':notme'", {L"x"}},
        {L"SELECT \":quoted\" FROM [odd:name] WHERE z=:z", {L"z"}},
        // A doubled quote stays inside the section; the marker after it is outside again.
        {L"SELECT 'it''s :no' , :yes", {L"yes"}},
        {L"GRANT SELECT ON OBJECT::dbo.t TO u", {}},
        {L"SELECT ':' + x, :: , :", {}},
        {L"WAITFOR DELAY ':' + :d", {L"d"}},
        {L"SELECT :数据库", {L"数据库"}},
        {L"RESTORE DATABASE kovra FROM disk = D:\\setup\\kovra.bak", {}},
        // An unterminated section runs to the end of the text.
        {L"SELECT 'open :a", {}},
        {L"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quenlo::ado::ScanParameterNames(c.text), c.names)
            << testing::PrintToString(std::wstring(c.text));
    }
}

}  // namespace
