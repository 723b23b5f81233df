// Memory blocks: zeroed blocks from the memory heap, refusals of sizes that are no size.
#include "runtime/core/memory.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(MemoryTest, BlocksAreZeroedAndSizesBelowOneAreRefused) {
    Memory_Init();
    EXPECT_EQ(Memory_Allocate(0), nullptr);
    EXPECT_EQ(Memory_Allocate(-5), nullptr);
    auto* block = static_cast<uint8_t*>(Memory_Allocate(1000));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(block[i], 0);
    block[999] = 1;
    Memory_Free(block);
    Memory_Free(nullptr);
    Memory_End();
}

}  // namespace
