// 24-bit bottom-up BMP: the format of the player and creature sheets.
#include <stdexcept>

#include "tools/formats/image_files.h"

namespace kavro_formats {

namespace {

void Put16(Bytes& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
uint32_t Get16(const Bytes& in, size_t at) {
    return in[at] | in[at + 1] << 8;
}
uint32_t Get32(const Bytes& in, size_t at) {
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

constexpr uint32_t kHeaderBytes = 54;

}  // namespace

Bytes EncodeBmp24(const kavro_art::Canvas& picture, int trailing_bytes) {
    if (trailing_bytes < 0 || trailing_bytes > 64)
        throw std::invalid_argument("BMP trailing bytes out of range");
    const uint32_t w = picture.width(), h = picture.height();
    const uint32_t stride = (w * 3 + 3) & ~3u;
    const uint32_t image_bytes = stride * h;
    const uint32_t file_bytes = kHeaderBytes + image_bytes + trailing_bytes;
    Bytes out;
    out.reserve(file_bytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, file_bytes);
    Put32(out, 0);
    Put32(out, kHeaderBytes);
    Put32(out, 40);  // BITMAPINFOHEADER
    Put32(out, w);
    Put32(out, h);  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, image_bytes + trailing_bytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        for (uint32_t x = 0; x < w; ++x) {
            kavro_art::Rgb c = picture.Get(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad) out.push_back(0);
    }
    out.insert(out.end(), trailing_bytes, 0);
    return out;
}

kavro_art::Canvas DecodeBmp24(const Bytes& file) {
    if (file.size() < kHeaderBytes || file[0] != 'B' || file[1] != 'M')
        throw std::runtime_error("not a BMP file");
    const uint32_t offset = Get32(file, 10);
    const int32_t w = static_cast<int32_t>(Get32(file, 18));
    const int32_t h = static_cast<int32_t>(Get32(file, 22));
    if (Get16(file, 28) != 24 || Get32(file, 30) != 0)
        throw std::runtime_error("BMP is not uncompressed 24-bit");
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384)
        throw std::runtime_error("BMP size out of range (top-down files are not read)");
    const uint64_t stride = (static_cast<uint64_t>(w) * 3 + 3) & ~3ull;
    if (offset < kHeaderBytes || offset + stride * h > file.size())
        throw std::runtime_error("BMP pixel data runs past the end of the file");
    kavro_art::Canvas picture(w, h);
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = file.data() + offset + stride * (h - 1 - y);
        for (int32_t x = 0; x < w; ++x)
            picture.Set(x, y, {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
    }
    return picture;
}

}  // namespace kavro_formats
