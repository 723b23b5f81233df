// Files (kernel32): handles over host files with Windows access, sharing and creation rules,
// 64-bit file pointers, file sizes, find-first, attributes and drive types. Names arrive in
// Windows form and go through the path rules of path.h. Single-threaded like the runtime.
#pragma once
#include "platform/win32/types.h"

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~uintptr_t{0});

constexpr DWORD MAX_PATH = 260;

// Access rights.
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;

// Share modes: what other handles to the same file may do while this one is open.
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;

// Creation dispositions.
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

// Attributes.
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// File pointer moves.
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

// Drive types.
constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_FIXED = 3;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    char cFileName[MAX_PATH];  // Windows-1252
    char cAlternateFileName[14];
};

// Opens or creates a regular file. Directories, devices and pipes are refused (access denied).
// Sharing is enforced between the handles of this process: a file open without
// FILE_SHARE_WRITE cannot be opened for writing again, and so on, as Windows does.
// On success the last error is ERROR_ALREADY_EXISTS when CREATE_ALWAYS or OPEN_ALWAYS found the
// file, else 0. `security` and `template_file` must be null; `flags` is accepted and unused.
HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share_mode, void* security, DWORD disposition,
                   DWORD flags, HANDLE template_file);
BOOL CloseHandle(HANDLE handle);

// Reads up to `size` bytes; at the end of the file it succeeds with fewer (0 at the end).
// `overlapped` must be null.
BOOL ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, void* overlapped);
// A short write (disk full) fails with the count of bytes that did go out.
BOOL WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* written, void* overlapped);
// Moves the file pointer by the 64-bit distance (`*high` : `low`, or `low` sign-extended when
// `high` is null) and returns the low half of the new position, the high half in `*high`.
// Failure returns INVALID_SET_FILE_POINTER with a non-zero last error; success sets the last
// error to 0, since that value is also a valid low half.
DWORD SetFilePointer(HANDLE file, LONG low, LONG* high, DWORD method);
// The 64-bit size: low half returned, high half in `*high` when given.
DWORD GetFileSize(HANDLE file, DWORD* high);
// Writes the host's caches of this file to the disk.
BOOL FlushFileBuffers(HANDLE file);

// Looks up one name (`*` and `?` allowed in its last component, matched without regard to
// case; the first match in name order is reported). A name ending in a separator, or a root,
// is not found. There is no FindNextFileA: the runtime only asks about single names.
HANDLE FindFirstFileA(LPCSTR name, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE find);
DWORD GetFileAttributesA(LPCSTR name);
// Drive rule: the host's whole file system is drive Z:, whose root is the host root "/";
// no other drive letter exists. `root` is "Z:\", "Z:" or "\"; null means the current drive.
UINT GetDriveTypeA(LPCSTR root);

// The current directory as the host names it ("/srv/games"): on drive Z: a name that starts
// with a separator starts at the root, so the text is also a name the file calls accept.
// Characters Windows-1252 cannot write become '?', as the ANSI call writes them. Returns the
// length without the terminator, or, when `size` bytes cannot hold the text and its
// terminator, the size needed; 0 when the host cannot tell (the directory was removed).
DWORD GetCurrentDirectoryA(DWORD size, char* buffer);
