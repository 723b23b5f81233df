// Private heaps. Normal builds use mimalloc's first-class heaps, which free all their blocks
// on destruction. Sanitizer builds use a plain tracked heap over malloc so that AddressSanitizer
// and LeakSanitizer see every block: the record keeps each live block reachable until it is
// freed or the heap is destroyed.
#include "platform/win32/heap.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/win32/heap_counts.h"

#if !KAVRO_PLAIN_HEAP
#include <mimalloc.h>
#endif

// Largest single request honoured; beyond it allocation fails instead of wrapping sizes.
constexpr SIZE_T kMaxBlock = SIZE_T{1} << 40;

HeapCallCounts& Heap_CallCounts() {
    static HeapCallCounts counts{};
    return counts;
}

#if KAVRO_PLAIN_HEAP

namespace {
struct BlockHeader {
    BlockHeader* prev;
    BlockHeader* next;
    SIZE_T size;
    SIZE_T pad;  // keeps user data 16-byte aligned
};
}  // namespace

struct HeapRecord {
    BlockHeader* blocks = nullptr;
};

namespace {
BlockHeader* HeaderOf(const void* p) {
    return reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(p)) -
                                          sizeof(BlockHeader));
}
void Link(HeapRecord* h, BlockHeader* b) {
    b->prev = nullptr;
    b->next = h->blocks;
    if (h->blocks) h->blocks->prev = b;
    h->blocks = b;
}
void Unlink(HeapRecord* h, BlockHeader* b) {
    if (b->prev)
        b->prev->next = b->next;
    else
        h->blocks = b->next;
    if (b->next) b->next->prev = b->prev;
}
}  // namespace

HHEAP HeapCreate(DWORD, SIZE_T, SIZE_T) {
    return new (std::nothrow) HeapRecord();
}

void* HeapAlloc(HHEAP heap, DWORD flags, SIZE_T size) {
    if (!heap || size > kMaxBlock) return nullptr;
    auto* b = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + (size ? size : 1)));
    if (!b) return nullptr;
    b->size = size;
    Link(heap, b);
    ++Heap_CallCounts().allocations;
    void* p = b + 1;
    if (flags & HEAP_ZERO_MEMORY) std::memset(p, 0, size);
    return p;
}

void* HeapReAlloc(HHEAP heap, DWORD flags, void* block, SIZE_T size) {
    if (!heap || size > kMaxBlock) return nullptr;
    if (!block) return HeapAlloc(heap, flags, size);
    BlockHeader* old = HeaderOf(block);
    SIZE_T old_size = old->size;
    Unlink(heap, old);
    auto* b = static_cast<BlockHeader*>(std::realloc(old, sizeof(BlockHeader) + (size ? size : 1)));
    if (!b) {
        Link(heap, old);
        return nullptr;
    }
    b->size = size;
    Link(heap, b);
    ++Heap_CallCounts().reallocations;
    void* p = b + 1;
    if ((flags & HEAP_ZERO_MEMORY) && size > old_size) {
        std::memset(static_cast<char*>(p) + old_size, 0, size - old_size);
    }
    return p;
}

BOOL HeapFree(HHEAP heap, DWORD, void* block) {
    if (!heap) return FALSE;
    if (!block) return TRUE;
    ++Heap_CallCounts().frees;
    BlockHeader* b = HeaderOf(block);
    Unlink(heap, b);
    std::free(b);
    return TRUE;
}

SIZE_T HeapSize(HHEAP, DWORD, const void* block) {
    return block ? HeaderOf(block)->size : 0;
}

BOOL HeapDestroy(HHEAP heap) {
    if (!heap) return FALSE;
    for (BlockHeader* b = heap->blocks; b;) {
        BlockHeader* next = b->next;
        std::free(b);
        b = next;
    }
    delete heap;
    return TRUE;
}

#else  // mimalloc

// mimalloc rounds blocks up; the requested size is kept in a small header so that
// HeapReAlloc zeroes exactly the part beyond the caller's old size.
struct HeapRecord {
    mi_heap_t* heap;
};

namespace {
constexpr SIZE_T kHeader = 16;
SIZE_T& SizeOf(const void* p) {
    return *reinterpret_cast<SIZE_T*>(const_cast<char*>(static_cast<const char*>(p)) - kHeader);
}
}  // namespace

HHEAP HeapCreate(DWORD, SIZE_T, SIZE_T) {
    mi_heap_t* h = mi_heap_new();
    if (!h) return nullptr;
    auto* rec = static_cast<HeapRecord*>(mi_heap_malloc(h, sizeof(HeapRecord)));
    if (!rec) {
        mi_heap_destroy(h);
        return nullptr;
    }
    rec->heap = h;
    return rec;
}

void* HeapAlloc(HHEAP heap, DWORD flags, SIZE_T size) {
    if (!heap || size > kMaxBlock) return nullptr;
    char* raw =
        static_cast<char*>((flags & HEAP_ZERO_MEMORY) ? mi_heap_zalloc(heap->heap, size + kHeader)
                                                      : mi_heap_malloc(heap->heap, size + kHeader));
    if (!raw) return nullptr;
    ++Heap_CallCounts().allocations;
    void* p = raw + kHeader;
    SizeOf(p) = size;
    return p;
}

void* HeapReAlloc(HHEAP heap, DWORD flags, void* block, SIZE_T size) {
    if (!heap || size > kMaxBlock) return nullptr;
    if (!block) return HeapAlloc(heap, flags, size);
    SIZE_T old_size = SizeOf(block);
    char* raw = static_cast<char*>(
        mi_heap_realloc(heap->heap, static_cast<char*>(block) - kHeader, size + kHeader));
    if (!raw) return nullptr;
    ++Heap_CallCounts().reallocations;
    void* p = raw + kHeader;
    SizeOf(p) = size;
    if ((flags & HEAP_ZERO_MEMORY) && size > old_size) {
        std::memset(static_cast<char*>(p) + old_size, 0, size - old_size);
    }
    return p;
}

BOOL HeapFree(HHEAP heap, DWORD, void* block) {
    if (!heap) return FALSE;
    if (block) {
        ++Heap_CallCounts().frees;
        mi_free(static_cast<char*>(block) - kHeader);
    }
    return TRUE;
}

SIZE_T HeapSize(HHEAP, DWORD, const void* block) {
    return block ? SizeOf(block) : 0;
}

BOOL HeapDestroy(HHEAP heap) {
    if (!heap) return FALSE;
    mi_heap_destroy(heap->heap);  // frees the record too: it lives in the heap
    return TRUE;
}

#endif
