// Reading, writing and moving within open files: ReadFile, WriteFile, SetFilePointer,
// GetFileSize, FlushFileBuffers.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "platform/win32/file_handles.h"

namespace {

FileHandleRecord* OpenFile(HANDLE handle) {
    FileHandleRecord* record = FileHandles_Get(handle, FileHandleKind::kFile);
    if (!record) SetLastError(ERROR_INVALID_HANDLE);
    return record;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped) {
    if (read) *read = 0;
    FileHandleRecord* record = OpenFile(file);
    if (!record) return FALSE;
    if (overlapped || (!buffer && size > 0)) return Fail(ERROR_INVALID_PARAMETER);
    if (!(record->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
    auto* out = static_cast<uint8_t*>(buffer);
    DWORD done = 0;
    while (done < size) {
        ssize_t n = ::read(record->fd, out + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (read) *read = done;
            return Fail(ERROR_GEN_FAILURE);
        }
        if (n == 0) break;  // end of file
        done += static_cast<DWORD>(n);
    }
    if (read) *read = done;
    SetLastError(NO_ERROR);
    return TRUE;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped) {
    if (written) *written = 0;
    FileHandleRecord* record = OpenFile(file);
    if (!record) return FALSE;
    if (overlapped || (!buffer && size > 0)) return Fail(ERROR_INVALID_PARAMETER);
    if (!(record->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
    auto* in = static_cast<const uint8_t*>(buffer);
    DWORD done = 0;
    while (done < size) {
        ssize_t n = ::write(record->fd, in + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (written) *written = done;
            return Fail(n < 0 && errno != ENOSPC ? ERROR_GEN_FAILURE : ERROR_DISK_FULL);
        }
        done += static_cast<DWORD>(n);
    }
    if (written) *written = done;
    SetLastError(NO_ERROR);
    return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG low, LONG* high, DWORD method) {
    FileHandleRecord* record = OpenFile(file);
    if (!record) return INVALID_SET_FILE_POINTER;
    int64_t distance =
        high ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*high)) << 32) |
                                    static_cast<uint32_t>(low))
             : static_cast<int64_t>(low);
    int64_t base;
    if (method == FILE_BEGIN) {
        base = 0;
    } else if (method == FILE_CURRENT) {
        base = lseek(record->fd, 0, SEEK_CUR);
    } else if (method == FILE_END) {
        struct stat st;
        base = fstat(record->fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (base < 0) {
        SetLastError(ERROR_GEN_FAILURE);
        return INVALID_SET_FILE_POINTER;
    }
    int64_t target;
    if (__builtin_add_overflow(base, distance, &target) || target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    // Without a high half the result must fit the low half alone.
    if (!high && target >= int64_t{0xFFFFFFFF}) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lseek(record->fd, static_cast<off_t>(target), SEEK_SET) < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (high) *high = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(static_cast<uint64_t>(target) & 0xFFFFFFFFu);
}

DWORD GetFileSize(HANDLE file, DWORD* high) {
    FileHandleRecord* record = OpenFile(file);
    struct stat st;
    if (!record || fstat(record->fd, &st) != 0) {
        if (record) SetLastError(ERROR_GEN_FAILURE);
        return INVALID_FILE_SIZE;
    }
    auto size = static_cast<uint64_t>(st.st_size);
    if (high) *high = static_cast<DWORD>(size >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL FlushFileBuffers(HANDLE file) {
    FileHandleRecord* record = OpenFile(file);
    if (!record) return FALSE;
    if (!(record->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
    if (fdatasync(record->fd) != 0) return Fail(ERROR_GEN_FAILURE);
    return TRUE;
}
