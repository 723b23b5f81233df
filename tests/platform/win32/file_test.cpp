// The file stand-ins: creation rules, sharing, 64-bit file pointers, handles, find-first,
// attributes and drive types.
#include "platform/win32/file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/file_error.h"
#include "tests/support/temp_working_folder.h"

namespace {

class Win32FileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(folder_.Enter("kavro-win32"));
        directory_ = folder_.Path();
    }
    void TearDown() override { folder_.Leave(); }
    static void Make(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string Contents(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static HANDLE Open(const char* name, DWORD access, DWORD share, DWORD disposition) {
        return CreateFileA(name, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    }

    std::filesystem::path directory_;

  private:
    TempWorkingFolder folder_;
};

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

TEST_F(Win32FileTest, CreationDispositions) {
    HANDLE h = Open("a.txt", kReadWrite, 0, OPEN_EXISTING);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("nowhere\\a.txt", kReadWrite, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    h = Open("a.txt", kReadWrite, 0, CREATE_NEW);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), NO_ERROR);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(h, "hello", 5, &n, nullptr));
    EXPECT_EQ(n, 5u);
    EXPECT_TRUE(CloseHandle(h));

    EXPECT_EQ(Open("a.txt", kReadWrite, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

    h = Open("a.txt", GENERIC_READ, 0, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFileSize(h, nullptr), 5u);
    CloseHandle(h);

    h = Open("a.txt", kReadWrite, 0, CREATE_ALWAYS);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFileSize(h, nullptr), 0u);
    CloseHandle(h);

    Make("b.txt", "bytes");
    EXPECT_EQ(Open("b.txt", GENERIC_READ, 0, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    h = Open("b.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_EQ(Contents("b.txt"), "");
    EXPECT_EQ(Open("b.txt", kReadWrite, 0, 9), INVALID_HANDLE_VALUE);
}

TEST_F(Win32FileTest, DirectoriesAndPipesAreRefusedWithoutWaiting) {
    std::filesystem::create_directory("dir");
    EXPECT_EQ(Open("dir", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Open("dir\\", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    EXPECT_EQ(Open("pipe", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Open("Z:\\", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

TEST_F(Win32FileTest, SharingBetweenHandles) {
    Make("s.txt", "shared");
    HANDLE reader = Open("s.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    HANDLE second = Open("s.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    // Writers are refused while the readers do not share writing, and nothing is truncated.
    EXPECT_EQ(Open("s.txt", kReadWrite, FILE_SHARE_READ, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Contents("s.txt"), "shared");
    // A reader that does not share reading is refused too.
    EXPECT_EQ(Open("s.txt", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    CloseHandle(reader);
    CloseHandle(second);

    HANDLE writer = Open("s.txt", kReadWrite, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    // A new reader must share writing, since a writer is open.
    EXPECT_EQ(Open("s.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    HANDLE tolerant =
        Open("s.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    EXPECT_NE(tolerant, INVALID_HANDLE_VALUE);
    CloseHandle(tolerant);
    CloseHandle(writer);
}

TEST_F(Win32FileTest, ReadingAndWritingNeedTheirAccess) {
    Make("r.txt", "abcdef");
    HANDLE h = Open("r.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    char buffer[16] = {};
    DWORD n = 99;
    EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(FlushFileBuffers(h));
    EXPECT_TRUE(ReadFile(h, buffer, 4, &n, nullptr));
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    // Past the end: success with what was there, then success with nothing.
    EXPECT_TRUE(ReadFile(h, buffer, 16, &n, nullptr));
    EXPECT_EQ(n, 2u);
    EXPECT_TRUE(ReadFile(h, buffer, 16, &n, nullptr));
    EXPECT_EQ(n, 0u);
    CloseHandle(h);

    h = Open("w.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    EXPECT_FALSE(ReadFile(h, buffer, 1, &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(FlushFileBuffers(h));
    CloseHandle(h);
}

TEST_F(Win32FileTest, FilePointerIs64Bit) {
    HANDLE h = Open("sparse.bin", kReadWrite, 0, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LONG high = 1;
    EXPECT_EQ(SetFilePointer(h, 16, &high, FILE_BEGIN), 16u);
    EXPECT_EQ(high, 1);
    DWORD n = 0;
    ASSERT_TRUE(WriteFile(h, "z", 1, &n, nullptr));
    DWORD size_high = 0;
    EXPECT_EQ(GetFileSize(h, &size_high), 17u);
    EXPECT_EQ(size_high, 1u);
    // Back by more than 4 GiB from the end, with a negative 64-bit distance.
    int64_t back = -(int64_t{1} << 32);
    high = static_cast<LONG>(back >> 32);
    EXPECT_EQ(SetFilePointer(h, static_cast<LONG>(back & 0xFFFFFFFF), &high, FILE_END), 17u);
    EXPECT_EQ(high, 0);
    // Before the start is refused and the position stays.
    EXPECT_EQ(SetFilePointer(h, -100, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    high = 0;
    EXPECT_EQ(SetFilePointer(h, 0, &high, FILE_CURRENT), 17u);
    // Without a high half the position must fit in 32 bits.
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_NE(GetLastError(), NO_ERROR);
    // 0xFFFFFFFF is a valid low half; the last error tells it from a failure.
    high = 0;
    EXPECT_EQ(SetFilePointer(h, -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_EQ(high, 0);
    CloseHandle(h);
}

TEST_F(Win32FileTest, StaleAndInventedHandlesAreRefused) {
    Make("h.txt", "x");
    HANDLE h = Open("h.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    char c;
    DWORD n;
    for (HANDLE bad : {h, INVALID_HANDLE_VALUE, static_cast<HANDLE>(nullptr),
                       reinterpret_cast<HANDLE>(uintptr_t{0x123457}),
                       reinterpret_cast<HANDLE>(uintptr_t{4} << 40)}) {
        EXPECT_FALSE(ReadFile(bad, &c, 1, &n, nullptr));
        EXPECT_FALSE(WriteFile(bad, &c, 1, &n, nullptr));
        EXPECT_EQ(SetFilePointer(bad, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
        EXPECT_FALSE(CloseHandle(bad));
        EXPECT_FALSE(FindClose(bad));
    }
}

TEST_F(Win32FileTest, FindFirstReportsTheNameOnTheDisk) {
    std::filesystem::create_directory("GFX");
    Make("GFX/Tiles.PNG", std::string(300, 't'));
    Make("GFX/alpha.png", "a");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("gfx\\tiles.png", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "Tiles.PNG");
    EXPECT_EQ(data.nFileSizeLow, 300u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    // A find handle is not a file handle.
    EXPECT_FALSE(CloseHandle(find));
    EXPECT_TRUE(FindClose(find));

    find = FindFirstFileA("GFX\\*.PNG", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "Tiles.PNG");  // "T" sorts before "a"
    FindClose(find);
    find = FindFirstFileA("gfx\\?lpha.*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "alpha.png");
    FindClose(find);

    find = FindFirstFileA("GFX", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(find);

    for (const char* missing :
         {"GFX\\", "GFX\\none.png", "*.none", "Z:\\", "\\", "a*\\b", "C:\\GFX"}) {
        EXPECT_EQ(FindFirstFileA(missing, &data), INVALID_HANDLE_VALUE) << missing;
    }
    EXPECT_EQ(FindFirstFileA("GFX", nullptr), INVALID_HANDLE_VALUE);
}

TEST_F(Win32FileTest, AttributesAndDriveTypes) {
    std::filesystem::create_directory("dir");
    Make("file.txt", "f");
    EXPECT_EQ(GetFileAttributesA("dir"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("DIR\\"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("file.txt"), FILE_ATTRIBUTE_NORMAL);
    chmod("file.txt", 0444);
    EXPECT_EQ(GetFileAttributesA("file.txt"), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(GetFileAttributesA("file.txt\\"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("missing"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesA("Z:\\"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("\\\\server\\share"), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(GetDriveTypeA(nullptr), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeA("Z:\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeA("z:"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeA("\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveTypeA("C:\\"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(GetDriveTypeA("Z:x"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(GetDriveTypeA("dir\\"), DRIVE_NO_ROOT_DIR);
}

TEST_F(Win32FileTest, HandlesAreReusedAndManyCanBeOpen) {
    Make("many.txt", "m");
    std::vector<HANDLE> handles;
    for (int i = 0; i < 200; ++i) {
        HANDLE h = Open("many.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << i;
        handles.push_back(h);
    }
    for (HANDLE h : handles) EXPECT_TRUE(CloseHandle(h));
    HANDLE again = Open("many.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(again, handles[0]);
    CloseHandle(again);
}

}  // namespace
