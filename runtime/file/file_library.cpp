// The file table: start-up, end, opening under a number and closing.
#include "platform/win32/file.h"

#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/file/file.h"
#include "runtime/file/file_record.h"

namespace {

FileLibrary g_files;

constexpr int32_t kInitialSlots = 16;
constexpr int32_t kBufferSize = 4096;

// The three opens differ only in how the platform is asked.
HANDLE OpenReadOnly(const char* name) {
    return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenReadWrite(const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE CreateEmpty(const char* name) {
    HANDLE handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A file that may be written but not read is emptied through write access alone.
    if (handle == INVALID_HANDLE_VALUE) {
        handle = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    return handle;
}

int32_t Open(int32_t file, const char* name, HANDLE (*open)(const char*)) {
    if (!g_files.table) return 0;
    // A file already open under this number is closed by the table.
    int32_t dynamic = 0;
    auto* record = static_cast<FileRecord*>(ObjectTable_Allocate(g_files.table, file, &dynamic));
    if (!record) return 0;
    HANDLE handle = open(name);
    if (handle == INVALID_HANDLE_VALUE || !handle) {
        if (file == -1) ObjectTable_Release(g_files.table, dynamic);
        return 0;
    }
    // Without memory for a buffer the file still works, unbuffered.
    int32_t size = g_files.buffer_size;
    uint8_t* buffer = nullptr;
    if (size > 0) {
        buffer = static_cast<uint8_t*>(HeapAlloc(Runtime_Heap(), 0, static_cast<SIZE_T>(size)));
        if (!buffer) size = 0;
    }
    record->handle = handle;
    record->buffer = buffer;
    record->buffer_size = size;
    record->count = 0;
    record->filled = 0;
    record->mode = kFileReading;
    return file == -1 ? dynamic : 1;
}

}  // namespace

FileLibrary& File_Library() {
    return g_files;
}

FileRecord* File_Record(int32_t file) {
    return static_cast<FileRecord*>(ObjectTable_Get(g_files.table, file));
}

void File_Init() {
    g_files.table = ObjectTable_Create(sizeof(FileRecord), kInitialSlots, &File_Close);
    g_files.buffer_size = kBufferSize;
}

void File_End() {
    if (g_files.table) ObjectTable_FreeAll(g_files.table);
}

int32_t File_OpenRead(int32_t file, const char* name) {
    return Open(file, name, &OpenReadOnly);
}

int32_t File_Open(int32_t file, const char* name) {
    return Open(file, name, &OpenReadWrite);
}

int32_t File_Create(int32_t file, const char* name) {
    return Open(file, name, &CreateEmpty);
}

void File_Close(int32_t file) {
    FileRecord* record = File_Record(file);
    if (!record) return;
    File_Flush(record);
    if (record->buffer) HeapFree(Runtime_Heap(), 0, record->buffer);
    CloseHandle(record->handle);
    ObjectTable_Release(g_files.table, file);
}
