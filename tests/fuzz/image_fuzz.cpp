// Decodes one fuzz input into an exactly sized buffer, so a write past the last row's pixels or a
// read past the input is a sanitizer report; checks what the registry reports about the image.
#include "tests/fuzz/image_fuzz.h"

#include <cstdlib>
#include <memory>

#include "platform/win32/heap.h"
#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"

namespace {

// Pictures above this many pixels are opened and closed but not decoded, to keep each run
// short and its memory small.
constexpr int64_t kMostPixelsDecoded = int64_t{1} << 22;

bool Prepare(void (*use_decoder)()) {
    Program_Globals().runtime_heap = HeapCreate(0, 4096, 0);
    ImageDecoder_Init();
    use_decoder();
    return true;
}

}  // namespace

int FuzzImageDecoder(const uint8_t* data, size_t size, void (*use_decoder)()) {
    static const bool ready = Prepare(use_decoder);
    (void)ready;
    if (size > static_cast<size_t>(INT32_MAX)) return 0;
    if (!ImageDecoder_OpenMemory(data, static_cast<int32_t>(size))) return 0;
    const int32_t width = ImageDecoder_Width();
    const int32_t height = ImageDecoder_Height();
    const int32_t depth = ImageDecoder_Depth();
    // An accepted image always has a size a caller can allocate and a depth it understands.
    if (!ImageDecoder_SizeAllowed(width, height) || (depth != 24 && depth != 32)) std::abort();
    if (int64_t{width} * height > kMostPixelsDecoded) {
        ImageDecoder_Close();
        return 0;
    }
    const int32_t pitch = width * (depth / 8);
    auto buffer = std::make_unique<uint8_t[]>(static_cast<size_t>(pitch) * height);
    // Both row orders, chosen by the input so that a crash reproduces.
    const int32_t flags = (size & 1) ? kImageDecodeBottomUp : 0;
    ImageDecoder_Decode(buffer.get(), pitch, flags);
    return 0;
}
