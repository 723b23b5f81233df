// kavro_icon: draws the game's icon at the sizes given, as DIR/<N>x<N>/NAME.png (the layout of
// an icon theme's size folders). Usage: kavro_icon DIR NAME SIZE...
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/art/icon.h"
#include "tools/formats/image_files.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: kavro_icon DIR NAME SIZE...\n");
        return 2;
    }
    try {
        for (int i = 3; i < argc; ++i) {
            const int size = std::atoi(argv[i]);
            const std::string n = std::to_string(size);
            const std::filesystem::path folder = std::filesystem::path(argv[1]) / (n + "x" + n);
            std::filesystem::create_directories(folder);
            const kavro_art::IconPicture icon = kavro_art::PaintIcon(size);
            kavro_formats::WriteFileBytes(folder / (std::string(argv[2]) + ".png"),
                                          kavro_formats::EncodePngRgba(size, size, icon.rgba));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavro_icon: %s\n", e.what());
        return 1;
    }
    return 0;
}
