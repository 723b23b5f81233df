// Writing files: pending bytes and the position, switching between reading and writing,
// writes larger than the buffer, and what closing and re-opening numbers do to files.
#include <filesystem>
#include <string>

#include "tests/runtime/file/file_fixture.h"

namespace {

using FileWriteTest = FileTest;

TEST_F(FileWriteTest, TenPendingBytesCountBeforeTheyReachTheDisk) {
    ASSERT_EQ(File_Open(1, "ten.bin"), 1);
    EXPECT_EQ(File_WriteLong(1, 0x04030201), 4);
    EXPECT_EQ(File_WriteLong(1, 0x08070605), 4);
    EXPECT_EQ(File_WriteWord(1, 0x0A09), 2);
    EXPECT_EQ(File_Position(1), 10);
    EXPECT_EQ(std::filesystem::file_size("ten.bin"), 0u);
    EXPECT_EQ(File_Length(1), 10);
    EXPECT_EQ(std::filesystem::file_size("ten.bin"), 10u);
    EXPECT_EQ(File_Position(1), 10);
    File_Close(1);
    EXPECT_EQ(Contents("ten.bin"), std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A", 10));
}

TEST_F(FileWriteTest, SwitchingBetweenReadingAndWritingKeepsBytesInPlace) {
    Make("mixed.txt", "0123456789");
    ASSERT_EQ(File_Open(1, "mixed.txt"), 1);
    char got[4] = {};
    ASSERT_EQ(File_ReadData(1, got, 3), 3);
    EXPECT_EQ(std::string(got, 3), "012");
    // The read-ahead went back: the text lands at 3, not at the end of what was loaded.
    EXPECT_EQ(File_WriteText(1, "AB"), 2);
    EXPECT_EQ(File_Position(1), 5);
    ASSERT_EQ(File_ReadData(1, got, 2), 2);
    EXPECT_EQ(std::string(got, 2), "56");
    EXPECT_EQ(File_Position(1), 7);
    EXPECT_EQ(File_WriteByte(1, 'x'), 1);
    EXPECT_EQ(File_ReadUnsignedByte(1), '8');
    File_Close(1);
    EXPECT_EQ(Contents("mixed.txt"), "012AB56x89");
}

TEST_F(FileWriteTest, WritesLargerThanTheBufferFollowThePendingBytes) {
    ASSERT_EQ(File_Create(1, "big.bin"), 1);
    std::string head = "head";
    std::string body(10000, 0);
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i % 253);
    EXPECT_EQ(File_WriteText(1, head.c_str()), 4);
    std::string text_body(body.size(), 'b');
    for (size_t i = 0; i < body.size(); ++i) text_body[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(File_WriteText(1, text_body.c_str()), 10000);
    EXPECT_EQ(File_Position(1), 10004);
    // Many small writes that fill the buffer exactly and beyond.
    for (int i = 0; i < 5000; ++i) File_WriteByte(1, i);
    EXPECT_EQ(File_Position(1), 15004);
    EXPECT_EQ(File_Length(1), 15004);
    File_Close(1);
    std::string all = Contents("big.bin");
    ASSERT_EQ(all.size(), 15004u);
    EXPECT_EQ(all.substr(0, 4), head);
    EXPECT_EQ(all.substr(4, 10000), text_body);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(static_cast<uint8_t>(all[10004 + i]), i % 256);
}

TEST_F(FileWriteTest, LinesEndWithCrLf) {
    ASSERT_EQ(File_Create(1, "lines.txt"), 1);
    EXPECT_EQ(File_WriteLine(1, "first"), 7);
    EXPECT_EQ(File_WriteLine(1, nullptr), 2);
    EXPECT_EQ(File_WriteLine(1, ""), 2);
    EXPECT_EQ(File_WriteText(1, nullptr), 0);
    EXPECT_EQ(File_WriteText(1, ""), 0);
    File_Close(1);
    EXPECT_EQ(Contents("lines.txt"), "first\r\n\r\n\r\n");
    ASSERT_EQ(File_OpenRead(1, "lines.txt"), 1);
    EXPECT_EQ(Line(1), "first");
    EXPECT_EQ(Line(1), "");
}

TEST_F(FileWriteTest, CreateEmptiesAndOpenKeeps) {
    Make("keep.txt", "kept");
    ASSERT_EQ(File_Open(1, "keep.txt"), 1);
    EXPECT_EQ(File_Length(1), 4);
    File_Close(1);
    EXPECT_EQ(Contents("keep.txt"), "kept");
    ASSERT_EQ(File_Create(1, "keep.txt"), 1);
    EXPECT_EQ(File_Length(1), 0);
    File_Close(1);
    EXPECT_EQ(Contents("keep.txt"), "");
    ASSERT_EQ(File_Open(2, "new.txt"), 1);
    File_Close(2);
    EXPECT_TRUE(std::filesystem::exists("new.txt"));
}

TEST_F(FileWriteTest, OpeningUnderAUsedNumberClosesAndFlushesTheOldFile) {
    ASSERT_EQ(File_Create(1, "a.txt"), 1);
    File_WriteText(1, "xyz");
    ASSERT_EQ(File_Create(1, "b.txt"), 1);
    EXPECT_EQ(Contents("a.txt"), "xyz");
    File_WriteText(1, "b");
    // A failed open under a number leaves the slot empty.
    EXPECT_EQ(File_OpenRead(1, "missing.txt"), 0);
    EXPECT_EQ(Contents("b.txt"), "b");
    EXPECT_EQ(File_Position(1), -1);
    EXPECT_EQ(File_WriteText(1, "lost"), 0);
}

TEST_F(FileWriteTest, DynamicNumbersAndTheEndOfTheProgram) {
    Make("in.txt", "line");
    int32_t reader = File_OpenRead(-1, "in.txt");
    EXPECT_GE(reader, 0x40000000);
    int32_t writer = File_Create(-1, "out.txt");
    EXPECT_GE(writer, 0x40000000);
    EXPECT_NE(reader, writer);
    EXPECT_EQ(File_OpenRead(-1, "missing.txt"), 0);
    EXPECT_EQ(Line(reader), "line");
    File_WriteText(writer, "pending");
    File_Close(reader);
    EXPECT_EQ(File_ReadByte(reader), 0);
    File_Close(reader);
    File_Close(-1);
    // The end of the program closes what is left, writing its pending bytes.
    File_End();
    EXPECT_EQ(Contents("out.txt"), "pending");
    EXPECT_EQ(File_Position(writer), -1);
}

TEST_F(FileWriteTest, AFileOpenForReadingCannotBeEmptiedUnderIt) {
    Make("shared.txt", "safe");
    ASSERT_EQ(File_OpenRead(1, "shared.txt"), 1);
    EXPECT_EQ(File_Create(2, "shared.txt"), 0);
    EXPECT_EQ(File_Open(3, "shared.txt"), 0);
    EXPECT_EQ(Contents("shared.txt"), "safe");
    // Reading alongside is fine.
    ASSERT_EQ(File_OpenRead(4, "shared.txt"), 1);
    EXPECT_EQ(Line(4), "safe");
    File_Close(1);
    File_Close(4);
    EXPECT_EQ(File_Create(2, "shared.txt"), 1);
}

TEST_F(FileWriteTest, UnknownFilesTakeNothing) {
    EXPECT_EQ(File_WriteByte(7, 1), 0);
    EXPECT_EQ(File_WriteWord(7, 1), 0);
    EXPECT_EQ(File_WriteLong(7, 1), 0);
    EXPECT_EQ(File_WriteLine(7, "x"), 0);
    File_Close(7);
}

}  // namespace
