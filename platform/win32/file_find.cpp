// Questions about names: FindFirstFileA, FindClose, GetFileAttributesA, GetDriveTypeA.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "platform/win32/file_handles.h"
#include "platform/win32/path.h"
#include "platform/win32/path_text.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

DWORD AttributesOf(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) return FILE_ATTRIBUTE_READONLY;
    return FILE_ATTRIBUTE_NORMAL;
}

// 100-nanosecond intervals since 1601-01-01, the Windows file clock.
FILETIME FileTimeOf(const timespec& t) {
    constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
    int64_t ticks =
        (static_cast<int64_t>(t.tv_sec) + kSecondsFrom1601To1970) * 10000000 + t.tv_nsec / 100;
    if (ticks < 0) ticks = 0;
    auto value = static_cast<uint64_t>(ticks);
    return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

// The first entry of `directory` that matches the pattern, in Windows-1252 byte order.
bool FirstMatch(const std::string& directory, const std::string& pattern, std::string* host,
                std::string* cp1252) {
    DIR* dir = opendir(directory.c_str());
    if (!dir) return false;
    bool found = false;
    std::string converted;
    while (dirent* entry = readdir(dir)) {
        if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, "..")) continue;
        if (!HostPath_Cp1252FromUtf8(entry->d_name, &converted)) continue;
        if (!HostPath_WildcardMatch(pattern, converted)) continue;
        if (!found || converted < *cp1252) {
            *host = entry->d_name;
            *cp1252 = converted;
            found = true;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

HANDLE FindFirstFileA(LPCSTR name, WIN32_FIND_DATAA* data) {
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    HostPath path;
    DWORD error = HostPath_Resolve(name, true, &path);
    if (error == NO_ERROR && (path.root || path.trailing_separator)) error = ERROR_FILE_NOT_FOUND;
    std::string host = path.path;
    std::string leaf = path.leaf;
    if (error == NO_ERROR && path.wildcard) {
        std::string match;
        if (FirstMatch(path.parent, path.leaf, &match, &leaf)) {
            host = path.parent == "/" ? "/" + match : path.parent + "/" + match;
        } else {
            error = ERROR_FILE_NOT_FOUND;
        }
    }
    struct stat st;
    if (error == NO_ERROR && stat(host.c_str(), &st) != 0) error = ERROR_FILE_NOT_FOUND;
    if (error != NO_ERROR) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }

    std::memset(data, 0, sizeof(*data));
    data->dwFileAttributes = AttributesOf(st);
    data->ftCreationTime = FileTimeOf(st.st_mtim);
    data->ftLastAccessTime = FileTimeOf(st.st_atim);
    data->ftLastWriteTime = FileTimeOf(st.st_mtim);
    if (!S_ISDIR(st.st_mode)) {
        auto size = static_cast<uint64_t>(st.st_size);
        data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    }
    std::strncpy(data->cFileName, leaf.c_str(), MAX_PATH - 1);

    HANDLE find = FileHandles_Add(FileHandleRecord{FileHandleKind::kFind, -1, 0, 0, 0, 0});
    if (!find) {
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return INVALID_HANDLE_VALUE;
    }
    SetLastError(NO_ERROR);
    return find;
}

BOOL FindClose(HANDLE find) {
    if (!FileHandles_Get(find, FileHandleKind::kFind)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    FileHandles_Remove(find);
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR name) {
    HostPath path;
    DWORD error = HostPath_Resolve(name, false, &path);
    struct stat st;
    if (error == NO_ERROR && stat(path.path.c_str(), &st) != 0) error = ERROR_FILE_NOT_FOUND;
    // "file\" names a directory that is not there.
    if (error == NO_ERROR && path.trailing_separator && !S_ISDIR(st.st_mode)) {
        error = ERROR_INVALID_NAME;
    }
    if (error != NO_ERROR) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    SetLastError(NO_ERROR);
    return AttributesOf(st);
}

UINT GetDriveTypeA(LPCSTR root) {
    if (!root) return DRIVE_FIXED;  // the current directory is on Z:
    size_t length = std::strlen(root);
    if (length == 1 && IsSeparator(root[0])) return DRIVE_FIXED;
    bool drive =
        length >= 2 && root[1] == ':' && (length == 2 || (length == 3 && IsSeparator(root[2])));
    if (drive && (root[0] == 'Z' || root[0] == 'z')) return DRIVE_FIXED;
    return DRIVE_NO_ROOT_DIR;
}
