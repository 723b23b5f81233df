// The file library's records and the buffered transfers the operations share. Internal to
// runtime/file.
#pragma once
#include <cstdint>

#include "platform/win32/types.h"

struct ObjectTable;

struct FileRecord {
    HANDLE handle;        // the open file; 0 in a slot that holds no file
    uint8_t* buffer;      // on the runtime heap; null when buffer_size is 0
    int32_t buffer_size;  // copied from the library's setting at open
    int32_t count;        // reading: bytes not yet handed out; writing: free bytes left
    int32_t filled;       // reading: bytes loaded by the last refill
    int32_t mode;         // kFileReading or kFileWriting
};

constexpr int32_t kFileWriting = 0;
constexpr int32_t kFileReading = 1;

struct FileLibrary {
    ObjectTable* table;
    int32_t buffer_size;  // 4096; nothing in this program changes it
};
FileLibrary& File_Library();

// The record of an open file, or null.
FileRecord* File_Record(int32_t file);

// Writes the pending bytes (writing mode) and returns how many went out; 0 when reading.
int32_t File_Flush(FileRecord* record);
// Reads up to n bytes through the buffer (straight from the file without one).
int32_t File_BufferedRead(FileRecord* record, void* destination, int32_t n);
// Writes n bytes through the buffer (straight to the file without one).
int32_t File_BufferedWrite(FileRecord* record, const void* source, int32_t n);
// Gives the last byte read back, so that the next read returns it again.
void File_GiveBackByte(FileRecord* record);
// The platform's own position of the file, or -1.
int64_t File_PlatformPosition(FileRecord* record);
