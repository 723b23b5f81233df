// Tileset assembly: each family's tiles painted into their cells, row by row from the
// family's first number. Painters get clear tiles, so a painter cannot smear into a neighbour.
#include "tools/art/tilesets.h"

#include <stdexcept>
#include <string>

#include "tools/art/tile_catalogue.h"
#include "tools/art/tile_painters.h"

namespace kavro_art {

std::vector<Canvas> PaintTilesets() {
    std::vector<Canvas> sheets;
    for (const Tileset& set : Tilesets()) sheets.emplace_back(set.width, set.height);
    for (const TileFamily& family : TileFamilies()) {
        TilePainter paint = FindTilePainter(family.name);
        if (!paint)
            throw std::logic_error("no painter for tile family " + std::string(family.name));
        const Tileset& set = Tilesets()[family.tileset];
        Canvas& sheet = sheets[family.tileset];
        const int columns = set.width / kTileSize;
        auto place = [&](const Canvas& from, int fx, int fy, int32_t number) {
            int local = number - set.first_tile;
            sheet.Paste(from, fx, fy, kTileSize, kTileSize, (local % columns) * kTileSize,
                        (local / columns) * kTileSize, false);
        };
        if (family.kind == TileKind::kStamp) {
            const int rows = family.count / family.stamp_width;
            Canvas picture(family.stamp_width * kTileSize, rows * kTileSize);
            paint(picture, 0);
            for (int i = 0; i < family.count; ++i)
                place(picture, (i % family.stamp_width) * kTileSize,
                      (i / family.stamp_width) * kTileSize, family.first + i);
        } else {
            for (int i = 0; i < family.count; ++i) {
                Canvas tile(kTileSize, kTileSize);
                paint(tile, i);
                place(tile, 0, 0, family.first + i);
            }
        }
    }
    return sheets;
}

}  // namespace kavro_art
