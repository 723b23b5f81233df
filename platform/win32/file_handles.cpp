// The handle table of the file stand-ins.
#include "platform/win32/file_handles.h"

#include <vector>

#include "platform/win32/file.h"

namespace {

// Far more than a program of this kind opens at once; the host's descriptor limit comes first.
constexpr size_t kMaxHandles = 1 << 16;

struct FileHandleTable {
    std::vector<FileHandleRecord> records;  // index i is handle value (i + 1) * 4
    size_t free_hint = 0;
};
// Never destroyed, so that a handle closed while the process exits still finds its table.
FileHandleTable& Handles() {
    static FileHandleTable* table = new FileHandleTable;
    return *table;
}

}  // namespace

HANDLE FileHandles_Add(const FileHandleRecord& record) {
    std::vector<FileHandleRecord>& records = Handles().records;
    size_t index = Handles().free_hint;
    while (index < records.size() && records[index].kind != FileHandleKind::kFree) ++index;
    if (index == records.size()) {
        if (records.size() >= kMaxHandles) return nullptr;
        records.push_back(FileHandleRecord{});
    }
    records[index] = record;
    Handles().free_hint = index + 1;
    return reinterpret_cast<HANDLE>((index + 1) * 4);
}

FileHandleRecord* FileHandles_Get(HANDLE handle, FileHandleKind kind) {
    auto value = reinterpret_cast<uintptr_t>(handle);
    if (value == 0 || value % 4 != 0) return nullptr;
    size_t index = value / 4 - 1;
    if (index >= Handles().records.size()) return nullptr;
    FileHandleRecord& record = Handles().records[index];
    return record.kind == kind ? &record : nullptr;
}

void FileHandles_Remove(HANDLE handle) {
    auto value = reinterpret_cast<uintptr_t>(handle);
    if (value == 0 || value % 4 != 0) return;
    size_t index = value / 4 - 1;
    if (index >= Handles().records.size()) return;
    Handles().records[index] = FileHandleRecord{};
    if (index < Handles().free_hint) Handles().free_hint = index;
}

bool FileHandles_ShareAllows(uint64_t device, uint64_t inode, DWORD access, DWORD share) {
    for (const FileHandleRecord& other : Handles().records) {
        if (other.kind != FileHandleKind::kFile || other.device != device || other.inode != inode) {
            continue;
        }
        if ((access & GENERIC_READ) && !(other.share & FILE_SHARE_READ)) return false;
        if ((access & GENERIC_WRITE) && !(other.share & FILE_SHARE_WRITE)) return false;
        if ((other.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
        if ((other.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
    }
    return true;
}
