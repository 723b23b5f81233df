// Replaces the process's malloc family and operator new with counting forwarders to mimalloc,
// the allocator the deliverables already use for both (its library overrides them), so the
// program under measurement allocates exactly as it does unmeasured.
#include "bench/alloc_hooks.h"

#include <atomic>
#include <cstddef>
#include <new>

#if KAVRO_BENCH_COUNT_MALLOC

#include <mimalloc.h>

namespace {
std::atomic<uint64_t> g_allocations{0};
inline void Count() {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

bool BenchAllocationsCounted() {
    return true;
}
uint64_t BenchAllocations() {
    return g_allocations.load(std::memory_order_relaxed);
}

extern "C" {
void* malloc(size_t size) noexcept {
    Count();
    return mi_malloc(size);
}
void* calloc(size_t count, size_t size) noexcept {
    Count();
    return mi_calloc(count, size);
}
void* realloc(void* block, size_t size) noexcept {
    Count();
    return mi_realloc(block, size);
}
void* reallocarray(void* block, size_t count, size_t size) noexcept {
    Count();
    return mi_reallocarray(block, count, size);
}
void free(void* block) noexcept {
    mi_free(block);
}
void* aligned_alloc(size_t alignment, size_t size) noexcept {
    Count();
    return mi_aligned_alloc(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
    Count();
    return mi_posix_memalign(out, alignment, size);
}
void* memalign(size_t alignment, size_t size) noexcept {
    Count();
    return mi_memalign(alignment, size);
}
void* valloc(size_t size) noexcept {
    Count();
    return mi_valloc(size);
}
void* pvalloc(size_t size) noexcept {
    Count();
    return mi_pvalloc(size);
}
}

void* operator new(size_t size) {
    Count();
    return mi_new(size);
}
void* operator new[](size_t size) {
    Count();
    return mi_new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    Count();
    return mi_new_nothrow(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    Count();
    return mi_new_nothrow(size);
}
void* operator new(size_t size, std::align_val_t alignment) {
    Count();
    return mi_new_aligned(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment) {
    Count();
    return mi_new_aligned(size, static_cast<size_t>(alignment));
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    Count();
    return mi_new_aligned_nothrow(size, static_cast<size_t>(alignment));
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    Count();
    return mi_new_aligned_nothrow(size, static_cast<size_t>(alignment));
}
void operator delete(void* block) noexcept {
    mi_free(block);
}
void operator delete[](void* block) noexcept {
    mi_free(block);
}
void operator delete(void* block, size_t) noexcept {
    mi_free(block);
}
void operator delete[](void* block, size_t) noexcept {
    mi_free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    mi_free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    mi_free(block);
}
void operator delete(void* block, size_t, std::align_val_t) noexcept {
    mi_free(block);
}
void operator delete[](void* block, size_t, std::align_val_t) noexcept {
    mi_free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    mi_free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    mi_free(block);
}

#else

bool BenchAllocationsCounted() {
    return false;
}
uint64_t BenchAllocations() {
    return 0;
}

#endif
