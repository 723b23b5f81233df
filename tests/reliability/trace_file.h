// Reading a KAVRO_TRACE file: the presents, the texts drawn before each, message boxes and the
// lines of injected faults, with the game's score read back from its texts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct TraceFrame {
    uint32_t present = 0;  // the present that ended it (0: drawn but never presented)
    int64_t score = -1;    // the SCORE text drawn in it, -1 when none
    int32_t body = -1;     // the read-outs of the body and feet probes ("1 Bonus", "2 drunter")
    int32_t feet = -1;
};

struct Trace {
    std::vector<std::string> lines;
    uint32_t presents = 0;
    // Every frame whose texts were drawn, in order, whether presented or not.
    std::vector<TraceFrame> frames;
    std::vector<std::string> messages;  // "FLAGS CAPTION<TAB>TEXT"
};

Trace ReadTrace(const std::string& path);

// Index of the first line equal to `line`, or -1.
int64_t FindLine(const Trace& trace, const std::string& line);
// The score shown at each present, in present order (index 0 = present 1).
std::vector<int64_t> ScoresAtPresents(const Trace& trace);
// Frames whose texts were drawn but that were never presented.
int64_t UnpresentedFrames(const Trace& trace);
