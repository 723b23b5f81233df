// The handles gdi32 has given out and not yet taken back, so that a stale or invented handle is
// refused instead of being followed; and the records behind them, recycled, so that a program
// that makes and deletes the same few objects every frame (a brush, a pen, a device context on
// the back buffer) costs no allocation once it runs.
#include <new>
#include <unordered_map>
#include <vector>

#include "platform/gdi/call_counts.h"
#include "platform/gdi/gdi_internal.h"

namespace {

// Records kept for reuse per kind; beyond this, freed records go back to the C++ heap.
constexpr size_t kSpareLimit = 64;

struct Registry {
    // Every record that exists, live (handed out) or spare. A lookup never follows the handle.
    std::unordered_map<const void*, bool> records;
    uint64_t live = 0;
    std::vector<GdiObject*> spare_objects;
    std::vector<DeviceContext*> spare_contexts;
};

// Never destroyed: records kept for reuse stay reachable to the end of the process.
Registry& State() {
    static Registry* registry = new Registry;
    return *registry;
}

// A zeroed record, reused when one is spare; null when there is no memory for it.
template <typename Record>
Record* Take(std::vector<Record*>& spare) {
    Registry& r = State();
    Record* record = nullptr;
    if (!spare.empty()) {
        record = spare.back();
        spare.pop_back();
        *record = Record{};
    } else {
        record = new (std::nothrow) Record{};
        if (!record) return nullptr;
        ++Gdi_CallCounts().records_made;
        try {
            r.records.emplace(record, false);
        } catch (...) {
            delete record;
            return nullptr;
        }
    }
    r.records[record] = true;
    ++r.live;
    return record;
}

template <typename Record>
void Give(std::vector<Record*>& spare, Record* record) {
    Registry& r = State();
    auto it = r.records.find(record);
    if (it == r.records.end() || !it->second) return;
    --r.live;
    if (spare.size() < kSpareLimit) {
        try {
            spare.push_back(record);
            it->second = false;
            return;
        } catch (...) {
        }
    }
    r.records.erase(it);
    delete record;
}

}  // namespace

GdiObject* Gdi_NewObjectRecord() {
    return Take(State().spare_objects);
}

void Gdi_FreeObjectRecord(GdiObject* object) {
    Give(State().spare_objects, object);
}

DeviceContext* Gdi_NewContextRecord() {
    return Take(State().spare_contexts);
}

void Gdi_FreeContextRecord(DeviceContext* context) {
    Give(State().spare_contexts, context);
}

uint64_t Gdi_LiveHandles() {
    return State().live;
}

bool Gdi_IsLive(const void* handle) {
    if (!handle) return false;
    const Registry& r = State();
    auto it = r.records.find(handle);
    return it != r.records.end() && it->second;
}

GdiCallCounts& Gdi_CallCounts() {
    static GdiCallCounts counts{};
    return counts;
}
