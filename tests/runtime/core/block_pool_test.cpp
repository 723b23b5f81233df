#include "runtime/core/block_pool.h"

#include <cstring>
#include <vector>

#include "tests/support/runtime_fixture.h"

namespace {

int Count(const BlockPoolChunk* c) {
    int n = 0;
    for (; c; c = c->next) ++n;
    return n;
}

using BlockPoolTest = RuntimeTest;

TEST_F(BlockPoolTest, ChunksOfSixteenThenGrowthAndRelease) {
    BlockPool* pool = BlockPool_Create(20, 16, 256);
    ASSERT_NE(pool, nullptr);
    EXPECT_EQ(pool->stride % sizeof(void*), 0u);
    EXPECT_GE(pool->stride, 20 + static_cast<int32_t>(sizeof(void*)));

    std::vector<void*> blocks;
    blocks.push_back(BlockPool_Allocate(pool));
    EXPECT_EQ(pool->total, 16);
    for (int i = 1; i < 16; ++i) blocks.push_back(BlockPool_Allocate(pool));
    EXPECT_EQ(Count(pool->full), 1);
    EXPECT_EQ(Count(pool->open), 0);
    // The seventeenth: 16 / 16 = 1, rounded down to 0, raised to 16.
    blocks.push_back(BlockPool_Allocate(pool));
    EXPECT_EQ(pool->total, 32);
    EXPECT_EQ(Count(pool->open), 1);

    // Blocks are distinct and writable over their whole size.
    for (size_t i = 0; i < blocks.size(); ++i) std::memset(blocks[i], int(i), 20);
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(static_cast<unsigned char*>(blocks[i])[19], i);
    }

    // One block back turns the full chunk open; all sixteen back free it.
    BlockPool_Release(pool, blocks[0]);
    EXPECT_EQ(Count(pool->full), 0);
    EXPECT_EQ(Count(pool->open), 2);
    for (int i = 1; i < 16; ++i) BlockPool_Release(pool, blocks[i]);
    EXPECT_EQ(pool->total, 16);
    EXPECT_EQ(Count(pool->open), 1);

    BlockPool_Release(pool, blocks[16]);
    EXPECT_EQ(pool->total, 0);
    EXPECT_EQ(Count(pool->open) + Count(pool->full), 0);
    BlockPool_Destroy(pool);
}

TEST_F(BlockPoolTest, ReturnedBlocksAreReusedBeforeUntouchedOnes) {
    BlockPool* pool = BlockPool_Create(8, 16, 256);
    void* a = BlockPool_Allocate(pool);
    void* b = BlockPool_Allocate(pool);
    BlockPool_Release(pool, a);
    EXPECT_EQ(BlockPool_Allocate(pool), a);
    (void)b;
    BlockPool_Destroy(pool);
}

TEST_F(BlockPoolTest, LargePoolsGrowBySixteenthsUpToTheMaximum) {
    BlockPool* pool = BlockPool_Create(4, 16, 64);
    std::vector<void*> blocks;
    for (int i = 0; i < 2000; ++i) blocks.push_back(BlockPool_Allocate(pool));
    // Chunks of 16 until the pool holds 512, then 32, 48 ... capped at 64.
    int biggest = 0;
    for (BlockPoolChunk* c = pool->full; c; c = c->next) biggest = std::max(biggest, c->capacity);
    for (BlockPoolChunk* c = pool->open; c; c = c->next) biggest = std::max(biggest, c->capacity);
    EXPECT_EQ(biggest, 64);
    for (void* p : blocks) BlockPool_Release(pool, p);
    EXPECT_EQ(pool->total, 0);
    BlockPool_Clear(pool);
    BlockPool_Destroy(pool);
}

TEST_F(BlockPoolTest, RefusesNonsenseSizes) {
    EXPECT_EQ(BlockPool_Create(-1, 16, 256), nullptr);
    EXPECT_EQ(BlockPool_Create(8, 0, 256), nullptr);
    EXPECT_EQ(BlockPool_Create(8, 32, 16), nullptr);
}

}  // namespace
