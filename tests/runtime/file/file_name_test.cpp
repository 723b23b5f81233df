// Names: Windows paths on the host, sizes by name, the file-name part of a path and the
// current directory.
#include <cstring>
#include <filesystem>
#include <string>

#include "tests/runtime/file/file_fixture.h"

namespace {

using FileNameTest = FileTest;

TEST_F(FileNameTest, BackslashesSeparateAndCaseIsMatchedWhenNeeded) {
    Make("GFX/tiles.png", "png");
    ASSERT_EQ(File_OpenRead(1, "GFX\\tiles.png"), 1);
    EXPECT_EQ(Line(1), "png");
    ASSERT_EQ(File_OpenRead(2, "gfx\\TILES.PNG"), 1);
    EXPECT_EQ(File_Length(2), 3);
    ASSERT_EQ(File_OpenRead(3, ".\\Gfx\\..\\gfx\\Tiles.png"), 1);
    // A new file in a directory matched without regard to case goes into that directory.
    ASSERT_EQ(File_Create(4, "gfx\\New.txt"), 1);
    File_Close(4);
    EXPECT_TRUE(std::filesystem::exists("GFX/New.txt"));
}

TEST_F(FileNameTest, SizesByName) {
    Make("Kavro.Map", std::string(1234, 'm'));
    std::filesystem::create_directory("GFX");
    EXPECT_EQ(File_Size("Kavro.Map"), 1234);
    EXPECT_EQ(File_Size("kavro.map"), 1234);
    EXPECT_EQ(File_Size("missing.png"), -1);
    EXPECT_EQ(File_Size("GFX"), -2);
    EXPECT_EQ(File_Size("GFX\\"), -2);
    EXPECT_EQ(File_Size("GFX\\\\\\"), -2);
    EXPECT_EQ(File_Size("Kavro.Map\\"), 1234);
    EXPECT_EQ(File_Size("GFX\\missing.png"), -1);
    EXPECT_EQ(File_Size(nullptr), -1);
    EXPECT_EQ(File_Size(""), -1);
    EXPECT_EQ(File_Size("\\"), -1);
    // Too long to be a path: nothing, rather than a shortened name that may exist.
    std::string too_long(300, 'k');
    Make(too_long.substr(0, 255), "x");
    EXPECT_EQ(File_Size(too_long.c_str()), -1);
    // An empty file has size 0, which is not "missing".
    Make("empty", "");
    EXPECT_EQ(File_Size("empty"), 0);
}

TEST_F(FileNameTest, DrivesAreZAndNothingElse) {
    EXPECT_EQ(File_Size("Z:"), -2);
    EXPECT_EQ(File_Size("z:"), -2);
    EXPECT_EQ(File_Size("Z:\\"), -2);
    EXPECT_EQ(File_Size("C:"), -1);
    EXPECT_EQ(File_Size("C:\\"), -1);
    // Through the drive, a file is found from the root.
    Make("sized.bin", std::string(77, 's'));
    std::string absolute = "Z:" + (directory_ / "sized.bin").string();
    for (char& c : absolute) {
        if (c == '/') c = '\\';
    }
    EXPECT_EQ(File_Size(absolute.c_str()), 77);
    EXPECT_EQ(File_OpenRead(1, "C:\\sized.bin"), 0);
}

TEST_F(FileNameTest, NetworkSharesDoNotExist) {
    EXPECT_EQ(File_Size("\\\\server\\share"), -1);
    EXPECT_EQ(File_Size("\\\\server\\share\\"), -1);
}

TEST_F(FileNameTest, FilePartOfPaths) {
    struct Case {
        const char* path;
        const char* part;
    } cases[] = {
        {"\"C:\\Games\\GFX\\tiles.png\"", "tiles.png"},
        {"\"tiles.png\"", "tiles.png"},
        {"C:\\Games/GFX\\tiles.png", "tiles.png"},
        {"tiles.png", "tiles.png"},
        {"GFX\\", ""},
        {"", ""},
        {nullptr, ""},
        {"\"a\\b c\" d", "b c"},
    };
    StringGlobals& g = String_Globals();
    for (const Case& c : cases) {
        int32_t p = g.position;
        char* part = Path_FilePart(c.path, p);
        EXPECT_STREQ(part, c.part) << (c.path ? c.path : "(null)");
        EXPECT_EQ(g.position, p + static_cast<int32_t>(std::strlen(c.part)));
        String_SetPosition(p);
    }
}

TEST_F(FileNameTest, FilePartOfAPathInTheTemporaryBuffer) {
    StringGlobals& g = String_Globals();
    // The path is the text just built; the part is written after it and the buffer grows.
    String_Append("\"Z:\\some\\where\\tileset_with_a_long_name.png\"");
    int32_t p = g.position + 1;
    String_Reserve(1, g.position);
    EXPECT_STREQ(Path_FilePart(g.base, p), "tileset_with_a_long_name.png");
}

// The current directory as the file calls name it, in Windows-1252: what the code page
// cannot write becomes '?'. Deep and removed directories too.
TEST_F(FileNameTest, CurrentDirectory) {
    const std::string base = std::filesystem::canonical(directory_).string();
    const std::string deep = std::string(120, 'd') + "/" + std::string(200, 'e');
    const struct {
        std::string host, text;
    } cases[] = {
        {"plain", base + "/plain"},
        {"Caf\xC3\xA9 \xE2\x82\xAC", base + "/Caf\xE9 \x80"},
        {"snow \xE2\x98\x83 \xF0\x9F\x8E\xAE", base + "/snow ? ?"},
        {"stray \xFF\x80", base + "/stray ??"},
        {deep, base + "/" + deep},
    };
    StringGlobals& g = String_Globals();
    for (const auto& c : cases) {
        std::filesystem::create_directories(directory_ / c.host);
        std::filesystem::current_path(directory_ / c.host);
        int32_t p = g.position;
        EXPECT_EQ(Path_CurrentDirectory(p), c.text);
        EXPECT_EQ(g.position, p + static_cast<int32_t>(c.text.size()));
        String_SetPosition(p);
    }
    std::filesystem::create_directory(directory_ / "gone");
    std::filesystem::current_path(directory_ / "gone");
    std::filesystem::remove(directory_ / "gone");
    int32_t p = g.position;
    EXPECT_STREQ(Path_CurrentDirectory(p), "");
    EXPECT_EQ(g.position, p);
}

}  // namespace
