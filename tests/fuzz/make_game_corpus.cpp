// Writes the seed files of the map, sound and sprite fuzz corpora: level maps of each shape the
// loader meets (tilesets found directly, through the graphics path and not at all; animated
// cells; bad headers; cut files), WAVE images with and without the chunks the reader walks, and
// for sprites the image seeds of the decoder corpora. Run once when the seeds change:
// make_game_corpus tests/fuzz/corpus
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "content/attributes.h"
#include "content/tiles.h"
#include "tests/runtime/sound/wave_builder.h"
#include "tests/support/map_writer.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Write(const fs::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    Write(folder, name, std::string(bytes.begin(), bytes.end()));
}

// A 21 x 16 two-layer level like the game's: a floor, the start marker, a bonus, an animated
// cell, and tilesets of each kind of name.
TestMap SmallLevel() {
    TestMap map(20, 15, 1);
    TestCell floor;
    floor.tile = 1;
    floor.attribute = kavro_content::kSolid;
    map.Fill(0, 12, 20, 15, 0, floor);
    TestCell start;
    start.tile = kavro_content::kStartMarkerTile;
    map.At(12, 11, 0) = start;
    TestCell coin;
    coin.tile = 3;
    coin.attribute = kavro_content::kBonus;
    coin.animated = 1;
    coin.first_frame = 3;
    coin.last_frame = 5;
    coin.anim_speed = 0.25f;
    map.At(14, 11, 1) = coin;
    TestCell glass;
    glass.tile = 7;
    glass.alpha = 100;
    map.At(2, 3, 1) = glass;
    map.tilesets = {"GFX\\tiles.png", "tiles.bmp", "gfx\\TILES.JPG", "missing.png"};
    map.info = "Seed level\r\nsecond line\nthird\r";
    return map;
}

void WriteMaps(const fs::path& folder) {
    const std::string level = SmallLevel().Bytes();
    Write(folder, "level.map", level);
    Write(folder, "cut_in_cells.map", level.substr(0, 14 + 15 * 100 + 7));
    Write(folder, "cut_in_names.map", level.substr(0, level.size() - 40));
    Write(folder, "header_only.map", std::string("LVD[20]"));
    Write(folder, "version_x1.map", std::string("LVD[X1]") + level.substr(7));
    Write(folder, "version_21.map", std::string("LVD[21]") + level.substr(7));
    Write(folder, "not_a_map.map", std::string("PK\x03\x04 not a level at all"));

    TestMap wide(300, 2, 0, 16);
    TestCell run;
    run.tile = 0;
    run.animated = 1;
    run.first_frame = 32000;
    run.last_frame = 32767;
    run.anim_speed = 1.0e30f;
    wide.Fill(0, 0, 300, 2, 0, run);
    wide.tilesets = {"GFX\\tiles.png"};
    Write(folder, "animated_extremes.map", wide.Bytes());

    // Negative speeds from the lowest first frame: the tile must not wrap round into a number.
    TestMap falling(20, 15, 0);
    TestCell down;
    down.tile = 1;
    down.animated = 1;
    down.first_frame = -32768;
    down.last_frame = 32767;
    down.anim_speed = -1.0e30f;
    falling.Fill(0, 0, 20, 15, 0, down);
    falling.tilesets = {"GFX\\tiles.bmp"};
    Write(folder, "animated_negative.map", falling.Bytes());

    // Names of every shape the file library resolves: wildcards where they are allowed and
    // where not, dot components, trailing dots and spaces, characters no name may hold, a
    // Windows-1252 letter, drive and root prefixes, either slash.
    TestMap names(20, 15, 0);
    names.Fill(0, 0, 20, 15, 0, TestCell{.tile = 0});
    names.tilesets = {
        "GFX\\t*s.png",       "GFX\\tiles.?mp", "G*X\\tiles.png",     "GFX\\..\\GFX\\.\\tiles.jpg",
        "gfx\\TILES.BMP. . ", "GFX\\a<b>.png",  "GFX\\\xE9t\xE9.png", "C:\\GFX\\tiles.png",
        "\\GFX\\tiles.png",   "GFX/tiles.png",  "GFX\\\\tiles.png"};
    Write(folder, "odd_names.map", names.Bytes());

    TestMap tiny(0, 0, 0, -32);
    tiny.tilesets = {};
    Write(folder, "negative_tile_size.map", tiny.Bytes());

    TestMap layers(3, 3, 5, 64);
    TestCell odd;
    odd.tile = -7;
    odd.alpha = -1;
    odd.first_frame = -5;
    odd.last_frame = -9;
    layers.Fill(0, 0, 3, 3, 5, odd);
    layers.tilesets = {"GFX\\tiles.bmp", "", "GFX\\tiles.bmp"};
    Write(folder, "six_layers.map", layers.Bytes());
}

void WriteSounds(const fs::path& folder) {
    Write(folder, "pcm8_mono.wav",
          WaveBuilder().Riff().Fmt(1, 8000, 8).Chunk("data", std::string(64, '\x80')).Bytes());
    Write(folder, "pcm16_stereo_list.wav",
          WaveBuilder()
              .Riff()
              .Fmt(2, 22050, 16, 18)
              .Chunk("LIST", std::string("INFOISFT\x05\0\0\0kavro", 17))
              .Chunk("fact", std::string(4, '\x10'))
              .Chunk("data", std::string(32, '\x01'))
              .Bytes());
    Write(folder, "odd_chunk.wav",
          WaveBuilder()
              .Riff()
              .Fmt(1, 11025, 8)
              .Chunk("junk", "abc")
              .Chunk("data", std::string(10, 'x'))
              .Bytes());
    Write(folder, "odd_list_padded.wav",
          WaveBuilder()
              .Riff()
              .Fmt(2, 22050, 16)
              .Chunk("LIST", std::string("INFOISFT\x05\0\0\0kavro", 17), true)
              .Chunk("data", std::string(16, '\x7F'))
              .Bytes());
    Write(folder, "extensible_pcm16_stereo.wav",
          WaveBuilder()
              .Riff()
              .Extensible(2, 44100, 16)
              .Chunk("LIST", std::string("INFOICMT\x03\0\0\0abc", 15), true)
              .Chunk("data", std::string(16, '\x02'))
              .Bytes());
    Write(folder, "extensible_float.wav",
          WaveBuilder().Riff().Extensible(1, 8000, 32, 3).Chunk("data", std::string(8, 0)).Bytes());
    Write(folder, "no_data.wav",
          WaveBuilder().Riff().Fmt(1, 8000, 16).Chunk("LIST", "nothing here").Bytes());
    Write(folder, "data_past_end.wav",
          WaveBuilder().Riff().Fmt(1, 44100, 16).ChunkHeader("data", 0xFFFFFFF0u).Bytes());
    // A fmt chunk of 4 bytes: shorter than any format description.
    Write(folder, "short_fmt.wav", std::string("RIFF\x10\0\0\0WAVEfmt \x04\0\0\0\x01\0\x01\0", 24));
}

void CopyImages(const fs::path& corpus) {
    for (const char* kind : {"bmp", "png", "jpeg"}) {
        for (const auto& entry : fs::directory_iterator(corpus / kind)) {
            fs::create_directories(corpus / "sprite");
            fs::copy_file(entry.path(), corpus / "sprite" / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_game_corpus <corpus folder>\n");
        return 1;
    }
    fs::path corpus = argv[1];
    WriteMaps(corpus / "map");
    WriteSounds(corpus / "sound");
    CopyImages(corpus);
    return 0;
}
