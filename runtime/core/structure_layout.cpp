// Structure layouts: the walks that set up, clean up, relocate and copy the fields of one
// element, and the array and list hooks those walks call.
#include "runtime/core/structure_layout.h"

#include <cstring>

#include "runtime/core/array.h"
#include "runtime/core/list.h"
#include "runtime/core/strings.h"

namespace {

StructureHooks g_hooks;

// Layouts are the program's own tables; the bound only stops a table that names itself.
constexpr int kMaxDepth = 32;

enum class FieldKind { kString, kArray, kList, kMap };

StructureLayout NestedLayout(StructureLayoutWord word) {
    return reinterpret_cast<StructureLayout>(word);
}

// Calls visit(kind, field address, entry) for every field of the element, nested ones
// included, in table order.
template <typename Visit>
void Walk(StructureLayout layout, uint8_t* element, Visit& visit, int depth = 0) {
    if (!layout || depth > kMaxDepth) return;
    for (const StructureLayoutWord* w = layout;;) {
        StructureLayoutWord code = w[0];
        if (code >= 0) {
            visit(FieldKind::kString, element + code, w);
            w += 1;
            continue;
        }
        switch (code) {
            case kLayoutFixedArray:
                for (StructureLayoutWord i = 0; i < w[1]; ++i) {
                    Walk(NestedLayout(w[4]), element + w[2] + i * w[3], visit, depth + 1);
                }
                w += 5;
                break;
            case kLayoutNested:
                Walk(NestedLayout(w[3]), element + w[1], visit, depth + 1);
                w += 4;
                break;
            case kLayoutArray:
                visit(FieldKind::kArray, element + w[1], w);
                w += 6;
                break;
            case kLayoutList:
                visit(FieldKind::kList, element + w[1], w);
                w += 5;
                break;
            case kLayoutMap:
                visit(FieldKind::kMap, element + w[1], w);
                w += 5;
                break;
            default:  // the end, or a word no layout holds
                return;
        }
    }
}

bool NeedsSetUp(StructureLayout layout, int depth) {
    if (!layout || depth > kMaxDepth) return false;
    for (const StructureLayoutWord* w = layout;;) {
        switch (w[0]) {
            case kLayoutFixedArray:
                if (NeedsSetUp(NestedLayout(w[4]), depth + 1)) return true;
                w += 5;
                break;
            case kLayoutNested:
                if (NeedsSetUp(NestedLayout(w[3]), depth + 1)) return true;
                w += 4;
                break;
            case kLayoutArray:
            case kLayoutList:
            case kLayoutMap:
                return true;
            default:
                if (w[0] < 0) return false;
                w += 1;
        }
    }
}

template <typename T>
T Load(const uint8_t* field) {
    T value;
    std::memcpy(&value, field, sizeof(T));
    return value;
}

template <typename T>
void Store(uint8_t* field, T value) {
    std::memcpy(field, &value, sizeof(T));
}

void CleanUpField(FieldKind kind, uint8_t* field) {
    switch (kind) {
        case FieldKind::kString:
            String_Free(Load<char*>(field));
            Store<char*>(field, nullptr);
            break;
        case FieldKind::kArray:
            if (void* array = Load<void*>(field); array && g_hooks.array_free) {
                g_hooks.array_free(array);
            }
            Store<void*>(field, nullptr);
            break;
        case FieldKind::kList:
            if (auto* list = Load<ListHeader*>(field); list && g_hooks.list_destroy) {
                g_hooks.list_destroy(list);
            }
            std::memset(field, 0, sizeof(ListVariable));
            break;
        case FieldKind::kMap:
            break;
    }
}

}  // namespace

void StructureLayout_SetArrayHooks(void* (*create)(int32_t, int32_t, int32_t, StructureLayout,
                                                   void*),
                                   int32_t (*copy)(void*, void*, int32_t), void (*free)(void*)) {
    g_hooks.array_create = create;
    g_hooks.array_copy = copy;
    g_hooks.array_free = free;
}

void StructureLayout_SetListHooks(ListHeader* (*create)(int32_t, void*, StructureLayout, int32_t),
                                  int32_t (*copy)(ListHeader*, ListHeader*, int32_t),
                                  void (*destroy)(ListHeader*)) {
    g_hooks.list_create = create;
    g_hooks.list_copy = copy;
    g_hooks.list_destroy = destroy;
}

const StructureHooks& StructureLayout_Hooks() {
    return g_hooks;
}

bool StructureLayout_NeedsSetUp(StructureLayout layout) {
    return NeedsSetUp(layout, 0);
}

void StructureLayout_SetUp(StructureLayout layout, void* element) {
    auto visit = [](FieldKind kind, uint8_t* field, const StructureLayoutWord* w) {
        if (kind == FieldKind::kArray && g_hooks.array_create) {
            g_hooks.array_create(static_cast<int32_t>(w[2]), static_cast<int32_t>(w[3]),
                                 static_cast<int32_t>(w[4]), NestedLayout(w[5]), field);
        } else if (kind == FieldKind::kList && g_hooks.list_create) {
            g_hooks.list_create(static_cast<int32_t>(w[2]), field, NestedLayout(w[4]),
                                static_cast<int32_t>(w[3]));
        }
    };
    Walk(layout, static_cast<uint8_t*>(element), visit);
}

void StructureLayout_CleanUp(StructureLayout layout, void* element) {
    auto visit = [](FieldKind kind, uint8_t* field, const StructureLayoutWord*) {
        CleanUpField(kind, field);
    };
    Walk(layout, static_cast<uint8_t*>(element), visit);
}

void StructureLayout_Relocate(StructureLayout layout, void* element) {
    auto visit = [](FieldKind kind, uint8_t* field, const StructureLayoutWord*) {
        if (kind == FieldKind::kArray) {
            if (void* array = Load<void*>(field)) Array_HeaderOf(array)->variable = field;
        } else if (kind == FieldKind::kList) {
            if (auto* list = Load<ListHeader*>(field)) {
                auto* variable = reinterpret_cast<ListVariable*>(field);
                list->variable = variable;
                list->published_current = &variable->current;
            }
        }
    };
    Walk(layout, static_cast<uint8_t*>(element), visit);
}

void StructureLayout_Copy(StructureLayout layout, void* destination, const void* source,
                          int32_t size) {
    if (destination == source || size <= 0) return;
    StructureLayout_CleanUp(layout, destination);
    std::memcpy(destination, source, static_cast<size_t>(size));
    // The copied fields still name the source's objects: each gets its own.
    auto visit = [](FieldKind kind, uint8_t* field, const StructureLayoutWord* w) {
        switch (kind) {
            case FieldKind::kString: {
                char* text = Load<char*>(field);
                StringVariable copy = nullptr;
                String_InitCopy(&copy, text);
                Store<char*>(field, copy);
                break;
            }
            case FieldKind::kArray: {
                void* array = Load<void*>(field);
                Store<void*>(field, nullptr);
                if (!array || !g_hooks.array_create || !g_hooks.array_copy) break;
                void* copy =
                    g_hooks.array_create(static_cast<int32_t>(w[2]), 0, static_cast<int32_t>(w[4]),
                                         NestedLayout(w[5]), field);
                if (copy) g_hooks.array_copy(array, copy, 1);
                break;
            }
            case FieldKind::kList: {
                auto* list = Load<ListHeader*>(field);
                std::memset(field, 0, sizeof(ListVariable));
                if (!list || !g_hooks.list_create || !g_hooks.list_copy) break;
                ListHeader* copy =
                    g_hooks.list_create(static_cast<int32_t>(w[2]), field, NestedLayout(w[4]),
                                        static_cast<int32_t>(w[3]));
                if (copy) g_hooks.list_copy(list, copy, 0);
                break;
            }
            case FieldKind::kMap:
                Store<void*>(field, nullptr);
                break;
        }
    };
    Walk(layout, static_cast<uint8_t*>(destination), visit);
}
