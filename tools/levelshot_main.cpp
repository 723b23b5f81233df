// kavro_levelshot: pictures of a compiled level for looking at it without the game.
//   kavro_levelshot MAP GFX_DIR SHEETS_DIR OUT.png              the whole level
//   kavro_levelshot MAP GFX_DIR SHEETS_DIR OUT.png VIEW_X VIEW_Y  one 640 x 480 screen
// The whole-level picture puts the background behind the map scaled to its size, the
// creature at its start and the player standing at the start marker; a screen view places
// the background as the game scrolls it and the player at (320, 240).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "content/tiles.h"
#include "tools/art/pictures.h"
#include "tools/formats/image_files.h"
#include "tools/level/map_file.h"

namespace {

using kavro_art::Canvas;
using kavro_art::Rgb;

std::string FilePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Cuts the tilesets into tiles in the map engine's numbering.
std::vector<Canvas> CutTiles(const kavro_level::Map& map, const std::string& gfx) {
    std::vector<Canvas> tiles;
    const int t = map.tile_size();
    for (const std::string& name : map.tilesets) {
        Canvas sheet =
            kavro_formats::DecodePng(kavro_formats::ReadFileBytes(gfx + "/" + FilePart(name)));
        for (int row = 0; row < sheet.height() / t; ++row)
            for (int col = 0; col < sheet.width() / t; ++col) {
                Canvas tile(t, t);
                tile.Paste(sheet, col * t, row * t, t, t, 0, 0, false);
                tiles.push_back(tile);
            }
    }
    return tiles;
}

// Black texels are transparent; the rest are blended with the cell's opacity.
void DrawTile(Canvas& out, const Canvas& tile, int sx, int sy, int alpha) {
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x) {
            Rgb c = tile.Get(x, y);
            if (c == kavro_art::kClear || !out.Inside(sx + x, sy + y)) continue;
            Rgb d = out.Get(sx + x, sy + y);
            auto mix = [&](int s, int t) {
                return static_cast<uint8_t>((s * alpha + t * (255 - alpha) + 127) / 255);
            };
            out.Set(sx + x, sy + y, {mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b)});
        }
}

void DrawSprite(Canvas& out, const Canvas& sheet, int fx, int fy, int w, int h, int sx, int sy) {
    Canvas frame(w, h);
    frame.Paste(sheet, fx, fy, w, h, 0, 0, false);
    DrawTile(out, frame, sx, sy, 255);
}

void DrawLayers(Canvas& out, const kavro_level::Map& map, const std::vector<Canvas>& tiles, int ox,
                int oy) {
    const int t = map.tile_size();
    for (int layer = 0; layer <= std::min(1, map.last_layer()); ++layer)
        for (int y = 0; y <= map.last_row(); ++y)
            for (int x = 0; x <= map.last_column(); ++x) {
                const kavro_level::Cell& c = map.At(x, y, layer);
                if (c.tile < 0 || c.tile >= static_cast<int>(tiles.size())) continue;
                DrawTile(out, tiles[c.tile], x * t - ox, y * t - oy, c.alpha & 0xFF);
            }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 7) {
        std::fprintf(stderr,
                     "usage: kavro_levelshot MAP GFX_DIR SHEETS_DIR OUT.png [VIEW_X VIEW_Y]\n");
        return 2;
    }
    try {
        using namespace kavro_formats;
        kavro_level::Map map = kavro_level::ReadMapFile(ReadFileBytes(argv[1]));
        std::vector<Canvas> tiles = CutTiles(map, argv[2]);
        const std::string sheets = argv[3];
        Canvas background = DecodeJpeg(ReadFileBytes(sheets + "/background.jpg"));
        Canvas player = DecodeBmp24(ReadFileBytes(sheets + "/player_sheet.bmp"));
        Canvas creature = DecodeBmp24(ReadFileBytes(sheets + "/creature_sheet.bmp"));
        const int t = map.tile_size();
        int start_x = 0, start_y = 0;
        for (int y = map.last_row(); y >= 0; --y)
            for (int x = map.last_column(); x >= 0; --x)
                if (map.At(x, y, 0).tile == kavro_content::kStartMarkerTile)
                    start_x = x, start_y = y;
        if (argc == 5) {
            Canvas out((map.last_column() + 1) * t, (map.last_row() + 1) * t);
            for (int y = 0; y < out.height(); ++y)
                for (int x = 0; x < out.width(); ++x)
                    out.Set(x, y,
                            background.Get(x * background.width() / out.width(),
                                           y * 578 / out.height()));
            DrawLayers(out, map, tiles, 0, 0);
            DrawSprite(out, creature, 0, 0, 32, 32, 400, 1025);
            DrawSprite(out, player, 0, 0, 28, 32, start_x * t, (start_y + 1) * t - 30);
            WriteFileBytes(argv[4], EncodePng(out));
        } else {
            const int vx = std::atoi(argv[5]), vy = std::atoi(argv[6]);
            Canvas out(640, 480);
            const int bx = static_cast<int>(std::nearbyint(-(vx / 8.5416)));
            const int by = static_cast<int>(std::nearbyint(-(vy / 8.5416f)));
            out.Paste(background, 0, 0, background.width(), background.height(), bx, by, false);
            DrawLayers(out, map, tiles, vx, vy);
            DrawSprite(out, creature, 0, 0, 32, 32, 400 - vx, 1025 - vy);
            DrawSprite(out, player, 0, 0, 28, 32, 320, 240);
            WriteFileBytes(argv[4], EncodePng(out));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavro_levelshot: %s\n", e.what());
        return 1;
    }
    return 0;
}
