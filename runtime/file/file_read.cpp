// Reading: binary values, blocks of bytes and text lines.
#include <cstring>

#include "runtime/core/strings.h"
#include "runtime/file/file.h"
#include "runtime/file/file_record.h"

namespace {

constexpr int32_t kLineStep = 4096;

// The value's bytes, little-endian, with zeros above those the file still had.
uint32_t ReadValue(int32_t file, int32_t size) {
    FileRecord* record = File_Record(file);
    if (!record) return 0;
    uint8_t bytes[4] = {0, 0, 0, 0};
    File_BufferedRead(record, bytes, size);
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// One byte, or -1 at the end of the file. The common case is a byte already in the buffer.
int ReadByte(FileRecord* record) {
    if (record->buffer && record->mode == kFileReading && record->count > 0) {
        return record->buffer[record->filled - record->count--];
    }
    uint8_t byte;
    return File_BufferedRead(record, &byte, 1) == 1 ? byte : -1;
}

}  // namespace

int32_t File_ReadUnsignedByte(int32_t file) {
    return static_cast<int32_t>(ReadValue(file, 1));
}

int32_t File_ReadByte(int32_t file) {
    return static_cast<int8_t>(ReadValue(file, 1));
}

int32_t File_ReadWord(int32_t file) {
    return static_cast<int16_t>(ReadValue(file, 2));
}

int32_t File_ReadLong(int32_t file) {
    return static_cast<int32_t>(ReadValue(file, 4));
}

float File_ReadFloat(int32_t file) {
    uint32_t bits = ReadValue(file, 4);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

int32_t File_ReadData(int32_t file, void* address, int32_t count) {
    FileRecord* record = File_Record(file);
    if (!record) return 0;
    return File_BufferedRead(record, address, count);
}

char* File_ReadLine(int32_t file, int32_t p) {
    FileRecord* record = File_Record(file);
    if (!record) {
        String_SetPosition(p);
        return String_Globals().base + p;
    }
    // The text is kept by offset: growing the reservation may move the buffer.
    int32_t reserved = kLineStep;
    String_Reserve(reserved, p);
    int32_t length = 0;
    // A line ends at LF, CR, CR LF, a zero byte or the end of the file.
    for (;;) {
        int byte = ReadByte(record);
        if (byte < 0 || byte == 0 || byte == '\n') break;
        if (byte == '\r') {
            int next = ReadByte(record);
            if (next >= 0 && next != '\n') File_GiveBackByte(record);
            break;
        }
        if (length + 1 >= reserved) {
            String_Reserve(kLineStep, p + reserved);
            reserved += kLineStep;
        }
        String_Globals().base[p + length++] = static_cast<char>(byte);
    }
    String_Globals().base[p + length] = 0;
    String_GiveBack(reserved - length);
    return String_Globals().base + p;
}
