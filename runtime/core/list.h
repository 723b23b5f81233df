// Linked lists with a current element, their nodes taken from a block pool. A list variable
// is two words: the ListHeader, then the current element's node (null when there is none);
// the program reads the current element's data right after the node's two links.
#pragma once
#include <cstdint>

#include "runtime/core/block_pool.h"
#include "runtime/core/structure_layout.h"

struct ListNode {
    ListNode* next;
    ListNode* previous;
    // the element data follows
};

inline void* ListNode_Data(ListNode* node) {
    return node ? node + 1 : nullptr;
}

struct ListVariable {
    ListHeader* header;
    ListNode* current;
};

struct ListHeader {
    ListNode* first;
    ListNode* last;
    ListNode* current;             // null: before the first element
    ListNode** published_current;  // the list variable's second word, kept equal to current
    int32_t count;
    int32_t current_index;   // 0-based index of the current element
    StructureLayout layout;  // fields of structure elements, or null
    BlockPool* pool;         // nodes of node_size bytes
    ListVariable* variable;
    int32_t node_size;      // element size + the two links
    int32_t type_code;      // stored, not interpreted
    uint8_t before_first;   // 1 after creation, reset and clear; 0 once an element was added
    uint8_t needs_set_up;   // from the layout
    uint8_t owns_variable;  // the list allocated its own variable
};

// Registers the list create, copy and free hooks used for list fields of structures.
void List_Init();

// Makes an empty list and stores it in the variable (`variable` is the address of a two-word
// list variable, or null for one of the list's own). Returns the header, or null when the
// memory is not to be had or the element size is negative.
ListHeader* List_Create(int32_t element_size, void* variable, StructureLayout layout,
                        int32_t type_code);
// Inserts a zeroed (and set up) element after the current one, or at the front when there is
// none; it becomes current. Returns its data, or null when no node is to be had.
void* List_Add(ListHeader* list);
// Moves to the next element (the first one from before the first) and returns its data; at
// the last element returns null and stays there.
void* List_Next(ListHeader* list);
void List_Reset(ListHeader* list);
// Cleans up and drops every element.
void List_Clear(ListHeader* list);
int32_t List_Size(ListHeader* list);
// Clears, frees the pool and the header, and zeroes the variable (freeing it when owned).
void List_Destroy(ListHeader* list);
// Adds a copy of each source element in order (after the destination's current element),
// optionally clearing the destination first. Returns 1, or 0 when either is null, both are
// the same list, or their elements differ in size or layout.
int32_t List_Copy(ListHeader* source, ListHeader* destination, int32_t clear);
