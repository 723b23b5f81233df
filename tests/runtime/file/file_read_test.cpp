// Reading files: line endings, values cut short by the end, reads around the 4096-byte buffer.
#include <cstring>
#include <vector>

#include "tests/runtime/file/file_fixture.h"

namespace {

using FileReadTest = FileTest;

TEST_F(FileReadTest, LastLineWithoutEndingReachesTheLength) {
    Make("abc.txt", "abc");
    ASSERT_EQ(File_OpenRead(1, "abc.txt"), 1);
    EXPECT_EQ(Line(1), "abc");
    EXPECT_EQ(File_Position(1), 3);
    EXPECT_EQ(File_Position(1), File_Length(1));
}

TEST_F(FileReadTest, EveryLineEnding) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\rb", {"a", "b"}},
        {"a\r\nb\n", {"a", "b"}},
        {std::string("a\0b", 3), {"a", "b"}},
        {"a\r", {"a"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\r\nb\r\n", {"a", "", "b"}},
        {"\r\n", {""}},
    };
    for (const Case& c : cases) {
        Make("lines.txt", c.bytes);
        ASSERT_EQ(File_OpenRead(2, "lines.txt"), 1);
        for (const std::string& expected : c.lines) EXPECT_EQ(Line(2), expected);
        EXPECT_EQ(File_Position(2), static_cast<int64_t>(c.bytes.size()));
        EXPECT_EQ(File_Length(2), static_cast<int64_t>(c.bytes.size()));
        // At the end: empty lines, and the position stays.
        EXPECT_EQ(Line(2), "");
        EXPECT_EQ(File_Position(2), static_cast<int64_t>(c.bytes.size()));
        File_Close(2);
    }
}

TEST_F(FileReadTest, LinesLongerThanTheBufferAndTheReservation) {
    std::string longest(10000, 'x');
    for (size_t i = 0; i < longest.size(); ++i) longest[i] = static_cast<char>('a' + i % 26);
    Make("long.txt", "short\r\n" + longest + "\r\nend");
    ASSERT_EQ(File_OpenRead(1, "long.txt"), 1);
    EXPECT_EQ(Line(1), "short");
    EXPECT_EQ(Line(1), longest);
    EXPECT_EQ(Line(1), "end");
}

TEST_F(FileReadTest, CrAtTheEdgeOfTheBufferGivesTheNextByteBack) {
    // The CR is the buffer's last byte; the byte after it comes with the next refill.
    std::string bytes(4095, 'q');
    bytes += "\rZ tail";
    Make("edge.txt", bytes);
    ASSERT_EQ(File_OpenRead(1, "edge.txt"), 1);
    EXPECT_EQ(Line(1), std::string(4095, 'q'));
    EXPECT_EQ(File_Position(1), 4096);
    EXPECT_EQ(Line(1), "Z tail");
}

TEST_F(FileReadTest, LineAppendsToTheTextBeingBuilt) {
    Make("names.txt", "tiles.png\r\n");
    ASSERT_EQ(File_OpenRead(1, "names.txt"), 1);
    StringGlobals& g = String_Globals();
    int32_t p0 = g.position;
    String_Append("GFX\\");
    File_ReadLine(1, g.position);
    String_Append("!");
    EXPECT_STREQ(g.base + p0, "GFX\\tiles.png!");
    StringVariable stored = nullptr;
    String_Store(&stored, p0);
    EXPECT_STREQ(stored, "GFX\\tiles.png!");
    EXPECT_EQ(g.position, p0);
    String_Free(stored);
}

TEST_F(FileReadTest, ValuesAreLittleEndianAndSigned) {
    Make("values.bin", std::string("\xFE\xFF\xFF\xFF\x78\x56\x34\x12\x00\x00\xC0\x3F\x80", 13));
    ASSERT_EQ(File_OpenRead(1, "values.bin"), 1);
    EXPECT_EQ(File_ReadWord(1), -2);
    EXPECT_EQ(File_ReadUnsignedByte(1), 255);
    EXPECT_EQ(File_ReadByte(1), -1);
    EXPECT_EQ(File_ReadLong(1), 0x12345678);
    EXPECT_EQ(File_ReadFloat(1), 1.5f);
    EXPECT_EQ(File_ReadByte(1), -128);
    EXPECT_EQ(File_Position(1), 13);
}

TEST_F(FileReadTest, ValueReadsCutShortByTheEnd) {
    Make("short.bin", std::string("\x01\x02\x03", 3));
    ASSERT_EQ(File_OpenRead(1, "short.bin"), 1);
    EXPECT_EQ(File_ReadLong(1), 0x030201);
    EXPECT_EQ(File_ReadLong(1), 0);
    EXPECT_EQ(File_ReadWord(1), 0);
    EXPECT_EQ(File_ReadFloat(1), 0.0f);

    Make("one.bin", std::string("\xFF", 1));
    ASSERT_EQ(File_OpenRead(2, "one.bin"), 1);
    // Only the low byte was there, so the word is 255, not -1.
    EXPECT_EQ(File_ReadWord(2), 255);
}

TEST_F(FileReadTest, ReadsThatStraddleTheBufferAndReadsLargerThanIt) {
    std::string bytes(20000, 0);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    Make("data.bin", bytes);
    ASSERT_EQ(File_OpenRead(1, "data.bin"), 1);
    std::string got(bytes.size(), 0);
    size_t at = 0;
    // 4000 from the first refill; 5000, larger than the buffer, after the 96 left in it; 200
    // from a fresh refill; pieces across the next refill's end; then everything left, again
    // more than the buffer holds, in one go.
    for (int32_t n : {4000, 5000, 200, 1, 4095, 3}) {
        ASSERT_EQ(File_ReadData(1, got.data() + at, n), n);
        at += static_cast<size_t>(n);
        ASSERT_EQ(File_Position(1), static_cast<int64_t>(at));
        ASSERT_EQ(got.compare(0, at, bytes, 0, at), 0) << "after " << at;
    }
    int32_t rest = static_cast<int32_t>(bytes.size() - at);
    EXPECT_EQ(File_ReadData(1, got.data() + at, rest + 100), rest);
    EXPECT_EQ(got, bytes);
    EXPECT_EQ(File_ReadData(1, got.data(), 10), 0);
    EXPECT_EQ(File_ReadData(1, got.data(), -1), 0);
    EXPECT_EQ(File_ReadData(1, nullptr, 10), 0);

    // A first read larger than the buffer goes straight to the file.
    ASSERT_EQ(File_OpenRead(2, "data.bin"), 1);
    std::string start(9000, 0);
    ASSERT_EQ(File_ReadData(2, start.data(), 9000), 9000);
    EXPECT_EQ(start, bytes.substr(0, 9000));
    EXPECT_EQ(File_ReadUnsignedByte(2), static_cast<uint8_t>(bytes[9000]));
}

TEST_F(FileReadTest, UnknownFilesReadNothing) {
    EXPECT_EQ(File_ReadLong(3), 0);
    EXPECT_EQ(File_ReadFloat(3), 0.0f);
    EXPECT_EQ(File_ReadUnsignedByte(-1), 0);
    char buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(File_ReadData(0x40000005, buffer, 4), 0);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(Line(3), "");
    EXPECT_EQ(File_Position(3), -1);
    EXPECT_EQ(File_Length(3), -1);
}

}  // namespace
