// Loading a level map file: header, grid of cell records, tileset names, info text.
#include "game/map/map_state.h"
#include "runtime/core/strings.h"
#include "runtime/file/file.h"

namespace {

constexpr int64_t kCellRecordBytes = 15;

void ReadCell(int32_t file, MapCell* cell) {
    cell->tile = File_ReadWord(file);
    cell->alpha = File_ReadWord(file);
    cell->attribute = File_ReadWord(file);
    cell->animated = File_ReadByte(file);
    cell->first_frame = File_ReadWord(file);
    cell->last_frame = File_ReadWord(file);
    cell->anim_speed = File_ReadFloat(file);
    cell->anim_position = 0.0f;
}

// A grid this engine can hold: a positive tile size and dimensions that fit in memory.
bool Acceptable(int32_t tile_size, int32_t w, int32_t h, int32_t l) {
    if (tile_size <= 0 || w < 0 || h < 0 || l < 0) return false;
    return int64_t{w + 1} * (h + 1) * (l + 1) <= kMapMaxCells;
}

}  // namespace

int32_t Map_Load(const char* name) {
    MapEngineState& m = Map_State();
    int32_t file = File_OpenRead(-1, name);
    if (!file) return 0;
    String_Assign(&m.info_text, "");
    // Seven header characters.
    char header[8] = {};
    for (int i = 0; i < 7; ++i) header[i] = static_cast<char>(File_ReadUnsignedByte(file));
    // "LVD", then the version in characters 5 and 6.
    if (header[0] != 'L' || header[1] != 'V' || header[2] != 'D') {
        File_Close(file);
        return -1;
    }
    if (header[4] == 'X' && header[5] == '1') {
        File_Close(file);
        return -3;
    }
    if (header[4] != '2' || header[5] != '0') {
        File_Close(file);
        return -2;
    }
    // Tile size and grid: checked before anything changes, so a refused map leaves the old one in
    // place.
    int32_t tile_size = File_ReadWord(file);
    int32_t w = File_ReadWord(file);
    int32_t h = File_ReadWord(file);
    int32_t l = File_ReadByte(file);
    if (!Acceptable(tile_size, w, h, l)) {
        File_Close(file);
        return kMapRefused;
    }
    Map_SetTileSize(tile_size);
    if (!Map_Create(w, h, l) && !m.grid.cells) {
        File_Close(file);
        return kMapRefused;
    }
    // Layer by layer, row by row, column by column. Past the end of the file every read
    // gives 0, so those cells are zeroed without reading: a short file that declares a huge
    // grid would otherwise cost millions of reads of nothing.
    int64_t left = File_Length(file) - File_Position(file);
    for (int32_t layer = 0; layer <= l; ++layer) {
        for (int32_t y = 0; y <= h; ++y) {
            for (int32_t x = 0; x <= w; ++x) {
                MapCell* cell = Map_CellPointer(x, y, layer);
                if (left > 0) {
                    ReadCell(file, cell);
                    left -= kCellRecordBytes;
                } else {
                    *cell = MapCell{0, 0, 0, 0, 0, 0, 0.0f, 0.0f};
                }
            }
        }
    }
    // The tileset names; the old tilesets go first.
    int32_t last_name = File_ReadWord(file);
    Map_FreeTilesets();
    Map_ClearTilesetNames();
    // A name that does not exist is looked for once more under the graphics path.
    StringGlobals& g = String_Globals();
    StringVariable tileset = nullptr;
    for (int32_t i = 0; i <= last_name; ++i) {
        int32_t p0 = g.position;
        File_ReadLine(file, p0);
        String_Store(&tileset, p0);
        if (File_Size(tileset) == -1) {
            String_Append(m.graphics_path);
            Path_FilePart(tileset, g.position);
            String_Store(&tileset, p0);
        }
        Map_LoadTileset(tileset);
    }
    String_Free(tileset);
    // The rest is the info text, each line ended by one CR.
    while (File_Position(file) < File_Length(file)) {
        int32_t p0 = g.position;
        String_Append(m.info_text);
        File_ReadLine(file, g.position);
        String_Append("\r");
        String_Store(&m.info_text, p0);
    }
    File_Close(file);
    return file;
}
