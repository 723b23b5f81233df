// The level as editable text, and its compilation into a map. The text format:
//
//   kavro-level 1                      first line
//   tile-size 32                       optional; the game needs 32
//   tileset GFX\kavro_world.png        one line per tileset, in loading order
//   key C TILE [attr=A] [alpha=N] [speed=F] [group=G] [join=G1,G2]
//   layer N  ... rows ...  end         one block per layer, each row one character per cell
//   stamp FAMILY LAYER COLUMN ROW      a multi-cell picture placed on empty cells
//   info ... end                       free text stored at the end of the map
//
// '#' starts a comment line outside the layer and info blocks. TILE is `none`, a tile number,
// a family of the tile catalogue (autotiles pick their variant from the neighbours in the same
// group or a joined group; animations cycle at `speed` per frame; variant families pick a
// look-alike by position) or FAMILY:N for one tile of a family. A is a number or one of
// empty, solid, platform, deadly, bonus, ladder, rise, fall.
#pragma once
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/level/map_file.h"

namespace kavro_level {

// An error in the level text, reported as "file:line: message".
struct LevelError : std::runtime_error {
    LevelError(const std::string& file, int line, const std::string& message);
    std::string file;
    int line;
};

struct LegendKey {
    int line = 0;
    std::string tile_spec;  // as written
    int16_t attribute = 0;
    int16_t alpha = 255;
    std::optional<float> speed;
    std::string group;               // autotile group; defaults to the family name
    std::vector<std::string> joins;  // further groups an autotile joins
};

struct LayerRows {
    int line = 0;  // line of the "layer" directive
    std::vector<std::string> rows;
    std::vector<int> row_lines;
};

struct Stamp {
    int line;
    std::string family;
    int layer, column, row;
};

struct LevelSource {
    std::string file;
    int tile_size = 32;
    int tile_size_line = 0;
    std::vector<std::string> tilesets;
    std::vector<int> tileset_lines;
    std::map<char, LegendKey> keys;
    std::vector<LayerRows> layers;
    std::vector<Stamp> stamps;
    std::vector<std::string> info_lines;
};

// Parses the text; throws LevelError on any malformed line.
LevelSource ParseLevelText(const std::string& file_name, const std::string& text);

// Builds the map: resolves keys, autotiles, stamps, and checks what the game needs of a level.
// Throws LevelError naming the line of the offending row or directive.
Map CompileLevel(const LevelSource& source);

// The source line that holds cell row y of a layer (for messages about cells).
int RowLine(const LevelSource& source, int layer, int y);

}  // namespace kavro_level
