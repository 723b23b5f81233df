// PNG files through libpng's simplified interface: the tilesets and the preview pictures (RGB)
// and the icons (RGBA).
#include <png.h>

#include <stdexcept>
#include <string>

#include "tools/formats/image_files.h"

namespace kavro_formats {

namespace {

Bytes PackRgb(const kavro_art::Canvas& picture) {
    Bytes rgb;
    rgb.reserve(picture.pixels().size() * 3);
    for (kavro_art::Rgb c : picture.pixels()) {
        rgb.push_back(c.r);
        rgb.push_back(c.g);
        rgb.push_back(c.b);
    }
    return rgb;
}

// Writes 8-bit pixels of the image's format, top row first, as a PNG file.
Bytes WritePng(png_image& image, const void* pixels) {
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr))
        throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels, 0, nullptr))
        throw std::runtime_error(std::string("PNG encoding failed: ") + image.message);
    out.resize(size);
    return out;
}

}  // namespace

Bytes EncodePng(const kavro_art::Canvas& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = picture.width();
    image.height = picture.height();
    image.format = PNG_FORMAT_RGB;
    return WritePng(image, PackRgb(picture).data());
}

Bytes EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
        throw std::invalid_argument("RGBA picture of the wrong size");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    return WritePng(image, rgba.data());
}

kavro_art::Canvas DecodePng(const Bytes& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
        throw std::runtime_error(std::string("not a readable PNG: ") + image.message);
    if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
        png_image_free(&image);
        throw std::runtime_error("PNG size out of range");
    }
    image.format = PNG_FORMAT_RGB;
    Bytes rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        throw std::runtime_error(std::string("PNG decoding failed: ") + image.message);
    kavro_art::Canvas picture(image.width, image.height);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            size_t at = (static_cast<size_t>(y) * picture.width() + x) * 3;
            picture.Set(x, y, {rgb[at], rgb[at + 1], rgb[at + 2]});
        }
    return picture;
}

}  // namespace kavro_formats
