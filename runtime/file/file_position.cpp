// Where a file stands and how long it is, as seen through its buffer.
#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "runtime/file/file.h"
#include "runtime/file/file_record.h"

int64_t File_Position(int32_t file) {
    FileRecord* record = File_Record(file);
    if (!record) return -1;
    int64_t position = File_PlatformPosition(record);
    if (position < 0 || !record->buffer) return position;
    // Read-ahead not handed out is not yet read; pending bytes are already written.
    if (record->mode == kFileReading) return position - record->count;
    return position + (record->buffer_size - record->count);
}

int64_t File_Length(int32_t file) {
    FileRecord* record = File_Record(file);
    if (!record) return -1;
    if (record->mode == kFileWriting) File_Flush(record);
    DWORD high = 0;
    DWORD low = GetFileSize(record->handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}
