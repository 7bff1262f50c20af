#include "core/install_folder.h"

#include <gtest/gtest.h>

namespace {

struct FolderCase {
    const char* path;
    const char* folder;
};

// GBK: 琝 = AC 5C, 盶 = B1 5C; both end in the byte value of a backslash.
const FolderCase kCases[] = {
    {"D:\\setup\\setup.exe", "D:\\setup"},
    {"D:\\安装\\服务器\\setup.exe", "D:\\安装\\服务器"},
    {"C:\\setup.exe", "C:\\"},
    {"\\\\server\\share\\setup.exe", "\\\\server\\share"},
    {"D:\\琝盶\\setup.exe", "D:\\琝盶"},
    {"D:\\琝\\setup.exe", "D:\\琝"},
    {"D:\\a\\琝", "D:\\a"},  // the file name itself ends in 0x5C
    // A backslash after another backslash is kept: the folder keeps the first p characters.
    {"D:\\setup\\\\setup.exe", "D:\\setup\\\\"},
    {"D:setup.exe", "D:"},
    {"setup.exe", ""},
    {"", ""},
    {"\\setup.exe", "\\"},
};

TEST(InstallFolder, FromProgramPathWithCp936) {
    for (const auto& c : kCases) {
        EXPECT_EQ(quenlo::InstallFolderFromPath(c.path, quenlo::IsCp936LeadByte), c.folder)
            << "path: " << c.path;
    }
}

TEST(InstallFolder, SingleByteCodePageTakesEvery0x5cAsSeparator) {
    // Without lead bytes the trail byte of 琝 reads as a backslash, so the real one is kept.
    EXPECT_EQ(quenlo::InstallFolderFromPath("D:\\琝\\setup.exe", quenlo::NoLeadBytes),
              std::string("D:\\\xAC\\\\"));
}

TEST(InstallFolder, TrailByteBeforeLastBackslashIsNotASeparator) {
    // "D:\x\琝\setup.exe" where the byte before the last backslash is a trail 0x5C.
    EXPECT_EQ(quenlo::LastSeparatorPos("\xAC\x5C", quenlo::IsCp936LeadByte), 0u);
    EXPECT_EQ(quenlo::LastSeparatorPos("a\\\xAC\x5C", quenlo::IsCp936LeadByte), 2u);
}

}  // namespace
