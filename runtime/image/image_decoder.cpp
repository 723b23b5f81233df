// The decoder registry: the table of registered decoders, the one open image and the calls that
// carry it from open through decode to close.
#include "runtime/image/image_decoder.h"

#include <cstddef>
#include <cstring>

#include "runtime/core/library_state.h"
#include "runtime/image/image_decoder_private.h"

namespace {

struct ImageDecoderLibrary {
    const ImageDecoderEntry* entries[kImageDecoderSlots];
    int32_t count;
    ImageDecodeState state;
};

ImageDecoderLibrary* g_library;

ImageDecoderLibrary* Library() {
    return static_cast<ImageDecoderLibrary*>(LibraryState_Get(g_library));
}

// Back to a freshly opened record: nothing but the caller's data.
void ResetState(ImageDecodeState* state, const uint8_t* data, int32_t length) {
    std::memset(state, 0, sizeof(*state));
    state->data = data;
    state->length = length;
    state->from_memory = 1;
}

}  // namespace

bool ImageDecoder_SizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kImageDecoderMaxSide &&
           height <= kImageDecoderMaxSide && width * height <= kImageDecoderMaxPixels;
}

void ImageDecoder_Init() {
    g_library = static_cast<ImageDecoderLibrary*>(
        LibraryState_Create(sizeof(ImageDecoderLibrary), nullptr, nullptr));
}

void ImageDecoder_Register(const ImageDecoderEntry* entry) {
    ImageDecoderLibrary* library = Library();
    if (!library || !entry || library->count >= kImageDecoderSlots) return;
    library->entries[library->count++] = entry;
}

bool ImageDecoder_IsRegistered(const ImageDecoderEntry* entry) {
    const ImageDecoderLibrary* library = Library();
    if (!library) return false;
    for (int32_t i = 0; i < library->count; ++i) {
        if (library->entries[i] == entry) return true;
    }
    return false;
}

int32_t ImageDecoder_OpenMemory(const void* data, int32_t length) {
    ImageDecoderLibrary* library = Library();
    if (!library) return 0;
    // One image at a time: one left open would keep its library structures forever.
    ImageDecoder_Close();
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || length < 0) length = 0;
    ImageDecodeState* state = &library->state;
    // A refusing Check may have left partial fields; each Check starts from a clean record.
    ResetState(state, bytes, length);
    for (int32_t i = 0; i < library->count; ++i) {
        const ImageDecoderEntry* entry = library->entries[i];
        if (bytes && entry->check(state)) {
            state->decoder = entry;
            return 1;
        }
        ResetState(state, bytes, length);
    }
    return 0;
}

int32_t ImageDecoder_Width() {
    return Library() ? Library()->state.width : 0;
}
int32_t ImageDecoder_Height() {
    return Library() ? Library()->state.height : 0;
}
int32_t ImageDecoder_Depth() {
    return Library() ? Library()->state.depth : 0;
}

int32_t ImageDecoder_Decode(uint8_t* buffer, int32_t pitch, int32_t flags) {
    ImageDecoderLibrary* library = Library();
    if (!library || !library->state.decoder) return 0;
    int32_t result = 0;
    if (buffer) result = library->state.decoder->decode(&library->state, buffer, pitch, flags);
    ImageDecoder_Close();
    return result;
}

void ImageDecoder_Close() {
    ImageDecoderLibrary* library = Library();
    if (!library || !library->state.decoder) return;
    library->state.decoder->free(&library->state);
    // Closed: the size of the image stays readable, its decoder fields do not.
    library->state.decoder = nullptr;
    constexpr size_t kFieldsAt = offsetof(ImageDecodeState, bmp);
    std::memset(reinterpret_cast<uint8_t*>(&library->state) + kFieldsAt, 0,
                sizeof(ImageDecodeState) - kFieldsAt);
}

ImageDecodeState* ImageDecoder_State() {
    return Library() ? &Library()->state : nullptr;
}
