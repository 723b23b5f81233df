// Baseline JFIF JPEG through libjpeg, with an APP1 EXIF block after the JFIF header: the
// format of the background picture. Library errors come back through setjmp and throw here.
// jpeglib.h needs size_t and FILE declared before it.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <stdexcept>

#include "tools/formats/image_files.h"

namespace kavro_formats {

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    jmp_buf resume;
    char message[JMSG_LENGTH_MAX];
};

void TrapError(j_common_ptr info) {
    ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->resume, 1);
}

}  // namespace

Bytes EncodeJpeg(const kavro_art::Canvas& picture, int quality, const Bytes& app1_exif) {
    if (app1_exif.size() > 65533) throw std::invalid_argument("EXIF block too large for APP1");
    jpeg_compress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = TrapError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<JSAMPLE> row(static_cast<size_t>(picture.width()) * 3);
    if (setjmp(trap.resume)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw std::runtime_error(std::string("JPEG encoding failed: ") + trap.message);
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = picture.width();
    info.image_height = picture.height();
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);  // baseline quantisation tables
    info.optimize_coding = TRUE;
    info.write_JFIF_header = TRUE;
    jpeg_start_compress(&info, TRUE);
    jpeg_write_marker(&info, JPEG_APP0 + 1, app1_exif.data(),
                      static_cast<unsigned>(app1_exif.size()));
    while (info.next_scanline < info.image_height) {
        int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < picture.width(); ++x) {
            kavro_art::Rgb c = picture.Get(x, y);
            row[3 * x] = c.r;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

kavro_art::Canvas DecodeJpeg(const Bytes& file) {
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = TrapError;
    // Everything that owns memory is made before setjmp, so a longjmp skips no destructor.
    Bytes rgb;
    int width = 0, height = 0;
    if (setjmp(trap.resume)) {
        jpeg_destroy_decompress(&info);
        throw std::runtime_error(std::string("JPEG decoding failed: ") + trap.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        jpeg_destroy_decompress(&info);
        throw std::runtime_error("JPEG size out of range");
    }
    rgb.resize(static_cast<size_t>(width) * height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {rgb.data() + static_cast<size_t>(info.output_scanline) * width * 3};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    kavro_art::Canvas picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = (static_cast<size_t>(y) * width + x) * 3;
            picture.Set(x, y, {rgb[at], rgb[at + 1], rgb[at + 2]});
        }
    return picture;
}

}  // namespace kavro_formats
