// The compiled-in resources as Windows sees them: this test executable links the same resource
// object as setup.exe and reads everything back from its own module.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

#pragma pack(push, 2)
struct GroupIconDir {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "GRPICONDIRENTRY is packed to 14 bytes");

struct Resource {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Resource FindOwnResource(LPCSTR name, LPCSTR type) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(self, name, type);
    if (!info) return {};
    HGLOBAL handle = LoadResource(self, info);
    if (!handle) return {};
    return {static_cast<const BYTE*>(LockResource(handle)), SizeofResource(self, info)};
}

DWORD RowBytes(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

// A white 32-bit drawing surface, to see an image the way Windows puts it on screen.
class Canvas {
  public:
    explicit Canvas(int size) : size_(size) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = size;
        bi.bmiHeader.biHeight = -size;  // top row first
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < size * size; ++i) bits_[i] = 0x00FFFFFF;
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const {
        const DWORD v = bits_[y * size_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

  private:
    int size_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

bool IsWhite(COLORREF c) { return c == RGB(255, 255, 255); }
bool IsRed(COLORREF c) {
    return GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60;
}
bool IsBlue(COLORREF c) {
    return GetBValue(c) > GetRValue(c) + 60 && GetBValue(c) > GetGValue(c) + 60;
}

std::string Describe(COLORREF c) {
    return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

TEST(AppIcon, GroupListsFifteenBitmapImagesBySizeThenDepth) {
    const Resource group = FindOwnResource("MAINICON", RT_GROUP_ICON);
    ASSERT_NE(group.data, nullptr);
    ASSERT_GE(group.size, sizeof(GroupIconDir));
    const auto* dir = reinterpret_cast<const GroupIconDir*>(group.data);
    EXPECT_EQ(dir->type, 1);
    ASSERT_EQ(dir->count, 15);
    ASSERT_EQ(group.size, sizeof(GroupIconDir) + 15 * sizeof(GroupIconEntry));
    const auto* entries =
        reinterpret_cast<const GroupIconEntry*>(group.data + sizeof(GroupIconDir));

    const int sizes[] = {16, 24, 32, 48, 128};
    const int depths[] = {4, 8, 32};
    int i = 0;
    for (int size : sizes) {
        for (int bpp : depths) {
            const GroupIconEntry& e = entries[i++];
            SCOPED_TRACE("entry " + std::to_string(i - 1) + ": " + std::to_string(size) + " px, " +
                         std::to_string(bpp) + " bpp");
            EXPECT_EQ(e.width, size);
            EXPECT_EQ(e.height, size);
            EXPECT_EQ(e.bitCount, bpp);
            EXPECT_EQ(e.colours, bpp == 4 ? 16 : 0);

            const Resource image = FindOwnResource(MAKEINTRESOURCEA(e.id), RT_ICON);
            ASSERT_NE(image.data, nullptr);
            ASSERT_EQ(image.size, e.bytes);
            ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
            ASSERT_NE(std::memcmp(image.data, "\x89PNG", 4), 0) << "PNG image in the icon";
            BITMAPINFOHEADER h;
            std::memcpy(&h, image.data, sizeof(h));
            EXPECT_EQ(h.biSize, sizeof(BITMAPINFOHEADER));
            EXPECT_EQ(h.biWidth, size);
            EXPECT_EQ(h.biHeight, 2 * size);  // colour bits and mask
            EXPECT_EQ(h.biBitCount, bpp);
            EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
            // Header, palette, colour rows and mask rows, each row padded to four bytes: any
            // other length means Windows reads the mask from the wrong place.
            const DWORD palette = bpp <= 8 ? 4u << bpp : 0;
            EXPECT_EQ(image.size,
                      sizeof(h) + palette + RowBytes(size, bpp) * size + RowBytes(size, 1) * size);

            // Drawn by Windows: clear corner, red carton, blue centre of the disc.
            HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE,
                                                  0x00030000, size, size, LR_DEFAULTCOLOR);
            ASSERT_NE(icon, nullptr);
            Canvas canvas(size);
            ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
            DestroyIcon(icon);
            const COLORREF corner = canvas.at(0, 0);
            const COLORREF carton = canvas.at(size * 22 / 100, size * 66 / 100);
            const COLORREF disc = canvas.at(size * 80 / 100, size * 72 / 100);
            EXPECT_TRUE(IsWhite(corner)) << "top-left corner " << Describe(corner);
            EXPECT_TRUE(IsRed(carton)) << "carton front " << Describe(carton);
            EXPECT_TRUE(IsBlue(disc)) << "disc centre " << Describe(disc);
        }
    }
}

TEST(AppIcon, WindowsPicksTheRequestedSizeFromTheGroup) {
    const Resource group = FindOwnResource("MAINICON", RT_GROUP_ICON);
    ASSERT_NE(group.data, nullptr);
    for (int size : {16, 32, 48}) {
        const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data), TRUE, size, size,
                                                   LR_DEFAULTCOLOR);
        ASSERT_NE(id, 0) << size;
        const Resource image = FindOwnResource(MAKEINTRESOURCEA(id), RT_ICON);
        ASSERT_NE(image.data, nullptr);
        BITMAPINFOHEADER h;
        std::memcpy(&h, image.data, sizeof(h));
        EXPECT_EQ(h.biWidth, size);
    }
}

struct GlyphCase {
    const char* name;
    // The pixels that are white; empty: a white background round the picture.
    std::vector<std::pair<int, int>> onlyWhite;
    std::pair<int, int> keyPixel;
    std::function<bool(COLORREF)> keyColour;
    const char* keyDescription;
};

bool IsPurple(COLORREF c) {
    return GetRValue(c) > GetGValue(c) + 40 && GetBValue(c) > GetGValue(c) + 40;
}
bool IsNearBlack(COLORREF c) { return GetRValue(c) < 70 && GetGValue(c) < 70 && GetBValue(c) < 80; }

TEST(ButtonGlyphs, SixteenSquareTrueColourWithWhiteBottomLeft) {
    const GlyphCase cases[] = {
        {"GLYPH1", {{0, 0}, {15, 0}, {0, 15}, {15, 15}}, {2, 8}, IsRed, "red-orange square"},
        {"GLYPH2", {}, {10, 5}, IsPurple, "purple cover"},
        {"GLYPH3", {}, {11, 12}, IsBlue, "blue plug"},
        {"GLYPH4", {{0, 15}}, {1, 8}, IsNearBlack, "near-black body"},
    };
    for (const GlyphCase& c : cases) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), c.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION ds{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
        EXPECT_EQ(ds.dsBm.bmWidth, 16);
        EXPECT_EQ(ds.dsBm.bmHeight, 16);
        EXPECT_EQ(ds.dsBm.bmBitsPixel, 24);

        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        std::set<std::pair<int, int>> white;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (IsWhite(GetPixel(dc, x, y))) white.insert({x, y});
        const COLORREF key = GetPixel(dc, c.keyPixel.first, c.keyPixel.second);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);

        // The bottom-left pixel gives the button its transparent colour.
        EXPECT_TRUE(white.count({0, 15}));
        if (!c.onlyWhite.empty()) {
            const std::set<std::pair<int, int>> expected(c.onlyWhite.begin(), c.onlyWhite.end());
            EXPECT_EQ(white, expected);
        } else {
            EXPECT_TRUE(white.count({0, 0})) << "background";
            EXPECT_LE(white.size(), 192u) << "hardly anything drawn";
        }
        EXPECT_TRUE(c.keyColour(key)) << c.keyDescription << " " << Describe(key);
    }
}

TEST(Manifest, AsksForAdministratorAndCommonControlsSix) {
    const Resource manifest = FindOwnResource(MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(manifest.data, nullptr);
    const std::string text(reinterpret_cast<const char*>(manifest.data), manifest.size);
    for (const char* expected : {
             "level=\"requireAdministrator\" uiAccess=\"false\"",
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "processorArchitecture=\"x86\"",
             ">true</dpiAware>",
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
}

TEST(VersionInfo, ReadsBackInCodePage936) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &len));
    ASSERT_GE(len, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);

    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "Quenlo（网络版）服务器端安装程序"},
        {"ProductName", "Quenlo（网络版）"},
        {"OriginalFilename", "setup.exe"},
        {"LegalCopyright", "版权所有 (C) Quenlo。保留所有权利。"},
    };
    for (const auto& [key, expected] : strings) {
        const std::string query = std::string("\\StringFileInfo\\080404b0\\") + key;
        char* value = nullptr;
        ASSERT_TRUE(
            VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &len))
            << key;
        EXPECT_EQ(std::string(value), expected) << key;
    }
}

}  // namespace
