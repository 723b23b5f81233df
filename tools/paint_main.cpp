// kavro_paint: draws the game's pictures. Writes the player and creature sheets (BMP) and the
// background (JPEG) into SHEETS_DIR, and the tilesets (PNG) into TILESETS_DIR.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/art/pictures.h"
#include "tools/art/tile_catalogue.h"
#include "tools/art/tilesets.h"
#include "tools/formats/image_files.h"

namespace {

// The sheets carry two bytes of padding after the pixels, as the sizes the game documents
// (179,256 and 73,784 bytes) include.
constexpr int kSheetTrailingBytes = 2;
constexpr int kBackgroundQuality = 88;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kavro_paint SHEETS_DIR TILESETS_DIR\n");
        return 2;
    }
    const std::string sheets = argv[1], tilesets = argv[2];
    try {
        using namespace kavro_formats;
        WriteFileBytes(sheets + "/player_sheet.bmp",
                       EncodeBmp24(kavro_art::PaintPlayerSheet(), kSheetTrailingBytes));
        WriteFileBytes(sheets + "/creature_sheet.bmp",
                       EncodeBmp24(kavro_art::PaintCreatureSheet(), kSheetTrailingBytes));
        WriteFileBytes(
            sheets + "/background.jpg",
            EncodeJpeg(kavro_art::PaintBackground(), kBackgroundQuality,
                       MakeExifBlock(kavro_art::kBackgroundWidth, kavro_art::kBackgroundHeight,
                                     "Kavro paint", "2024:06:01 12:00:00")));
        std::vector<kavro_art::Canvas> pictures = kavro_art::PaintTilesets();
        for (size_t i = 0; i < pictures.size(); ++i)
            WriteFileBytes(tilesets + "/" + std::string(kavro_art::Tilesets()[i].file_name),
                           EncodePng(pictures[i]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavro_paint: %s\n", e.what());
        return 1;
    }
    return 0;
}
