// The link-time wrappers of the instrumented deliverables: each forwards to the real operation
// (__real_...) and books the time spent in it to one part of the frame, or takes a note for
// the frame record. Symbols are the C++ names of the operations, as ld --wrap sees them.
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "bench/alloc_hooks.h"
#include "bench/probe_state.h"
#include "game/map/map_engine.h"
#include "platform/win32/heap_counts.h"

// The real operations.
void RealProgramStart() asm("__real__Z13Program_Startv");
[[noreturn]] void RealProgramEnd() asm("__real__Z11Program_Endv");
void RealGameStartUp(const char* backend) asm("__real__Z12Game_StartUpPKc");
bool RealGameFrame() asm("__real__Z10Game_Framev");
void RealSpriteDisplay(int32_t n, int32_t x, int32_t y) asm("__real__Z14Sprite_Displayiii");
int32_t RealSprite3DStart() asm("__real__Z14Sprite3D_Startv");
void RealSprite3DStop() asm("__real__Z13Sprite3D_Stopv");
int32_t RealMapDrawLayer(int32_t l, int32_t c, int32_t r) asm("__real__Z13Map_DrawLayeriii");
int32_t RealMapUpdateObject(int32_t i) asm("__real__Z16Map_UpdateObjecti");
void RealSpriteClip(int32_t n, int32_t x, int32_t y, int32_t w,
                    int32_t h) asm("__real__Z11Sprite_Clipiiiii");
void RealSpriteDisplayTransparent(int32_t n, int32_t x,
                                  int32_t y) asm("__real__Z25Sprite_DisplayTransparentiii");
void RealGameDisplayTexts() asm("__real__Z17Game_DisplayTextsv");
int32_t RealDrawingText(int32_t x, int32_t y, const char* t) asm("__real__Z12Drawing_TextiiPKc");
int32_t RealScreenFlip() asm("__real__Z11Screen_Flipv");
int32_t RealMapSetCellTile(int32_t x, int32_t y, int32_t layer,
                           int32_t value) asm("__real__Z15Map_SetCellTileiiii");

namespace {

constexpr int32_t kPlayerSprite = 100;

uint64_t HeapCalls() {
    const HeapCallCounts& c = Heap_CallCounts();
    return c.allocations + c.reallocations;
}

// Runs `call` with `phase` current, then returns to the part that was current before, so that
// nested operations (the creature's sprite inside Map_UpdateObject) book correctly.
template <typename F>
auto InPhase(BenchPhase phase, F call) {
    BenchPhase before = Probe_Enter(phase);
    if constexpr (std::is_void_v<decltype(call())>) {
        call();
        Probe_Enter(before);
    } else {
        auto result = call();
        Probe_Enter(before);
        return result;
    }
}

}  // namespace

void WrapProgramStart() asm("__wrap__Z13Program_Startv");
void WrapProgramStart() {
    ProbeState& p = Probe();
    p.main_ns = Probe_Now();
    if (const char* t0 = std::getenv(kBenchEnvSpawnTime))
        p.spawn_ns = std::strtoll(t0, nullptr, 10);
    RealProgramStart();
}

[[noreturn]] void WrapProgramEnd() asm("__wrap__Z11Program_Endv");
void WrapProgramEnd() {
    Probe_Enter(BenchPhase::kOther);
    Probe_WriteReport();
    RealProgramEnd();
}

void WrapGameStartUp(const char* backend) asm("__wrap__Z12Game_StartUpPKc");
void WrapGameStartUp(const char* backend) {
    ProbeState& p = Probe();
    // Room for every frame record before the first frame, so that logging never allocates.
    const char* frames = std::getenv(kBenchEnvFrames);
    long wanted = frames ? std::strtol(frames, nullptr, 10) : 0;
    if (wanted > 0 && wanted <= 10000000) p.log.reserve(static_cast<size_t>(wanted));
    p.startup_begin_ns = Probe_Now();
    const int64_t cpu = Probe_ThreadCpu();
    RealGameStartUp(backend);
    p.startup_cpu_ns = Probe_ThreadCpu() - cpu;
    p.startup_end_ns = Probe_Now();
}

bool WrapGameFrame() asm("__wrap__Z10Game_Framev");
bool WrapGameFrame() {
    ProbeState& p = Probe();
    p.pending = BenchFrameRecord{};
    p.pending.collected_column = p.pending.collected_row = -1;
    p.heap_before_frame = HeapCalls();
    p.malloc_before_frame = BenchAllocations();
    if (p.warm &&
        (p.heap_before_frame != p.heap_at_end || p.malloc_before_frame != p.malloc_at_end))
        ++p.allocating_gaps;
    Probe_Enter(BenchPhase::kOther);
    bool completed = RealGameFrame();
    Probe_Enter(BenchPhase::kOther);
    ++p.frames;
    p.last_frame_end_cpu_ns = Probe_ThreadCpu();
    if (p.log.size() < p.log.capacity())
        p.log.push_back(p.pending);
    else
        p.log_full = true;
    p.last_frame_end_ns = p.phase_since_ns;
    for (int i = 0; i < kBenchPhaseCount; ++i) p.phase_at_last_frame_ns[i] = p.phase_ns[i];
    if (p.warm &&
        (HeapCalls() != p.heap_before_frame || BenchAllocations() != p.malloc_before_frame)) {
        if (p.allocating_frames++ == 0) p.first_allocating_frame = p.frames;
    }
    p.heap_at_end = HeapCalls();
    p.malloc_at_end = BenchAllocations();
    if (!p.warm && p.frames >= kBenchWarmupFrames &&
        p.rate_line_changes >= kBenchWarmupRateChanges) {
        p.warm = true;
        p.steady_from_frame = p.frames + 1;
        p.heap_at_warmup = HeapCalls();
        p.malloc_at_warmup = BenchAllocations();
    }
    return completed;
}

void WrapSpriteDisplay(int32_t n, int32_t x, int32_t y) asm("__wrap__Z14Sprite_Displayiii");
void WrapSpriteDisplay(int32_t n, int32_t x, int32_t y) {
    ProbeState& p = Probe();
    p.pending.background_x = x;
    p.pending.background_y = y;
    InPhase(BenchPhase::kBackground, [&] { RealSpriteDisplay(n, x, y); });
}

// The tiles: from Sprite3D_Start to the end of Sprite3D_Stop, the two map layers between.
int32_t WrapSprite3DStart() asm("__wrap__Z14Sprite3D_Startv");
int32_t WrapSprite3DStart() {
    Probe_Enter(BenchPhase::kTiles);
    return RealSprite3DStart();
}

void WrapSprite3DStop() asm("__wrap__Z13Sprite3D_Stopv");
void WrapSprite3DStop() {
    RealSprite3DStop();
    Probe_Enter(BenchPhase::kOther);
}

int32_t WrapMapDrawLayer(int32_t l, int32_t c, int32_t r) asm("__wrap__Z13Map_DrawLayeriii");
int32_t WrapMapDrawLayer(int32_t l, int32_t c, int32_t r) {
    ProbeState& p = Probe();
    p.pending.first_column = Map_FirstColumn();
    p.pending.first_row = Map_FirstRow();
    p.pending.offset_x = Map_OffsetX();
    p.pending.offset_y = Map_OffsetY();
    int32_t drawn = InPhase(BenchPhase::kTiles, [&] { return RealMapDrawLayer(l, c, r); });
    p.pending.quads += drawn;
    return drawn;
}

int32_t WrapMapUpdateObject(int32_t i) asm("__wrap__Z16Map_UpdateObjecti");
int32_t WrapMapUpdateObject(int32_t i) {
    return InPhase(BenchPhase::kSprites, [&] { return RealMapUpdateObject(i); });
}

void WrapSpriteClip(int32_t n, int32_t x, int32_t y, int32_t w,
                    int32_t h) asm("__wrap__Z11Sprite_Clipiiiii");
void WrapSpriteClip(int32_t n, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (n == kPlayerSprite) {
        Probe().pending.player_clip_x = x;
        Probe().pending.player_clip_y = y;
    }
    InPhase(BenchPhase::kSprites, [&] { RealSpriteClip(n, x, y, w, h); });
}

void WrapSpriteDisplayTransparent(int32_t n, int32_t x,
                                  int32_t y) asm("__wrap__Z25Sprite_DisplayTransparentiii");
void WrapSpriteDisplayTransparent(int32_t n, int32_t x, int32_t y) {
    InPhase(BenchPhase::kSprites, [&] { RealSpriteDisplayTransparent(n, x, y); });
}

void WrapGameDisplayTexts() asm("__wrap__Z17Game_DisplayTextsv");
void WrapGameDisplayTexts() {
    InPhase(BenchPhase::kTexts, [] { RealGameDisplayTexts(); });
}

int32_t WrapDrawingText(int32_t x, int32_t y, const char* t) asm("__wrap__Z12Drawing_TextiiPKc");
int32_t WrapDrawingText(int32_t x, int32_t y, const char* t) {
    ProbeState& p = Probe();
    if (x == kBenchRateLineX && y == kBenchRateLineY && t) {
        if (p.rate_line_seen && std::strncmp(p.rate_line, t, sizeof(p.rate_line) - 1) != 0)
            ++p.rate_line_changes;
        std::strncpy(p.rate_line, t, sizeof(p.rate_line) - 1);
        p.rate_line_seen = true;
    }
    BenchFrameRecord& r = p.pending;
    if (r.text_count < kBenchTextLines) {
        BenchTextLine& line = r.texts[r.text_count++];
        line.x = static_cast<int16_t>(x);
        line.y = static_cast<int16_t>(y);
        line.length = static_cast<uint16_t>(t ? std::strlen(t) : 0);
    }
    return RealDrawingText(x, y, t);
}

int32_t WrapScreenFlip() asm("__wrap__Z11Screen_Flipv");
int32_t WrapScreenFlip() {
    ProbeState& p = Probe();
    int32_t result = InPhase(BenchPhase::kPresent, [] { return RealScreenFlip(); });
    ++p.presents;
    if (p.presents == 1) {
        p.first_present_ns = p.phase_since_ns;
        p.first_present_cpu_ns = Probe_ThreadCpu();
        p.startup_process_cpu_ns = Probe_ProcessCpu();
        p.frames_at_first_present = p.frames + 1;  // this frame ends after the flip
        for (int i = 0; i < kBenchPhaseCount; ++i) p.phase_at_first_present_ns[i] = p.phase_ns[i];
    }
    p.pending.presented = 1;
    return result;
}

// Bonus items are taken by emptying their layer 1 cell; the peer empties it too.
int32_t WrapMapSetCellTile(int32_t x, int32_t y, int32_t layer,
                           int32_t value) asm("__wrap__Z15Map_SetCellTileiiii");
int32_t WrapMapSetCellTile(int32_t x, int32_t y, int32_t layer, int32_t value) {
    if (layer == 1 && value == -1) {
        Probe().pending.collected_column = x;
        Probe().pending.collected_row = y;
    }
    return RealMapSetCellTile(x, y, layer, value);
}
