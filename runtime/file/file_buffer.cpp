// The buffered transfers every read and write goes through, and File_Flush.
#include <cstring>

#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "runtime/file/file_record.h"

namespace {

int32_t PlatformRead(FileRecord* record, void* destination, int32_t n) {
    DWORD read = 0;
    ReadFile(record->handle, destination, static_cast<DWORD>(n), &read, nullptr);
    return static_cast<int32_t>(read);
}

int32_t PlatformWrite(FileRecord* record, const void* source, int32_t n) {
    DWORD written = 0;
    WriteFile(record->handle, source, static_cast<DWORD>(n), &written, nullptr);
    return static_cast<int32_t>(written);
}

// Moves the platform position by a (negative) distance.
void PlatformMove(FileRecord* record, int64_t distance) {
    LONG high = static_cast<LONG>(distance >> 32);
    SetFilePointer(record->handle, static_cast<LONG>(distance & 0xFFFFFFFF), &high, FILE_CURRENT);
}

}  // namespace

int32_t File_Flush(FileRecord* record) {
    if (record->mode != kFileWriting || !record->buffer) return 0;
    int32_t pending = record->buffer_size - record->count;
    int32_t written = pending > 0 ? PlatformWrite(record, record->buffer, pending) : 0;
    record->count = record->buffer_size;
    return written;
}

int32_t File_BufferedRead(FileRecord* record, void* destination, int32_t n) {
    if (n <= 0 || !destination) return 0;
    if (!record->buffer) return PlatformRead(record, destination, n);
    auto* out = static_cast<uint8_t*>(destination);
    // Bytes waiting to be written go out before reading starts.
    if (record->mode == kFileWriting) {
        File_Flush(record);
        record->mode = kFileReading;
        record->count = 0;
    }
    const uint8_t* unread = record->buffer + record->filled - record->count;
    // Enough in the buffer.
    if (record->count >= n) {
        std::memcpy(out, unread, static_cast<size_t>(n));
        record->count -= n;
        return n;
    }
    // What the buffer holds first, then the rest.
    int32_t copied = record->count;
    if (copied > 0) std::memcpy(out, unread, static_cast<size_t>(copied));
    record->count = 0;
    int32_t rest = n - copied;
    if (rest >= record->buffer_size) return copied + PlatformRead(record, out + copied, rest);
    int32_t loaded = PlatformRead(record, record->buffer, record->buffer_size);
    record->count = record->filled = loaded;
    int32_t take = rest < loaded ? rest : loaded;
    std::memcpy(out + copied, record->buffer, static_cast<size_t>(take));
    record->count -= take;
    return copied + take;
}

int32_t File_BufferedWrite(FileRecord* record, const void* source, int32_t n) {
    if (n <= 0 || !source) return 0;
    if (!record->buffer) return PlatformWrite(record, source, n);
    // The read-ahead not handed out goes back, so the bytes land where the reader stands.
    if (record->mode == kFileReading) {
        if (record->count > 0) PlatformMove(record, -static_cast<int64_t>(record->count));
        record->mode = kFileWriting;
        record->count = record->buffer_size;
    }
    // What fits stays in the buffer.
    if (record->count > n) {
        std::memcpy(record->buffer + record->buffer_size - record->count, source,
                    static_cast<size_t>(n));
        record->count -= n;
        return n;
    }
    // Otherwise the buffer goes out first; a write as large as the buffer goes straight through.
    File_Flush(record);
    if (n >= record->buffer_size) return PlatformWrite(record, source, n);
    std::memcpy(record->buffer, source, static_cast<size_t>(n));
    record->count -= n;
    return n;
}

void File_GiveBackByte(FileRecord* record) {
    if (record->buffer) {
        ++record->count;
    } else {
        PlatformMove(record, -1);
    }
}

int64_t File_PlatformPosition(FileRecord* record) {
    LONG high = 0;
    DWORD low = SetFilePointer(record->handle, 0, &high, FILE_CURRENT);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
    return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | low);
}
