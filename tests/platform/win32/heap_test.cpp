#include "platform/win32/heap.h"
#include "platform/win32/heap_counts.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(HeapTest, ZeroedAllocationAndReallocationKeepsContentsAndZeroesTheRest) {
    HHEAP heap = HeapCreate(0, 4096, 0);
    ASSERT_NE(heap, nullptr);
    auto* p = static_cast<unsigned char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 100));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], 0);
    std::memset(p, 0x5A, 100);
    p = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, p, 100000));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(HeapSize(heap, 0, p), 100000u);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], 0x5A);
    for (int i = 100; i < 100000; ++i) ASSERT_EQ(p[i], 0) << i;
    // Shrinking keeps the front; growing again zeroes past the shrunk size.
    p = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, p, 50));
    p = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, p, 80));
    for (int i = 0; i < 50; ++i) ASSERT_EQ(p[i], 0x5A);
    for (int i = 50; i < 80; ++i) ASSERT_EQ(p[i], 0);
    EXPECT_TRUE(HeapFree(heap, 0, p));
    // Blocks left behind go with the heap.
    for (int i = 0; i < 1000; ++i) HeapAlloc(heap, 0, 64);
    EXPECT_TRUE(HeapDestroy(heap));
}

TEST(HeapTest, AbsurdSizesFailInsteadOfWrapping) {
    HHEAP heap = HeapCreate(0, 4096, 0);
    EXPECT_EQ(HeapAlloc(heap, 0, SIZE_MAX), nullptr);
    EXPECT_EQ(HeapAlloc(heap, 0, SIZE_MAX - 8), nullptr);
    void* p = HeapAlloc(heap, 0, 16);
    EXPECT_EQ(HeapReAlloc(heap, 0, p, SIZE_MAX), nullptr);
    EXPECT_TRUE(HeapFree(heap, 0, p));
    HeapDestroy(heap);
}

TEST(HeapTest, CallCountsFollowTheCallsThatGaveBlocks) {
    HHEAP heap = HeapCreate(0, 4096, 0);
    const HeapCallCounts before = Heap_CallCounts();
    void* p = HeapAlloc(heap, 0, 32);
    p = HeapReAlloc(heap, 0, p, 64);
    EXPECT_EQ(HeapAlloc(heap, 0, SIZE_MAX), nullptr);  // refused: not counted
    HeapFree(heap, 0, p);
    HeapFree(heap, 0, nullptr);
    const HeapCallCounts& after = Heap_CallCounts();
    EXPECT_EQ(after.allocations - before.allocations, 1u);
    EXPECT_EQ(after.reallocations - before.reallocations, 1u);
    EXPECT_EQ(after.frees - before.frees, 1u);
    HeapDestroy(heap);
}

}  // namespace
