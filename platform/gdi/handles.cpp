// The handles gdi32 has given out and not yet taken back, so that a stale or invented handle is
// refused instead of being followed.
#include <unordered_set>

#include "platform/gdi/call_counts.h"
#include "platform/gdi/gdi_internal.h"

namespace {

std::unordered_set<const void*>& Live() {
    static std::unordered_set<const void*> live;
    return live;
}

}  // namespace

bool Gdi_Register(const void* handle) {
    try {
        Live().insert(handle);
    } catch (...) {
        return false;
    }
    return true;
}

void Gdi_Unregister(const void* handle) {
    Live().erase(handle);
}

uint64_t Gdi_LiveHandles() {
    return Live().size();
}

bool Gdi_IsLive(const void* handle) {
    return handle && Live().count(handle) != 0;
}

GdiCallCounts& Gdi_CallCounts() {
    static GdiCallCounts counts{};
    return counts;
}
