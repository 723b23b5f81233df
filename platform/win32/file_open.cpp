// Opening and closing files: CreateFileA and CloseHandle.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "platform/win32/file_handles.h"
#include "platform/win32/path.h"

namespace {

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// A missing file in an existing directory is "file not found"; a missing directory on the way
// is "path not found", as Windows tells them apart.
DWORD ErrorOf(int error, const HostPath& path) {
    switch (error) {
        case ENOENT: {
            struct stat st;
            bool parent = stat(path.parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            return parent ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
        }
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOSPC:
            return ERROR_DISK_FULL;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        default:
            return ERROR_GEN_FAILURE;
    }
}

int OpenFlags(DWORD access, DWORD disposition) {
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;  // no waiting on a pipe before it is refused
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
        flags |= O_RDWR;
    else if (access & GENERIC_WRITE)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    switch (disposition) {
        case CREATE_NEW:
            return flags | O_CREAT | O_EXCL;
        case CREATE_ALWAYS:
            return flags | O_CREAT | O_TRUNC;
        case OPEN_ALWAYS:
            return flags | O_CREAT;
        case TRUNCATE_EXISTING:
            return flags | O_TRUNC;
        default:
            return flags;
    }
}

}  // namespace

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share_mode, void* security, DWORD disposition,
                   DWORD, HANDLE template_file) {
    if (security || template_file || disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (access & ~(GENERIC_READ | GENERIC_WRITE)) ||
        (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    HostPath path;
    DWORD error = HostPath_Resolve(name, false, &path);
    if (error != NO_ERROR) return Fail(error);
    if (path.root) return Fail(ERROR_ACCESS_DENIED);
    if (path.trailing_separator) return Fail(ERROR_INVALID_NAME);

    // Sharing and refusals are decided before anything is created or truncated.
    struct stat st;
    bool existed = stat(path.path.c_str(), &st) == 0;
    if (existed) {
        if (!S_ISREG(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
        if (disposition == CREATE_NEW) return Fail(ERROR_FILE_EXISTS);
        if (!FileHandles_ShareAllows(st.st_dev, st.st_ino, access, share_mode)) {
            return Fail(ERROR_SHARING_VIOLATION);
        }
    }

    int fd = open(path.path.c_str(), OpenFlags(access, disposition), 0666);
    if (fd < 0) return Fail(ErrorOf(errno, path));
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Fail(ERROR_ACCESS_DENIED);
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    FileHandleRecord record{
        FileHandleKind::kFile,           fd, access, share_mode, static_cast<uint64_t>(st.st_dev),
        static_cast<uint64_t>(st.st_ino)};
    HANDLE handle = FileHandles_Add(record);
    if (!handle) {
        close(fd);
        return Fail(ERROR_TOO_MANY_OPEN_FILES);
    }
    bool reports_existing = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    SetLastError(existed && reports_existing ? ERROR_ALREADY_EXISTS : NO_ERROR);
    return handle;
}

BOOL CloseHandle(HANDLE handle) {
    FileHandleRecord* record = FileHandles_Get(handle, FileHandleKind::kFile);
    if (!record) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    close(record->fd);
    FileHandles_Remove(handle);
    return TRUE;
}
