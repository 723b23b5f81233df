// The peer: the frame the game draws, drawn with SDL2's own software renderer as a developer
// would without our runtime. A 640 x 480 ARGB8888 surface under SDL_CreateSoftwareRenderer;
// per frame the 1024 x 768 background copied where the game puts it (no blending), every
// non-empty visible cell of both map layers as a 32 x 32 texture (blended, black transparent,
// alpha mod = the cell's opacity), the player's 28 x 32 frame from its sheet, seven opaque
// 16-pixel-high boxes where the texts go, and SDL_RenderPresent.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "bench/frame_record.h"

struct PeerTimes {
    int64_t total_ns = 0;
    int64_t cpu_ns = 0;  // processor time of the drawing thread
    int64_t phase_ns[kBenchPhaseCount] = {};
    uint64_t presents = 0;
    uint64_t quad_mismatches = 0;  // frames whose cell count differs from the game's
};

class PeerRenderer {
  public:
    PeerRenderer();
    ~PeerRenderer();
    PeerRenderer(const PeerRenderer&) = delete;
    PeerRenderer& operator=(const PeerRenderer&) = delete;

    // Loads the level and its tilesets from the run directory and the game's embedded
    // pictures. False with a message in `error` when anything is missing or malformed.
    bool Load(const std::string& run_dir, std::string* error);
    // Draws one frame per record, in order, from the level's first state; the times are those
    // of the frames after the first presented one.
    PeerTimes Run(const std::vector<BenchFrameRecord>& frames);
    // The surface's pixels after the last frame (ARGB8888, 640 x 480), for checks.
    std::vector<uint32_t> Pixels() const;

  private:
    struct Impl;
    Impl* impl_;
};
