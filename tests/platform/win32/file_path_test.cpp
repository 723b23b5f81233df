// Windows names on the host: separators, the drive rule, refused names, case-insensitive
// matching one component at a time, and Windows-1252 names against UTF-8 ones.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "platform/win32/path.h"
#include "platform/win32/path_text.h"
#include "tests/support/temp_working_folder.h"

namespace {

class PathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(folder_.Enter("kavro-path"));
        directory_ = folder_.Path();
    }
    void TearDown() override { folder_.Leave(); }
    static std::string Resolve(const char* name, DWORD expected_error = NO_ERROR) {
        HostPath path;
        EXPECT_EQ(HostPath_Resolve(name, false, &path), expected_error) << name;
        return path.path;
    }
    std::filesystem::path directory_;

  private:
    TempWorkingFolder folder_;
};

TEST_F(PathTest, SeparatorsDotsAndTheDriveRule) {
    EXPECT_EQ(Resolve("GFX\\tiles.png"), "GFX/tiles.png");
    EXPECT_EQ(Resolve("GFX//\\tiles.png"), "GFX/tiles.png");
    EXPECT_EQ(Resolve("Z:\\GFX\\a"), "/GFX/a");
    EXPECT_EQ(Resolve("z:/GFX"), "/GFX");
    EXPECT_EQ(Resolve("\\GFX"), "/GFX");
    EXPECT_EQ(Resolve("Z:GFX"), "GFX");
    EXPECT_EQ(Resolve("Z:\\"), "/");
    EXPECT_EQ(Resolve("Z:"), ".");
    EXPECT_EQ(Resolve("a\\.\\b"), "a/b");
    EXPECT_EQ(Resolve("a\\..\\b"), "b");
    EXPECT_EQ(Resolve("..\\b"), "../b");
    EXPECT_EQ(Resolve("\\..\\..\\etc"), "/etc");
    EXPECT_EQ(Resolve("name. . "), "name");
    Resolve("C:\\GFX", ERROR_PATH_NOT_FOUND);
    Resolve("\\\\server\\share\\x", ERROR_BAD_NETPATH);
    Resolve("", ERROR_PATH_NOT_FOUND);
    Resolve(nullptr, ERROR_PATH_NOT_FOUND);
    Resolve(std::string(300, 'n').c_str(), ERROR_FILENAME_EXCED_RANGE);
    for (const char* bad : {"a<b", "a>b", "a|b", "a\"b", "ab:c", "a*b", "a?b", "x\\a\tb", "..."}) {
        Resolve(bad, ERROR_INVALID_NAME);
    }
    HostPath root;
    HostPath_Resolve("\\", false, &root);
    EXPECT_TRUE(root.root);
    HostPath wild;
    EXPECT_EQ(HostPath_Resolve("dir\\*.png", true, &wild), NO_ERROR);
    EXPECT_TRUE(wild.wildcard);
    EXPECT_EQ(HostPath_Resolve("d*r\\a.png", true, &wild), ERROR_INVALID_NAME);
}

TEST_F(PathTest, ComponentsThatDoNotExistAsWrittenAreMatchedWithoutRegardToCase) {
    std::filesystem::create_directories("Levels/GFX");
    std::ofstream("Levels/GFX/Tiles.png") << "t";
    EXPECT_EQ(Resolve("levels\\gfx\\tiles.PNG"), "Levels/GFX/Tiles.png");
    HostPath path;
    HostPath_Resolve("LEVELS\\gfx\\TILES.png", false, &path);
    EXPECT_EQ(path.leaf, "Tiles.png");
    EXPECT_EQ(path.parent, "Levels/GFX");
    // Below a component that is missing the rest stays as written.
    EXPECT_EQ(Resolve("levels\\Other\\Tiles.png"), "Levels/Other/Tiles.png");
    EXPECT_EQ(Resolve("levels\\gfx\\new.png"), "Levels/GFX/new.png");
    // Two names that differ only in case: the one as written wins, else the first in order.
    std::ofstream("Levels/GFX/tiles.png") << "u";
    EXPECT_EQ(Resolve("levels\\gfx\\tiles.png"), "Levels/GFX/tiles.png");
    EXPECT_EQ(Resolve("levels\\gfx\\TILES.PNG"), "Levels/GFX/Tiles.png");
    // Absolute names walk from the root.
    std::string absolute = "Z:" + (directory_ / "LEVELS" / "gfx").string();
    EXPECT_EQ(Resolve(absolute.c_str()), (directory_ / "Levels" / "GFX").string());
}

TEST_F(PathTest, NamesInTheWindowsCodePageMatchUtf8NamesOnTheDisk) {
    std::filesystem::create_directory("Caf\xC3\xA9");      // "Café" in UTF-8
    std::ofstream("Caf\xC3\xA9/\xC5\x92uvre.txt") << "x";  // "Œuvre.txt"
    // "CAFÉ\œUVRE.TXT" in Windows-1252.
    EXPECT_EQ(Resolve("CAF\xC9\\\x9CUVRE.TXT"), "Caf\xC3\xA9/\xC5\x92uvre.txt");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("caf\xE9\\\x8Cuvre.txt", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "\x8Cuvre.txt");
    FindClose(find);
    // A new file gets its name in UTF-8.
    HANDLE h = CreateFileA("caf\xE9\\\x80.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(std::filesystem::exists("Caf\xC3\xA9/\xE2\x82\xAC.txt"));  // "€.txt"
}

TEST(PathTextTest, EveryCodePageByteSurvivesTheRoundTrip) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    std::string utf8 = HostPath_Utf8FromCp1252(all);
    std::string back;
    ASSERT_TRUE(HostPath_Cp1252FromUtf8(utf8, &back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(HostPath_Utf8FromCp1252("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(HostPath_Utf8FromCp1252("\xE9"), "\xC3\xA9");
}

TEST(PathTextTest, HostNamesOutsideTheCodePageAreRefused) {
    std::string out;
    EXPECT_FALSE(HostPath_Cp1252FromUtf8("\xE4\xB8\xAD", &out));      // a CJK character
    EXPECT_FALSE(HostPath_Cp1252FromUtf8("\xF0\x9F\x98\x80", &out));  // an emoji
    EXPECT_FALSE(HostPath_Cp1252FromUtf8("\xC3", &out));              // cut short
    EXPECT_FALSE(HostPath_Cp1252FromUtf8("\xC0\xAF", &out));          // overlong "/"
    EXPECT_FALSE(HostPath_Cp1252FromUtf8("\xA9", &out));              // no lead byte
    EXPECT_TRUE(HostPath_Cp1252FromUtf8("plain", &out));
    EXPECT_EQ(out, "plain");
}

TEST(PathTextTest, CaseAndWildcards) {
    EXPECT_TRUE(HostPath_EqualNoCase("Kavro.MAP", "kavro.map"));
    EXPECT_TRUE(HostPath_EqualNoCase("\xC9\x8A\x9F", "\xE9\x9A\xFF"));  // ÉŠŸ / éšÿ
    EXPECT_FALSE(HostPath_EqualNoCase("\xD7", "\xF7"));                 // × and ÷ are no pair
    EXPECT_FALSE(HostPath_EqualNoCase("a", "ab"));
    EXPECT_TRUE(HostPath_WildcardMatch("*.png", "Tiles.PNG"));
    EXPECT_TRUE(HostPath_WildcardMatch("t?les*", "tiles.png"));
    EXPECT_TRUE(HostPath_WildcardMatch("*", ""));
    EXPECT_TRUE(HostPath_WildcardMatch("a*b*c", "aXXbYYbZc"));
    EXPECT_FALSE(HostPath_WildcardMatch("a*b*c", "aXXbYYbZ"));
    EXPECT_FALSE(HostPath_WildcardMatch("?", ""));
    EXPECT_FALSE(HostPath_WildcardMatch("*.png", "tiles.jpg"));
    // Long names with many stars stay quick.
    EXPECT_FALSE(HostPath_WildcardMatch("*a*a*a*a*a*a*a*b", std::string(200, 'a')));
}

}  // namespace
