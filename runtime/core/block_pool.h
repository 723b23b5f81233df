// Fixed-size block allocator: blocks come from chunks that grow with the pool and are freed as
// soon as every block of a chunk is back.
#pragma once
#include <cstdint>

struct BlockPoolChunk {
    BlockPoolChunk* next;
    BlockPoolChunk* previous;
    void* returned;          // first returned block (its first word links to the next)
    int32_t capacity;        // blocks in this chunk
    int32_t handed_out;      // blocks handed out from the untouched area
    int32_t returned_count;  // blocks on the returned list
};

struct BlockPool {
    BlockPoolChunk* full;  // chunks with no block to give
    BlockPoolChunk* open;  // chunks with at least one block to give
    int32_t total;         // blocks held by all chunks
    int32_t stride;        // bytes per block: the chunk word, then the caller's data
    int32_t minimum;
    int32_t maximum;
};

BlockPool* BlockPool_Create(int32_t block_size, int32_t minimum, int32_t maximum);
// A block of the pool's size (not zeroed), or null when no memory is to be had.
void* BlockPool_Allocate(BlockPool* pool);
void BlockPool_Release(BlockPool* pool, void* data);
void BlockPool_Clear(BlockPool* pool);
void BlockPool_Destroy(BlockPool* pool);
