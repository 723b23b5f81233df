// The deliverables the reliability tests run, and how to run one headless in a folder: a
// keyboard script, a trace file and further KAVRO_* settings; and the note that names a
// deliverable which presents nothing when its tests fail.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tests/reliability/sanitizer_report.h"
#include "tests/reliability/scratch_folder.h"
#include "tests/support/child_process.h"

struct Deliverable {
    std::string name;     // "kavro-dx9"
    std::string program;  // path of the executable
    std::string backend;  // "DX 9" as the game shows it
};

const std::vector<Deliverable>& Deliverables();
const Deliverable& DeliverableNamed(const std::string& name);
// The deliverables' names, for parameterised tests.
std::vector<std::string> DeliverableNames();
// "kavro_dx9": a deliverable's name as a test name part.
std::string TestNameOf(const std::string& name);

// True when a run with "1 Escape" on the shipped level presents a frame; asked once per process.
bool PlaysTheGame(const Deliverable& deliverable);

// Held through a test of a deliverable: when the test has failed and the deliverable presents
// nothing at all, one more failure says so, so that a broken executable is named as the cause.
// Costs nothing while the test passes.
class PresentsNothingNote {
  public:
    explicit PresentsNothingNote(const Deliverable& deliverable) : deliverable_(deliverable) {}
    ~PresentsNothingNote();
    PresentsNothingNote(const PresentsNothingNote&) = delete;
    PresentsNothingNote& operator=(const PresentsNothingNote&) = delete;

  private:
    const Deliverable& deliverable_;
};

// One headless run in `folder`: `keys` is written there as the keyboard script, the trace goes
// to trace.txt and standard error to stderr.txt there, and `settings` are added (replacing the
// defaults of the same name).
struct GameRun {
    ChildResult result;
    std::string trace_path;
};
GameRun RunGame(const Deliverable& deliverable, const ScratchFolder& folder,
                const std::string& keys,
                const std::vector<std::pair<std::string, std::string>>& settings = {},
                int timeout_seconds = 120, double sample_every_seconds = 0);

// The window caption of a deliverable's messages, as standard error shows it (UTF-8).
std::string CaptionPrefix(const Deliverable& deliverable);
