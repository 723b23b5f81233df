// Arrays: creation, several dimensions, resizing, freeing, copying, and elements whose
// strings, arrays and lists are set up and cleaned up through their layout.
#include "runtime/core/array.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/list.h"
#include "runtime/core/strings.h"
#include "tests/support/freed_block.h"
#include "tests/support/runtime_fixture.h"

namespace {

class ArrayTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        Array_Init();
        List_Init();
    }
    static char* Text(const char* s) {
        StringVariable v = nullptr;
        String_Assign(&v, s);
        return v;
    }
};

struct Named {
    char* name;
    int32_t value;
};
constexpr StructureLayoutWord kNamedLayout[] = {0, kLayoutEnd};

TEST_F(ArrayTest, ThirtyThreeZeroedIntegersAndRedeclaringGivesAFreshArray) {
    int32_t* slope = nullptr;
    ASSERT_EQ(Array_Create(4, 33, 21, nullptr, &slope), slope);
    ASSERT_NE(slope, nullptr);
    ArrayHeader* header = Array_HeaderOf(slope);
    EXPECT_EQ(header->dimensions, 1);
    EXPECT_EQ(header->element_size, 4);
    EXPECT_EQ(header->count, 33);
    EXPECT_EQ(header->type_code, 21);
    EXPECT_EQ(header->variable, &slope);
    for (int i = 0; i < 33; ++i) ASSERT_EQ(slope[i], 0);
    for (int i = 0; i < 33; ++i) slope[i] = i + 1;

    int32_t* old = slope;
    Array_Create(4, 33, 21, nullptr, &slope);
    ASSERT_NE(slope, nullptr);
    for (int i = 0; i < 33; ++i) ASSERT_EQ(slope[i], 0) << i;
    if (slope != old) {
        EXPECT_TRUE(Freed(old));
    }
}

TEST_F(ArrayTest, ThreeDimensionsHaveStridesTwelveFourOne) {
    struct {
        uint8_t* cells;
        intptr_t counts[3];
    } grid = {nullptr, {2, 3, 4}};
    ASSERT_NE(Array_CreateMulti(3, 1, 7, nullptr, &grid), nullptr);
    EXPECT_EQ(grid.counts[0], 12);
    EXPECT_EQ(grid.counts[1], 4);
    EXPECT_EQ(grid.counts[2], 1);
    ArrayHeader* header = Array_HeaderOf(grid.cells);
    EXPECT_EQ(header->count, 24);
    EXPECT_EQ(header->dimensions, 3);
    // (1, 2, 3) is the last element.
    grid.cells[1 * grid.counts[0] + 2 * grid.counts[1] + 3 * grid.counts[2]] = 0x5A;
    EXPECT_EQ(grid.cells[23], 0x5A);
}

TEST_F(ArrayTest, MultiDimensionalOverflowLeavesTheVariableNull) {
    struct {
        void* cells;
        intptr_t counts[3];
    } grid = {nullptr, {65536, 65536, 65536}};
    EXPECT_EQ(Array_CreateMulti(3, 32, 7, nullptr, &grid), nullptr);
    EXPECT_EQ(grid.cells, nullptr);
    grid.counts[0] = 2;
    grid.counts[1] = -1;
    grid.counts[2] = 2;
    EXPECT_EQ(Array_CreateMulti(3, 32, 7, nullptr, &grid), nullptr);
    EXPECT_EQ(grid.cells, nullptr);
}

TEST_F(ArrayTest, ResizeKeepsOldElementsAndZeroesNewOnes) {
    int32_t* found = nullptr;
    Array_Create(4, 11, 5, nullptr, &found);
    for (int i = 0; i < 11; ++i) found[i] = 100 + i;
    Array_Resize(15, &found);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(Array_HeaderOf(found)->count, 15);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(found[i], 100 + i);
    for (int i = 11; i < 15; ++i) EXPECT_EQ(found[i], 0);
    int32_t* same = found;
    Array_Resize(15, &found);
    EXPECT_EQ(found, same);
    // Shrinking keeps the front; growing again zeroes what was cut off.
    Array_Resize(5, &found);
    EXPECT_EQ(Array_HeaderOf(found)->count, 5);
    Array_Resize(8, &found);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(found[i], 100 + i);
    for (int i = 5; i < 8; ++i) EXPECT_EQ(found[i], 0);
    EXPECT_EQ(Array_HeaderOf(found)->dimensions, 1);
}

TEST_F(ArrayTest, ResizingTheEmptyVariableDoesNothing) {
    int32_t* none = nullptr;
    Array_Resize(10, &none);
    EXPECT_EQ(none, nullptr);
    Array_Resize(10, nullptr);
}

TEST_F(ArrayTest, SizesThatCannotBeHadFailLikeAllocationFailures) {
    int32_t* a = nullptr;
    Array_Create(4, 3, 5, nullptr, &a);
    a[0] = 7;
    EXPECT_EQ(Array_Create(1 << 30, 1 << 30, 5, nullptr, &a), nullptr);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(Array_Create(4, -1, 5, nullptr, &a), nullptr);
    EXPECT_EQ(Array_Create(-4, 1, 5, nullptr, &a), nullptr);

    uint8_t* big = nullptr;
    Array_Create(1 << 20, 2, 5, nullptr, &big);
    ASSERT_NE(big, nullptr);
    uint8_t* old = big;
    Array_Resize(INT32_MAX, &big);  // 2^51 bytes
    EXPECT_EQ(big, nullptr);
    EXPECT_TRUE(Freed(old));

    Array_Create(4, 3, 5, nullptr, &a);
    Array_Resize(-1, &a);
    EXPECT_EQ(a, nullptr);
}

TEST_F(ArrayTest, FreeCleansUpStringsAndEmptiesTheVariable) {
    Named* names = nullptr;
    Array_Create(sizeof(Named), 3, 7, kNamedLayout, &names);
    char* texts[3];
    for (int i = 0; i < 3; ++i) names[i].name = texts[i] = Text("tileset");
    Array_Free(names);
    EXPECT_EQ(names, nullptr);
    for (char* t : texts) EXPECT_TRUE(Freed(t));
    Array_Free(nullptr);
}

TEST_F(ArrayTest, ShrinkingCleansUpTheElementsCutOff) {
    Named* names = nullptr;
    Array_Create(sizeof(Named), 4, 7, kNamedLayout, &names);
    char* texts[4];
    for (int i = 0; i < 4; ++i) names[i].name = texts[i] = Text(std::to_string(i).c_str());
    Array_Resize(2, &names);
    EXPECT_STREQ(names[0].name, "0");
    EXPECT_STREQ(names[1].name, "1");
    EXPECT_TRUE(Freed(texts[2]));
    EXPECT_TRUE(Freed(texts[3]));
    Array_Resize(4, &names);
    EXPECT_EQ(names[2].name, nullptr);
    EXPECT_EQ(names[3].name, nullptr);
}

TEST_F(ArrayTest, NestedAndFixedArraysOfStructuresAreCleanedUp) {
    struct Inner {
        char* label;
        int32_t n;
    };
    struct Outer {
        Inner pair[2];
        Inner single;
        char* title;
    };
    static const StructureLayoutWord inner[] = {0, kLayoutEnd};
    static const StructureLayoutWord outer[] = {kLayoutFixedArray,
                                                2,
                                                offsetof(Outer, pair),
                                                sizeof(Inner),
                                                LayoutWordOf(inner),
                                                kLayoutNested,
                                                offsetof(Outer, single),
                                                0,
                                                LayoutWordOf(inner),
                                                offsetof(Outer, title),
                                                kLayoutEnd};
    EXPECT_FALSE(StructureLayout_NeedsSetUp(outer));
    Outer* items = nullptr;
    Array_Create(sizeof(Outer), 2, 7, outer, &items);
    std::vector<char*> texts;
    for (int i = 0; i < 2; ++i) {
        texts.push_back(items[i].pair[0].label = Text("a"));
        texts.push_back(items[i].pair[1].label = Text("b"));
        texts.push_back(items[i].single.label = Text("c"));
        texts.push_back(items[i].title = Text("d"));
    }
    Array_Free(items);
    for (char* t : texts) EXPECT_TRUE(Freed(t));
}

struct WithArray {
    int32_t id;
    int32_t* values;  // dynamic-array field: 5 integers
};
constexpr StructureLayoutWord kWithArrayLayout[] = {
    kLayoutArray, offsetof(WithArray, values), 4, 5, 21, 0, kLayoutEnd};

TEST_F(ArrayTest, ArrayFieldsAreSetUpAndFollowTheirElementWhenItMoves) {
    EXPECT_TRUE(StructureLayout_NeedsSetUp(kWithArrayLayout));
    WithArray* items = nullptr;
    Array_Create(sizeof(WithArray), 3, 7, kWithArrayLayout, &items);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(items[i].values, nullptr);
        EXPECT_EQ(Array_HeaderOf(items[i].values)->count, 5);
        EXPECT_EQ(Array_HeaderOf(items[i].values)->variable, &items[i].values);
        items[i].values[4] = i + 10;
    }
    // Growing moves the block: each nested array must know its field's new place.
    Array_Resize(2000, &items);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_NE(items[i].values, nullptr) << i;
        ASSERT_EQ(Array_HeaderOf(items[i].values)->variable, &items[i].values) << i;
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(items[i].values[4], i + 10);
    // Freeing the nested array through its header clears the field it lives in.
    int32_t* nested = items[1].values;
    Array_Free(nested);
    EXPECT_EQ(items[1].values, nullptr);
    // Re-declaring a nested array through its field works after the move too.
    Array_Create(4, 7, 21, nullptr, &items[0].values);
    EXPECT_EQ(Array_HeaderOf(items[0].values)->count, 7);
    int32_t* kept = items[2].values;
    Array_Free(items);
    EXPECT_EQ(items, nullptr);
    EXPECT_TRUE(Freed(kept));
}

struct WithList {
    int32_t id;
    ListVariable names;
};
constexpr StructureLayoutWord kWithListLayout[] = {
    kLayoutList, offsetof(WithList, names), sizeof(int32_t), 8, 0, kLayoutEnd};

TEST_F(ArrayTest, ListFieldsAreSetUpAndFollowTheirElementWhenItMoves) {
    WithList* items = nullptr;
    Array_Create(sizeof(WithList), 2, 7, kWithListLayout, &items);
    ASSERT_NE(items[0].names.header, nullptr);
    *static_cast<int32_t*>(List_Add(items[0].names.header)) = 1;
    Array_Resize(3000, &items);
    ListHeader* list = items[0].names.header;
    EXPECT_EQ(list->variable, &items[0].names);
    // The list publishes its current element into the field at its new place.
    void* added = List_Add(list);
    EXPECT_EQ(ListNode_Data(items[0].names.current), added);
    EXPECT_EQ(List_Size(list), 2);
    EXPECT_NE(items[2999].names.header, nullptr);
    Array_Free(items);
    EXPECT_TRUE(Freed(list));
}

TEST_F(ArrayTest, CopyDuplicatesStringsAndRefusesOtherShapes) {
    Named* a = nullptr;
    Named* b = nullptr;
    Array_Create(sizeof(Named), 2, 7, kNamedLayout, &a);
    Array_Create(sizeof(Named), 2, 7, kNamedLayout, &b);
    a[0].name = Text("left");
    a[0].value = 5;
    a[1].name = Text("right");
    b[0].name = Text("old");
    char* old = b[0].name;
    ASSERT_EQ(Array_Copy(a, b, 0), 1);
    EXPECT_STREQ(b[0].name, "left");
    EXPECT_NE(b[0].name, a[0].name);
    EXPECT_EQ(b[0].value, 5);
    EXPECT_STREQ(b[1].name, "right");
    EXPECT_TRUE(Freed(old));

    Named* c = nullptr;
    Array_Create(sizeof(Named), 5, 7, kNamedLayout, &c);
    EXPECT_EQ(Array_Copy(a, c, 0), 0);
    EXPECT_EQ(Array_Copy(a, c, 1), 1);
    EXPECT_EQ(Array_HeaderOf(c)->count, 2);
    EXPECT_STREQ(c[1].name, "right");
    EXPECT_EQ(Array_Copy(nullptr, c, 1), 0);
    EXPECT_EQ(Array_Copy(a, nullptr, 1), 0);

    int32_t* ints = nullptr;
    Array_Create(4, 2, 5, nullptr, &ints);
    EXPECT_EQ(Array_Copy(a, ints, 0), 0);  // other element size
}

TEST_F(ArrayTest, CopyDuplicatesNestedArraysAndLists) {
    struct Both {
        int32_t* values;
        ListVariable list;
    };
    static const StructureLayoutWord layout[] = {
        kLayoutArray, offsetof(Both, values), 4, 2, 21, 0,
        kLayoutList,  offsetof(Both, list),   4, 8, 0,  kLayoutEnd};
    Both* a = nullptr;
    Both* b = nullptr;
    Array_Create(sizeof(Both), 1, 7, layout, &a);
    Array_Create(sizeof(Both), 1, 7, layout, &b);
    a[0].values[1] = 42;
    Array_Resize(3, &a[0].values);
    a[0].values[2] = 43;
    *static_cast<int32_t*>(List_Add(a[0].list.header)) = 7;
    *static_cast<int32_t*>(List_Add(a[0].list.header)) = 8;
    ASSERT_EQ(Array_Copy(a, b, 0), 1);
    ASSERT_NE(b[0].values, a[0].values);
    EXPECT_EQ(Array_HeaderOf(b[0].values)->count, 3);
    EXPECT_EQ(Array_HeaderOf(b[0].values)->variable, &b[0].values);
    EXPECT_EQ(b[0].values[1], 42);
    EXPECT_EQ(b[0].values[2], 43);
    ASSERT_NE(b[0].list.header, a[0].list.header);
    EXPECT_EQ(b[0].list.header->variable, &b[0].list);
    ASSERT_EQ(List_Size(b[0].list.header), 2);
    List_Reset(b[0].list.header);
    EXPECT_EQ(*static_cast<int32_t*>(List_Next(b[0].list.header)), 7);
    EXPECT_EQ(*static_cast<int32_t*>(List_Next(b[0].list.header)), 8);
    Array_Free(a);
    Array_Free(b);
}

}  // namespace
