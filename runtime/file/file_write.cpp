// Writing: binary values, texts and lines.
#include <cstring>

#include "runtime/file/file.h"
#include "runtime/file/file_record.h"

namespace {

int32_t WriteValue(int32_t file, uint32_t value, int32_t size) {
    FileRecord* record = File_Record(file);
    if (!record) return 0;
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return File_BufferedWrite(record, bytes, size);
}

int32_t WriteText(FileRecord* record, const char* text) {
    if (!text || !*text) return 0;
    size_t length = std::strlen(text);
    if (length > INT32_MAX) return 0;
    return File_BufferedWrite(record, text, static_cast<int32_t>(length));
}

}  // namespace

int32_t File_WriteByte(int32_t file, int32_t value) {
    return WriteValue(file, static_cast<uint32_t>(value), 1);
}

int32_t File_WriteWord(int32_t file, int32_t value) {
    return WriteValue(file, static_cast<uint32_t>(value), 2);
}

int32_t File_WriteLong(int32_t file, int32_t value) {
    return WriteValue(file, static_cast<uint32_t>(value), 4);
}

int32_t File_WriteText(int32_t file, const char* text) {
    FileRecord* record = File_Record(file);
    return record ? WriteText(record, text) : 0;
}

int32_t File_WriteLine(int32_t file, const char* text) {
    FileRecord* record = File_Record(file);
    if (!record) return 0;
    int32_t taken = WriteText(record, text);
    return taken + File_BufferedWrite(record, "\r\n", 2);
}
