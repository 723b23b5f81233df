// Fuzz target: BMP files through ImageDecoder_OpenMemory and ImageDecoder_Decode.
#include <cstddef>
#include <cstdint>

#include "runtime/image/image_decoder.h"
#include "tests/fuzz/image_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzImageDecoder(data, size, &ImageDecoder_UseBmp);
}
