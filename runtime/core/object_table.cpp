#include "runtime/core/object_table.h"

#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/fatal.h"
#include "runtime/core/program.h"

namespace {

// Dynamic block payload: the object's number, then the record.
struct DynamicHead {
    int64_t number;
};

bool InUse(const void* record) {
    uintptr_t word;
    std::memcpy(&word, record, sizeof(word));
    return word != 0;
}

void* RecordOf(LinkedBlockHeader* block) {
    return static_cast<DynamicHead*>(LinkedBlock_PayloadOf(block)) + 1;
}

int32_t NumberOf(LinkedBlockHeader* block) {
    return static_cast<int32_t>(static_cast<DynamicHead*>(LinkedBlock_PayloadOf(block))->number);
}

LinkedBlockHeader* FindDynamic(ObjectTable* table, int32_t number) {
    if (number < kObjectTableDynamicBase) return nullptr;
    for (LinkedBlockHeader* b = table->dynamic_list; b; b = b->older) {
        if (NumberOf(b) == number) return b;
    }
    return nullptr;
}

int32_t NextDynamicNumber(ObjectTable* table) {
    for (;;) {
        int32_t n = table->next_dynamic;
        table->next_dynamic = (n == INT32_MAX) ? kObjectTableDynamicBase : n + 1;
        if (!FindDynamic(table, n)) return n;
    }
}

}  // namespace

ObjectTable* ObjectTable_Create(int32_t record_size, int32_t initial_slots, ObjectFreeHook hook) {
    if (record_size < static_cast<int32_t>(sizeof(void*)) || initial_slots <= 0 ||
        initial_slots >= kObjectTableSlotLimit) {
        return nullptr;
    }
    HHEAP heap = Runtime_Heap();
    auto* table = static_cast<ObjectTable*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(ObjectTable)));
    if (!table) Runtime_OutOfMemory();
    table->record_size = record_size;
    table->growth_step = initial_slots;
    table->capacity = initial_slots;
    table->free_hook = hook;
    table->next_dynamic = kObjectTableDynamicBase;
    table->slots = static_cast<uint8_t*>(
        HeapAlloc(heap, HEAP_ZERO_MEMORY,
                  static_cast<SIZE_T>(record_size) * static_cast<SIZE_T>(initial_slots)));
    if (!table->slots) Runtime_OutOfMemory();
    return table;
}

void* ObjectTable_Allocate(ObjectTable* table, int32_t number, int32_t* dynamic_number) {
    if (!table || number < -1) return nullptr;
    if (number == -1) {
        int64_t total = static_cast<int64_t>(sizeof(LinkedBlockHeader) + sizeof(DynamicHead)) +
                        table->record_size;
        void* payload = LinkedBlock_Add(&table->dynamic_list, total);
        if (!payload) return nullptr;
        int32_t n = NextDynamicNumber(table);
        static_cast<DynamicHead*>(payload)->number = n;
        if (dynamic_number) *dynamic_number = n;
        return static_cast<DynamicHead*>(payload) + 1;
    }
    if (number >= kObjectTableSlotLimit) return nullptr;
    if (number >= table->capacity) {
        int64_t capacity = static_cast<int64_t>(number) + table->growth_step;
        if (capacity > kObjectTableSlotLimit) capacity = kObjectTableSlotLimit;
        void* grown = HeapReAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, table->slots,
                                  static_cast<SIZE_T>(capacity) * table->record_size);
        if (!grown) return nullptr;
        table->slots = static_cast<uint8_t*>(grown);
        table->capacity = static_cast<int32_t>(capacity);
    }
    // Frees an object that already has this number.
    if (table->free_hook) table->free_hook(number);
    uint8_t* record = table->slots + static_cast<int64_t>(number) * table->record_size;
    std::memset(record, 0, static_cast<size_t>(table->record_size));
    return record;
}

void* ObjectTable_GetOther(ObjectTable* table, int32_t number) {
    if (!table || number < 0) return nullptr;
    if (number < table->capacity) return ObjectTable_Get(table, number);
    LinkedBlockHeader* b = FindDynamic(table, number);
    if (!b) return nullptr;
    void* record = RecordOf(b);
    return InUse(record) ? record : nullptr;
}

void* ObjectTable_Find(ObjectTable* table, int32_t number) {
    return ObjectTable_Get(table, number);
}

int32_t ObjectTable_NumberOf(ObjectTable* table, const void* record) {
    if (!table || !record) return -1;
    auto* p = static_cast<const uint8_t*>(record);
    if (p >= table->slots &&
        p < table->slots + static_cast<int64_t>(table->capacity) * table->record_size) {
        return static_cast<int32_t>((p - table->slots) / table->record_size);
    }
    for (LinkedBlockHeader* b = table->dynamic_list; b; b = b->older) {
        if (RecordOf(b) == record) return NumberOf(b);
    }
    return -1;
}

void ObjectTable_Release(ObjectTable* table, int32_t number) {
    if (!table || number < 0) return;
    if (number < table->capacity) {
        std::memset(table->slots + static_cast<int64_t>(number) * table->record_size, 0,
                    static_cast<size_t>(table->record_size));
        return;
    }
    LinkedBlockHeader* b = FindDynamic(table, number);
    if (!b) return;
    if (table->iteration_cursor == b) table->iteration_cursor = b->newer;
    LinkedBlock_Remove(&table->dynamic_list, LinkedBlock_PayloadOf(b));
}

void ObjectTable_First(ObjectTable* table) {
    if (!table) return;
    table->iteration_index = 0;
    LinkedBlockHeader* oldest = table->dynamic_list;
    while (oldest && oldest->older) oldest = oldest->older;
    table->iteration_cursor = oldest;
}

void* ObjectTable_Next(ObjectTable* table, int32_t* number) {
    if (!table) return nullptr;
    while (table->iteration_index < table->capacity) {
        int32_t i = table->iteration_index++;
        uint8_t* record = table->slots + static_cast<int64_t>(i) * table->record_size;
        if (InUse(record)) {
            if (number) *number = i;
            return record;
        }
    }
    while (table->iteration_cursor) {
        LinkedBlockHeader* b = table->iteration_cursor;
        table->iteration_cursor = b->newer;
        void* record = RecordOf(b);
        if (InUse(record)) {
            if (number) *number = NumberOf(b);
            return record;
        }
    }
    return nullptr;
}

void ObjectTable_FreeAll(ObjectTable* table) {
    if (!table || !table->free_hook) return;
    ObjectTable_First(table);
    int32_t number = 0;
    while (ObjectTable_Next(table, &number)) table->free_hook(number);
}
