#include "runtime/core/object_table.h"

#include <cstring>
#include <vector>

#include "content/tiles.h"
#include "tests/support/runtime_fixture.h"

namespace {

struct Rec {
    void* handle;
    int32_t value;
    int32_t pad;
};

ObjectTable* g_table;
std::vector<int32_t> g_freed;

void FreeHook(int32_t number) {
    if (!ObjectTable_Get(g_table, number)) return;
    g_freed.push_back(number);
    ObjectTable_Release(g_table, number);
}

Rec* Make(int32_t number, int32_t value, int32_t* dyn = nullptr) {
    auto* r = static_cast<Rec*>(ObjectTable_Allocate(g_table, number, dyn));
    if (r) {
        r->handle = r;
        r->value = value;
    }
    return r;
}

class ObjectTableTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        g_freed.clear();
        g_table = ObjectTable_Create(sizeof(Rec), 16, &FreeHook);
        ASSERT_NE(g_table, nullptr);
    }
};

TEST_F(ObjectTableTest, GrowsToNumberPlusStepKeepingContents) {
    Make(5, 55);
    EXPECT_EQ(g_table->capacity, 16);
    Make(20, 2020);
    EXPECT_EQ(g_table->capacity, 36);
    auto* five = static_cast<Rec*>(ObjectTable_Get(g_table, 5));
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->value, 55);
    // New slots are zeroed, so they read as unused.
    for (int32_t n = 21; n < 36; ++n) EXPECT_EQ(ObjectTable_Get(g_table, n), nullptr);
}

TEST_F(ObjectTableTest, ReusingANumberFreesTheOldObjectAndZeroesTheRecord) {
    Make(3, 7);
    auto* again = static_cast<Rec*>(ObjectTable_Allocate(g_table, 3));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(g_freed, std::vector<int32_t>{3});
    EXPECT_EQ(again->handle, nullptr);
    EXPECT_EQ(again->value, 0);
}

TEST_F(ObjectTableTest, ReleasedNumberNamesNoObject) {
    Make(3, 1);
    ObjectTable_Release(g_table, 3);
    EXPECT_EQ(ObjectTable_Get(g_table, 3), nullptr);
}

TEST_F(ObjectTableTest, IteratesSlotsThenDynamicOldestFirstWhileFreeing) {
    int32_t a = 0, b = 0;
    Make(-1, 100, &a);
    Make(9, 9);
    Make(-1, 200, &b);
    Make(2, 2);
    std::vector<int32_t> seen;
    ObjectTable_First(g_table);
    int32_t n = 0;
    while (ObjectTable_Next(g_table, &n)) {
        seen.push_back(n);
        FreeHook(n);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{2, 9, a, b}));
    ObjectTable_First(g_table);
    EXPECT_EQ(ObjectTable_Next(g_table, &n), nullptr);
    EXPECT_EQ(g_table->dynamic_list, nullptr);
}

TEST_F(ObjectTableTest, FreeAllCallsTheHookForEveryObject) {
    Make(0, 0);
    Make(-1, 1);
    Make(40, 4);
    ObjectTable_FreeAll(g_table);
    EXPECT_EQ(g_freed.size(), 3u);
    EXPECT_EQ(ObjectTable_Get(g_table, 40), nullptr);
}

TEST_F(ObjectTableTest, DynamicNumbersNeverCollideWithSlots) {
    int32_t dyn = 0;
    Rec* d = Make(-1, 77, &dyn);
    ASSERT_NE(d, nullptr);
    EXPECT_GE(dyn, kObjectTableDynamicBase);
    EXPECT_EQ(ObjectTable_Get(g_table, dyn), d);
    // A slot table can never grow to the dynamic range.
    EXPECT_EQ(ObjectTable_Allocate(g_table, dyn), nullptr);
    EXPECT_EQ(ObjectTable_NumberOf(g_table, d), dyn);
    // Growth moves slots but not dynamic records.
    Make(1000, 1);
    EXPECT_EQ(ObjectTable_Get(g_table, dyn), d);
    EXPECT_EQ(d->value, 77);
}

TEST_F(ObjectTableTest, StaleInventedAndNegativeNumbersNameNothing) {
    int32_t dyn = 0;
    Make(-1, 1, &dyn);
    ObjectTable_Release(g_table, dyn);
    EXPECT_EQ(ObjectTable_Get(g_table, dyn), nullptr);
    EXPECT_EQ(ObjectTable_Find(g_table, dyn), nullptr);
    EXPECT_EQ(ObjectTable_Get(g_table, kObjectTableDynamicBase + 12345), nullptr);
    EXPECT_EQ(ObjectTable_Get(g_table, 0x7FFFFFFF), nullptr);
    EXPECT_EQ(ObjectTable_Get(g_table, 5000), nullptr);  // beyond capacity
    EXPECT_EQ(ObjectTable_Get(g_table, -1), nullptr);
    EXPECT_EQ(ObjectTable_Get(g_table, -7), nullptr);
    EXPECT_EQ(ObjectTable_Allocate(g_table, -2), nullptr);
    // A number that was freed is not handed out again for a new dynamic object.
    int32_t next = 0;
    Make(-1, 2, &next);
    EXPECT_NE(next, dyn);
}

TEST_F(ObjectTableTest, NumbersTooLargeToGrowToAreRefused) {
    EXPECT_EQ(ObjectTable_Allocate(g_table, kObjectTableSlotLimit), nullptr);
    EXPECT_EQ(ObjectTable_Allocate(g_table, 0x3FFFFFFF), nullptr);
    EXPECT_EQ(g_table->capacity, 16);
    // The game's tile numbers fit.
    EXPECT_NE(Make(kavro_content::kTileQuadBase + 300, 1), nullptr);
}

}  // namespace
