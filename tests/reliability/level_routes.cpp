// The routes over "Kavro Hills", found by playing the level with traces of the probes: frame
// numbers are relative to the start of each loop.
#include "tests/reliability/level_routes.h"

#include <vector>

namespace {

struct Press {
    uint32_t first;
    uint32_t last;
    const char* keys;
};

struct Loop {
    uint32_t length;  // frames, including standing at the start after the death
    std::vector<Press> presses;
};

// Each variant releases every key before its death, so the next loop starts from the start
// marker with the player standing still.
const std::vector<Loop>& Loops() {
    static const std::vector<Loop> loops = {
        {300, {{1, 240, "Right"}}},
        {1200,
         {{1, 298, "Right"},
          {222, 222, "Space"},
          {760, 859, "Up"},
          {980, 1136, "Right"},
          {1040, 1040, "Space"}}},
        {1450,
         {{1, 298, "Right"}, {222, 222, "Space"}, {760, 1000, "Left"}, {1040, 1362, "Right"}}},
        {1600,
         {{1, 298, "Right"},
          {222, 222, "Space"},
          {760, 1100, "Left"},
          {1000, 1000, "Space"},
          {1140, 1540, "Right"}}},
    };
    return loops;
}

void Add(std::string& script, uint32_t base, const Press& p) {
    script.append(std::to_string(base + p.first));
    if (p.last != p.first) script.append("-").append(std::to_string(base + p.last));
    script.append(" ").append(p.keys).append("\n");
}

}  // namespace

SoakRoute MakeSoakRoute(uint32_t frames) {
    SoakRoute route;
    route.frames = frames;
    route.script = "# Soak route over Kavro Hills: walk, jump, climb, collect, die; repeated.\n";
    uint32_t base = 0;
    for (size_t i = 0;; ++i) {
        const Loop& loop = Loops()[i % Loops().size()];
        if (base + loop.length >= frames) break;
        for (const Press& p : loop.presses) Add(route.script, base, p);
        base += loop.length;
        ++route.loops;
    }
    route.script.append(std::to_string(frames)).append(" Escape\n");
    return route;
}

std::string WalkIntoSpikes(uint32_t escape_frame) {
    std::string script;
    Add(script, 0, Loops()[0].presses[0]);
    script.append(std::to_string(escape_frame)).append(" Escape\n");
    return script;
}
