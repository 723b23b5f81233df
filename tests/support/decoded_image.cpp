// Decoding a test image through the registry into a buffer whose row padding is marked.
#include "runtime/image/image_decoder.h"
#include "tests/support/image_builders.h"

bool Decoded::PaddingUntouched() const {
    const int32_t used = width * (depth / 8);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t i = used; i < pitch; ++i) {
            if (buffer[static_cast<size_t>(y) * pitch + i] != kUnwritten) return false;
        }
    }
    return true;
}

Decoded DecodeImage(const Bytes& file, int32_t flags) {
    Decoded d;
    d.open = ImageDecoder_OpenMemory(file.data(), static_cast<int32_t>(file.size()));
    if (!d.open) return d;
    d.width = ImageDecoder_Width();
    d.height = ImageDecoder_Height();
    d.depth = ImageDecoder_Depth();
    d.source_bits = ImageDecoder_State()->source_bits;
    d.pitch = d.width * (d.depth / 8) + kSlack;
    d.buffer.assign(static_cast<size_t>(d.pitch) * d.height, kUnwritten);
    d.result = ImageDecoder_Decode(d.buffer.data(), d.pitch, flags);
    return d;
}
