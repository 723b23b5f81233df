// Parsing trace files into frames: each "present N" closes the frame whose texts came before it.
#include "tests/reliability/trace_file.h"

#include <cstdlib>
#include <fstream>

namespace {

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

}  // namespace

Trace ReadTrace(const std::string& path) {
    Trace trace;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    TraceFrame frame;
    bool open = false;
    auto close_frame = [&](uint32_t present) {
        frame.present = present;
        trace.frames.push_back(frame);
        frame = TraceFrame{};
        open = false;
    };
    while (std::getline(in, line)) {
        trace.lines.push_back(line);
        if (StartsWith(line, "present ")) {
            trace.presents = static_cast<uint32_t>(std::strtoul(line.c_str() + 8, nullptr, 10));
            if (open) close_frame(trace.presents);
        } else if (StartsWith(line, "message ")) {
            trace.messages.push_back(line.substr(8));
        } else if (StartsWith(line, "text 500 1 ")) {
            // The first text of a frame: a frame drawn before it that never presented ends here.
            if (open) close_frame(0);
            open = true;
        } else if (StartsWith(line, "text 10 10 SCORE ")) {
            frame.score = std::atoll(line.c_str() + 17);
        } else if (StartsWith(line, "text 10 30 1 Bonus  ")) {
            frame.body = std::atoi(line.c_str() + 20);
        } else if (StartsWith(line, "text 10 50 2 drunter")) {
            frame.feet = std::atoi(line.c_str() + 20);
        }
    }
    if (open) close_frame(0);
    return trace;
}

int64_t FindLine(const Trace& trace, const std::string& line) {
    for (size_t i = 0; i < trace.lines.size(); ++i) {
        if (trace.lines[i] == line) return static_cast<int64_t>(i);
    }
    return -1;
}

std::vector<int64_t> ScoresAtPresents(const Trace& trace) {
    std::vector<int64_t> scores;
    for (const TraceFrame& f : trace.frames) {
        if (f.present != 0) scores.push_back(f.score);
    }
    return scores;
}

int64_t UnpresentedFrames(const Trace& trace) {
    int64_t frames = 0;
    for (const TraceFrame& f : trace.frames) frames += f.present == 0 ? 1 : 0;
    return frames;
}
