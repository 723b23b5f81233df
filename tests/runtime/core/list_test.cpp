// Lists: order of adding and walking, the published current element, clearing strings,
// destruction, copies, and growth by pool chunks.
#include "runtime/core/list.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/array.h"
#include "runtime/core/strings.h"
#include "tests/support/freed_block.h"
#include "tests/support/runtime_fixture.h"

namespace {

constexpr StructureLayoutWord kNameLayout[] = {0, kLayoutEnd};

class ListTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        Array_Init();
        List_Init();
    }
    // Adds an integer element and returns its data.
    static int32_t* AddInt(ListHeader* list, int32_t value) {
        auto* data = static_cast<int32_t*>(List_Add(list));
        *data = value;
        return data;
    }
    // The elements from first to last, read through the links.
    static std::vector<int32_t> Order(ListHeader* list) {
        std::vector<int32_t> out;
        for (ListNode* n = list->first; n; n = n->next) {
            out.push_back(*static_cast<int32_t*>(ListNode_Data(n)));
        }
        // The backward links must agree.
        std::vector<int32_t> back;
        for (ListNode* n = list->last; n; n = n->previous) {
            back.insert(back.begin(), *static_cast<int32_t*>(ListNode_Data(n)));
        }
        EXPECT_EQ(out, back);
        return out;
    }
    ListVariable var{};
};

TEST_F(ListTest, AddsInOrderAndWalksAfterReset) {
    ListHeader* list = List_Create(4, &var, nullptr, 21);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(var.header, list);
    EXPECT_EQ(list->before_first, 1);
    EXPECT_EQ(List_Next(list), nullptr);
    EXPECT_EQ(var.current, nullptr);

    AddInt(list, 1);
    EXPECT_EQ(list->before_first, 0);
    AddInt(list, 2);
    int32_t* third = AddInt(list, 3);
    EXPECT_EQ(Order(list), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(ListNode_Data(var.current), third);
    EXPECT_EQ(list->current_index, 2);
    EXPECT_EQ(List_Size(list), 3);

    List_Reset(list);
    EXPECT_EQ(var.current, nullptr);
    EXPECT_EQ(list->before_first, 1);
    for (int32_t expected = 1; expected <= 3; ++expected) {
        auto* data = static_cast<int32_t*>(List_Next(list));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(*data, expected);
        EXPECT_EQ(ListNode_Data(var.current), data);
        EXPECT_EQ(list->current_index, expected - 1);
    }
    EXPECT_EQ(List_Next(list), nullptr);
    EXPECT_EQ(ListNode_Data(var.current), third);
    EXPECT_EQ(list->current_index, 2);
}

TEST_F(ListTest, AddAfterResetInsertsAtTheFrontAndOtherwiseAfterTheCurrent) {
    ListHeader* list = List_Create(4, &var, nullptr, 21);
    AddInt(list, 1);
    AddInt(list, 2);
    AddInt(list, 3);
    List_Reset(list);
    AddInt(list, 0);
    EXPECT_EQ(Order(list), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(list->current_index, 0);
    // Now after the current one, in the middle.
    List_Next(list);  // 1
    AddInt(list, 15);
    EXPECT_EQ(Order(list), (std::vector<int32_t>{0, 1, 15, 2, 3}));
    EXPECT_EQ(list->current_index, 2);
    EXPECT_EQ(*static_cast<int32_t*>(List_Next(list)), 2);
    EXPECT_EQ(*static_cast<int32_t*>(ListNode_Data(list->last)), 3);
    EXPECT_EQ(*static_cast<int32_t*>(ListNode_Data(list->first)), 0);
}

TEST_F(ListTest, NewElementsAreZeroedEvenWhenTheirNodeIsReused) {
    ListHeader* list = List_Create(64, &var, nullptr, 7);
    auto* a = static_cast<uint8_t*>(List_Add(list));
    std::memset(a, 0xCD, 64);
    List_Clear(list);
    auto* b = static_cast<uint8_t*>(List_Add(list));
    for (int i = 0; i < 64; ++i) ASSERT_EQ(b[i], 0) << i;
}

TEST_F(ListTest, ClearingAListOfStringsFreesEveryString) {
    ListHeader* list = List_Create(sizeof(StringVariable), &var, kNameLayout, 8);
    std::vector<char*> texts;
    for (int i = 0; i < 5; ++i) {
        auto* name = static_cast<StringVariable*>(List_Add(list));
        String_Assign(name, ("GFX\\tiles" + std::to_string(i) + ".png").c_str());
        texts.push_back(*name);
    }
    List_Clear(list);
    EXPECT_EQ(List_Size(list), 0);
    EXPECT_EQ(list->first, nullptr);
    EXPECT_EQ(list->last, nullptr);
    EXPECT_EQ(var.current, nullptr);
    EXPECT_EQ(list->before_first, 1);
    EXPECT_EQ(list->pool->total, 0);
    for (char* t : texts) EXPECT_TRUE(Freed(t));
    // The list is usable again.
    String_Assign(static_cast<StringVariable*>(List_Add(list)), "again");
    List_Reset(list);
    EXPECT_STREQ(*static_cast<StringVariable*>(List_Next(list)), "again");
    List_Destroy(list);
}

TEST_F(ListTest, DestroyEmptiesTheVariableAndFreesItsOwnVariable) {
    ListHeader* list = List_Create(4, &var, nullptr, 21);
    AddInt(list, 9);
    List_Destroy(list);
    EXPECT_EQ(var.header, nullptr);
    EXPECT_EQ(var.current, nullptr);
    EXPECT_TRUE(Freed(list));

    ListHeader* own = List_Create(4, nullptr, nullptr, 21);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->owns_variable, 1);
    ListVariable* words = own->variable;
    EXPECT_EQ(words->header, own);
    int32_t* data = AddInt(own, 4);
    EXPECT_EQ(ListNode_Data(words->current), data);
    List_Destroy(own);
    EXPECT_TRUE(Freed(words));
    List_Destroy(nullptr);
    EXPECT_EQ(List_Size(nullptr), 0);
    EXPECT_EQ(List_Next(nullptr), nullptr);
    EXPECT_EQ(List_Add(nullptr), nullptr);
}

TEST_F(ListTest, RefusesImpossibleElementSizes) {
    EXPECT_EQ(List_Create(-1, &var, nullptr, 0), nullptr);
    EXPECT_EQ(List_Create(1 << 30, &var, nullptr, 0), nullptr);
    EXPECT_EQ(var.header, nullptr);
}

TEST_F(ListTest, CopyDuplicatesStringsInOrder) {
    ListHeader* source = List_Create(sizeof(StringVariable), nullptr, kNameLayout, 8);
    ListVariable dest_var{};
    ListHeader* dest = List_Create(sizeof(StringVariable), &dest_var, kNameLayout, 8);
    for (const char* s : {"a", "b", "c"}) {
        String_Assign(static_cast<StringVariable*>(List_Add(source)), s);
    }
    String_Assign(static_cast<StringVariable*>(List_Add(dest)), "old");
    char* old = *static_cast<StringVariable*>(ListNode_Data(dest->first));
    ASSERT_EQ(List_Copy(source, dest, 1), 1);
    EXPECT_TRUE(Freed(old));
    ASSERT_EQ(List_Size(dest), 3);
    List_Reset(dest);
    List_Reset(source);
    for (const char* s : {"a", "b", "c"}) {
        auto* copy = static_cast<StringVariable*>(List_Next(dest));
        auto* original = static_cast<StringVariable*>(List_Next(source));
        EXPECT_STREQ(*copy, s);
        EXPECT_NE(*copy, *original);
    }
    // Without clearing, copies go after the current element.
    ASSERT_EQ(List_Copy(source, dest, 0), 1);
    EXPECT_EQ(List_Size(dest), 6);

    ListHeader* ints = List_Create(4, nullptr, nullptr, 21);
    EXPECT_EQ(List_Copy(source, ints, 1), 0);
    EXPECT_EQ(List_Copy(source, source, 0), 0);
    EXPECT_EQ(List_Copy(nullptr, dest, 0), 0);
    EXPECT_EQ(List_Copy(source, nullptr, 0), 0);
    List_Destroy(source);
    List_Destroy(dest);
    List_Destroy(ints);
}

TEST_F(ListTest, ThousandsOfElementsTakeOneHeapBlockPerChunk) {
    ListHeader* list = List_Create(4, &var, nullptr, 21);
    for (int32_t i = 0; i < 10000; ++i) AddInt(list, i);
    int chunks = 0;
    for (BlockPoolChunk* c = list->pool->full; c; c = c->next) ++chunks;
    for (BlockPoolChunk* c = list->pool->open; c; c = c->next) ++chunks;
    EXPECT_LT(chunks, 10000 / 16);
    List_Reset(list);
    for (int32_t i = 0; i < 10000; ++i) {
        auto* data = static_cast<int32_t*>(List_Next(list));
        ASSERT_NE(data, nullptr);
        ASSERT_EQ(*data, i);
    }
    EXPECT_EQ(List_Next(list), nullptr);
    List_Destroy(list);
}

TEST_F(ListTest, ElementsWithListFieldsAreSetUpAndDestroyedWithTheirList) {
    struct Group {
        int32_t id;
        ListVariable members;
    };
    static const StructureLayoutWord layout[] = {kLayoutList, offsetof(Group, members), 4, 21, 0,
                                                 kLayoutEnd};
    ListHeader* groups = List_Create(sizeof(Group), &var, layout, 7);
    EXPECT_EQ(groups->needs_set_up, 1);
    auto* g = static_cast<Group*>(List_Add(groups));
    ASSERT_NE(g->members.header, nullptr);
    EXPECT_EQ(g->members.header->variable, &g->members);
    ListHeader* inner = g->members.header;
    AddInt(inner, 5);
    List_Destroy(groups);
    EXPECT_TRUE(Freed(inner));
}

}  // namespace
