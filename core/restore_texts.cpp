#include "core/restore_texts.h"

namespace quenlo {

std::string BackupPath(std::string_view installFolder) {
    return std::string(installFolder) + kBackupFileSuffix;
}

std::string QuoteSqlString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

std::string RestoreStatement(std::string_view databaseName, std::string_view backupPath) {
    return std::string(kRestoreHead) + std::string(databaseName) + kRestoreMiddle +
           QuoteSqlString(backupPath);
}

std::string ConnectionString(std::string_view computerName) {
    return std::string(kConnectionHead) + std::string(computerName) + kConnectionTail;
}

}  // namespace quenlo
