// Fuzz target: RIFF WAVE images through Sound_CreateFromMemory, from an exactly sized copy so a
// read past the length handed in is a sanitizer report. Sounds are made under a fixed number
// (replacing the last one) or a dynamic one, chosen by the input, and freed again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "runtime/sound/sound.h"
#include "tests/fuzz/fuzz_runtime.h"

namespace {

bool Prepare() {
    FuzzRuntime_Start(false);
    if (!Sound_Init()) std::abort();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = Prepare();
    (void)ready;
    if (size > static_cast<size_t>(INT32_MAX)) return 0;
    auto copy = std::make_unique<uint8_t[]>(size > 0 ? size : 1);
    for (size_t i = 0; i < size; ++i) copy[i] = data[i];
    const int32_t length = static_cast<int32_t>(size);
    if (size & 1) {
        int32_t id = Sound_CreateFromMemory(-1, copy.get(), length);
        if (id) Sound_Free(id);
    } else {
        // The number stays taken until the next even input replaces it.
        Sound_CreateFromMemory(7, copy.get(), length);
    }
    return 0;
}
