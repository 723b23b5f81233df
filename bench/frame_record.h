// What the instrumented deliverable hands to the frame benchmark: one record per frame (enough
// for the peer renderer to draw the same frame) and the names of the figures in its report. Shared
// by the probe inside the deliverable and the benchmark that reads it.
#pragma once
#include <cstdint>

constexpr int kBenchTextLines = 7;

struct BenchTextLine {
    int16_t x, y;     // top-left of the text cell
    uint16_t length;  // characters drawn (8 pixels each in the system font)
};

struct BenchFrameRecord {
    int32_t presented;                   // 0: a level restart cut the frame short
    int32_t background_x, background_y;  // where the background sprite was drawn
    int32_t first_column, first_row;     // the map view after Map_SetPosition
    int32_t offset_x, offset_y;
    int32_t quads;                         // tile quads the two layers drew
    int32_t player_clip_x, player_clip_y;  // the player's frame in its sheet
    int32_t collected_column;              // a bonus item taken after the layers were drawn
    int32_t collected_row;                 // (its layer 1 cell emptied), or -1
    int32_t text_count;
    BenchTextLine texts[kBenchTextLines];
};

// The parts of a frame that the benchmark times separately. A backend that holds draws back
// and does them together (both stand-ins, when the texts need the back buffer) has that
// drawing booked as its own part, wherever in the frame it happens.
enum class BenchPhase : int {
    kOther,
    kBackground,
    kTiles,
    kSprites,
    kTexts,
    kPresent,
    kHeldBack,
    kCount
};
constexpr int kBenchPhaseCount = static_cast<int>(BenchPhase::kCount);
inline const char* BenchPhaseName(BenchPhase p) {
    static const char* const kNames[] = {"other", "background", "tiles",    "sprites",
                                         "texts", "present",    "held_back"};
    return kNames[static_cast<int>(p)];
}

// Environment of the instrumented deliverable (set by the frame benchmark).
constexpr const char* kBenchEnvReport = "KAVRO_BENCH_REPORT";  // file for the report
constexpr const char* kBenchEnvLog = "KAVRO_BENCH_LOG";        // file for the frame records
constexpr const char* kBenchEnvSpawnTime = "KAVRO_BENCH_T0";   // CLOCK_MONOTONIC ns at spawn
constexpr const char* kBenchEnvFrames = "KAVRO_BENCH_FRAMES";  // records to make room for

// The steady state starts once the frame-rate line shows a whole second's count (its second
// change: the first shows the part of a second after start-up), and not before frame 100:
// by then every buffer has its size.
constexpr uint64_t kBenchWarmupFrames = 100;
constexpr int kBenchWarmupRateChanges = 2;
// Where the frame-rate line is drawn.
constexpr int32_t kBenchRateLineX = 500;
constexpr int32_t kBenchRateLineY = 1;
