#include "platform/win32/tls.h"

#include <atomic>

namespace {
constexpr DWORD kSlots = 64;
std::atomic<uint64_t> g_used{0};
thread_local void* t_values[kSlots];
}  // namespace

DWORD TlsAlloc() {
    uint64_t used = g_used.load();
    for (DWORD i = 0; i < kSlots; ++i) {
        uint64_t bit = uint64_t{1} << i;
        while (!(used & bit)) {
            if (g_used.compare_exchange_weak(used, used | bit)) {
                t_values[i] = nullptr;
                return i;
            }
        }
    }
    return TLS_OUT_OF_INDEXES;
}

BOOL TlsFree(DWORD index) {
    if (index >= kSlots) return FALSE;
    uint64_t bit = uint64_t{1} << index;
    return (g_used.fetch_and(~bit) & bit) ? TRUE : FALSE;
}

void* TlsGetValue(DWORD index) {
    if (index >= kSlots || !(g_used.load() & (uint64_t{1} << index))) return nullptr;
    return t_values[index];
}

BOOL TlsSetValue(DWORD index, void* value) {
    if (index >= kSlots || !(g_used.load() & (uint64_t{1} << index))) return FALSE;
    t_values[index] = value;
    return TRUE;
}
