// Whether a heap block has been freed: freed blocks stay poisoned while in the address
// sanitizer's quarantine, so only that build can tell; other builds take it on trust.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define KAVRO_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAVRO_TEST_ASAN 1
#endif
#endif
#if KAVRO_TEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

inline bool Freed(const void* block) {
#if KAVRO_TEST_ASAN
    return __asan_address_is_poisoned(block);
#else
    (void)block;
    return true;
#endif
}
