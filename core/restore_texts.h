// Texts of the database restore: backup path, restore statement and connection string.
#pragma once

#include <string>
#include <string_view>

namespace quenlo {

inline constexpr char kBackupFileSuffix[] = "\\kovra.bak";
inline constexpr char kRestoreHead[] = " RESTORE DATABASE ";
inline constexpr char kRestoreMiddle[] = " FROM disk = ";
inline constexpr char kConnectionHead[] =
    "Provider=SQLOLEDB.1;Password=tulip;Persist Security Info=True;User ID=sa;"
    "Initial Catalog=master;Data Source=";
inline constexpr char kConnectionTail[] = "\\home";

// The install folder and the backup's name, plainly joined.
std::string BackupPath(std::string_view installFolder);

// Encloses `text` in single quotes and doubles every quote inside. Byte-wise is safe for code
// page 936: 0x27 is never part of a double-byte character there.
std::string QuoteSqlString(std::string_view text);

std::string RestoreStatement(std::string_view databaseName, std::string_view backupPath);

std::string ConnectionString(std::string_view computerName);

}  // namespace quenlo
