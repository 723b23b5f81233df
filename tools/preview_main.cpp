// kavro_preview: writes a BMP, PNG or JPEG picture as a PNG, enlarged by a whole factor, so the
// generated pictures can be looked at. Usage: kavro_preview IN OUT.png [SCALE]
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tools/formats/image_files.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: kavro_preview IN OUT.png [SCALE]\n");
        return 2;
    }
    const int scale = argc == 4 ? std::atoi(argv[3]) : 1;
    if (scale < 1 || scale > 16) {
        std::fprintf(stderr, "kavro_preview: SCALE must be 1 to 16\n");
        return 2;
    }
    try {
        using namespace kavro_formats;
        Bytes file = ReadFileBytes(argv[1]);
        kavro_art::Canvas in =
            file.size() > 2 && file[0] == 'B' && file[1] == 'M'     ? DecodeBmp24(file)
            : file.size() > 2 && file[0] == 0xFF && file[1] == 0xD8 ? DecodeJpeg(file)
                                                                    : DecodePng(file);
        kavro_art::Canvas out(in.width() * scale, in.height() * scale);
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) out.Set(x, y, in.Get(x / scale, y / scale));
        WriteFileBytes(argv[2], EncodePng(out));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavro_preview: %s\n", e.what());
        return 1;
    }
    return 0;
}
