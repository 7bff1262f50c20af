#include "core/restore_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(RestoreTexts, WorkedExampleAndEdgeCases) {
    struct Case {
        const char* folder;
        const char* computer;
        const char* backup;
        const char* statement;
        const char* dataSource;
    };
    const Case cases[] = {
        {"D:\\setup", "SRV01", "D:\\setup\\kovra.bak",
         " RESTORE DATABASE kovra FROM disk = 'D:\\setup\\kovra.bak'", "SRV01\\home"},
        // A folder ending in a separator is joined as it is.
        {"C:\\", "SRV01", "C:\\\\kovra.bak",
         " RESTORE DATABASE kovra FROM disk = 'C:\\\\kovra.bak'", "SRV01\\home"},
        // The quote is doubled in the statement only.
        {"D:\\it's", "SRV01", "D:\\it's\\kovra.bak",
         " RESTORE DATABASE kovra FROM disk = 'D:\\it''s\\kovra.bak'", "SRV01\\home"},
        // Chinese folder bytes pass unchanged, a 0x5C trail byte included (琝 = AC 5C).
        {"D:\\安装\\琝", "服务器", "D:\\安装\\琝\\kovra.bak",
         " RESTORE DATABASE kovra FROM disk = 'D:\\安装\\琝\\kovra.bak'", "服务器\\home"},
        // No computer name: the data source is the instance alone.
        {"D:\\setup", "", "D:\\setup\\kovra.bak",
         " RESTORE DATABASE kovra FROM disk = 'D:\\setup\\kovra.bak'", "\\home"},
    };
    const std::string head =
        "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
        "Initial Catalog=master;Data Source=";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const std::string backup = quenlo::BackupPath(c.folder);
        EXPECT_EQ(backup, c.backup);
        EXPECT_EQ(quenlo::RestoreStatement("kovra", backup), c.statement);
        EXPECT_EQ(quenlo::ConnectionString(c.computer), head + c.dataSource);
    }
}

TEST(RestoreTexts, QuotingIsByteWise) {
    EXPECT_EQ(quenlo::QuoteSqlString(""), "''");
    EXPECT_EQ(quenlo::QuoteSqlString("'"), "''''");
    EXPECT_EQ(quenlo::QuoteSqlString("a''b"), "'a''''b'");
}

}  // namespace
