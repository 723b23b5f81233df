// The handle table of the file stand-ins: open files and find handles, each a small record
// behind a handle value. Handle values are multiples of 4 from 4 up, as on Windows, so 0 and
// INVALID_HANDLE_VALUE never name a record and a stale or invented value is simply unknown.
#pragma once
#include <cstdint>

#include "platform/win32/types.h"

enum class FileHandleKind : uint8_t { kFree, kFile, kFind };

struct FileHandleRecord {
    FileHandleKind kind;
    int fd;           // host descriptor of an open file
    DWORD access;     // GENERIC_READ / GENERIC_WRITE
    DWORD share;      // FILE_SHARE_*
    uint64_t device;  // identity of the file, for the sharing rules
    uint64_t inode;
};

// The new handle, or null when the table is full.
HANDLE FileHandles_Add(const FileHandleRecord& record);
// The record of a live handle of this kind, or null.
FileHandleRecord* FileHandles_Get(HANDLE handle, FileHandleKind kind);
void FileHandles_Remove(HANDLE handle);
// True when the handles already open on this file let a new one have `access`, and the new
// one's `share` lets them keep theirs.
bool FileHandles_ShareAllows(uint64_t device, uint64_t inode, DWORD access, DWORD share);
