#include "runtime/core/block_pool.h"

#include "platform/win32/heap.h"
#include "runtime/core/program.h"

namespace {

constexpr int32_t kWord = sizeof(void*);

uint8_t* BlockAt(BlockPoolChunk* chunk, int32_t index, int32_t stride) {
    return reinterpret_cast<uint8_t*>(chunk + 1) + static_cast<int64_t>(index) * stride;
}

void Unlink(BlockPoolChunk** list, BlockPoolChunk* chunk) {
    if (chunk->previous)
        chunk->previous->next = chunk->next;
    else
        *list = chunk->next;
    if (chunk->next) chunk->next->previous = chunk->previous;
    chunk->next = chunk->previous = nullptr;
}

void PushFront(BlockPoolChunk** list, BlockPoolChunk* chunk) {
    chunk->previous = nullptr;
    chunk->next = *list;
    if (*list) (*list)->previous = chunk;
    *list = chunk;
}

bool IsFull(const BlockPoolChunk* c) {
    return c->returned_count == 0 && c->handed_out == c->capacity;
}

BlockPoolChunk* NewChunk(int32_t capacity, int32_t stride) {
    SIZE_T bytes = sizeof(BlockPoolChunk) + static_cast<SIZE_T>(capacity) * stride;
    auto* chunk = static_cast<BlockPoolChunk*>(HeapAlloc(Runtime_Heap(), 0, bytes));
    if (!chunk) return nullptr;
    *chunk = BlockPoolChunk{nullptr, nullptr, nullptr, capacity, 0, 0};
    return chunk;
}

void FreeList(BlockPoolChunk* c) {
    while (c) {
        BlockPoolChunk* next = c->next;
        HeapFree(Runtime_Heap(), 0, c);
        c = next;
    }
}

}  // namespace

BlockPool* BlockPool_Create(int32_t block_size, int32_t minimum, int32_t maximum) {
    if (block_size < 0 || block_size > (1 << 24) || minimum < 1 || maximum < minimum ||
        maximum > (1 << 20)) {
        return nullptr;
    }
    auto* pool =
        static_cast<BlockPool*>(HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, sizeof(BlockPool)));
    if (!pool) return nullptr;
    pool->stride = (block_size + kWord + kWord - 1) / kWord * kWord;
    pool->minimum = minimum;
    pool->maximum = maximum;
    return pool;
}

void* BlockPool_Allocate(BlockPool* pool) {
    if (!pool) return nullptr;
    uint8_t* block;
    BlockPoolChunk* chunk = pool->open;
    if (chunk) {
        // The first open chunk gives a returned block, else an untouched one.
        if (chunk->returned) {
            block = static_cast<uint8_t*>(chunk->returned);
            chunk->returned = *reinterpret_cast<void**>(block);
            --chunk->returned_count;
        } else {
            block = BlockAt(chunk, chunk->handed_out++, pool->stride);
        }
        if (IsFull(chunk)) {
            Unlink(&pool->open, chunk);
            PushFront(&pool->full, chunk);
        }
    } else {
        // A new chunk of a sixteenth of what the pool holds, within minimum..maximum.
        int32_t capacity = pool->total / 16 / 16 * 16;
        if (capacity < pool->minimum)
            capacity = pool->minimum;
        else if (capacity > pool->maximum)
            capacity = pool->maximum;
        chunk = NewChunk(capacity, pool->stride);
        if (!chunk) {
            capacity = 1;
            chunk = NewChunk(capacity, pool->stride);
            if (!chunk) return nullptr;
        }
        pool->total += capacity;
        block = BlockAt(chunk, chunk->handed_out++, pool->stride);
        if (capacity > 1)
            PushFront(&pool->open, chunk);
        else
            PushFront(&pool->full, chunk);
    }
    // The block's first word names its chunk while it is handed out.
    *reinterpret_cast<BlockPoolChunk**>(block) = chunk;
    return block + kWord;
}

void BlockPool_Release(BlockPool* pool, void* data) {
    if (!pool || !data) return;
    uint8_t* block = static_cast<uint8_t*>(data) - kWord;
    BlockPoolChunk* chunk = *reinterpret_cast<BlockPoolChunk**>(block);
    bool was_full = IsFull(chunk);
    // Back onto the chunk's returned list.
    *reinterpret_cast<void**>(block) = chunk->returned;
    chunk->returned = block;
    ++chunk->returned_count;
    // A chunk whose blocks are all back is freed.
    if (chunk->returned_count == chunk->handed_out) {
        Unlink(was_full ? &pool->full : &pool->open, chunk);
        pool->total -= chunk->capacity;
        HeapFree(Runtime_Heap(), 0, chunk);
        return;
    }
    // A full chunk that has a block to give again becomes open.
    if (was_full) {
        Unlink(&pool->full, chunk);
        PushFront(&pool->open, chunk);
    }
}

void BlockPool_Clear(BlockPool* pool) {
    if (!pool) return;
    FreeList(pool->full);
    FreeList(pool->open);
    pool->full = pool->open = nullptr;
    pool->total = 0;
}

void BlockPool_Destroy(BlockPool* pool) {
    if (!pool) return;
    BlockPool_Clear(pool);
    HeapFree(Runtime_Heap(), 0, pool);
}
