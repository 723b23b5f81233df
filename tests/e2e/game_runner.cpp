// Runs of the deliverables for the end-to-end tests: the trace parsed, the frames read.
#include "tests/e2e/game_runner.h"

#include <png.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "tests/support/child_process.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The number after a label at the start of `text`, e.g. "SCORE " in "SCORE 100".
bool NumberAfter(const std::string& text, const std::string& label, int& value) {
    if (text.rfind(label, 0) != 0 || text.size() == label.size()) return false;
    const std::string digits = text.substr(label.size());
    size_t used = 0;
    try {
        value = std::stoi(digits, &used);
    } catch (...) {
        return false;
    }
    return used == digits.size();
}

}  // namespace

Picture ReadPicture(const fs::path& file) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(pixels);
    return picture;
}

Hud GameRun::HudOf(int present) const {
    Hud hud;
    if (present < 1 || present > static_cast<int>(texts.size())) return hud;
    int found = 0;
    for (const std::string& line : texts[present - 1]) {
        auto at = [&](const char* place, const char* label, int& value) {
            const std::string prefix = place;
            if (line.rfind(prefix, 0) == 0 && NumberAfter(line.substr(prefix.size()), label, value))
                ++found;
        };
        if (line.rfind("500 1 ", 0) == 0) {
            hud.top = line.substr(6);
            ++found;
        }
        at("10 10 ", "SCORE ", hud.score);
        at("10 30 ", "1 Bonus  ", hud.body);
        at("10 50 ", "2 drunter", hud.feet);
        at("10 70 ", "2 Kopf   ", hud.head);
        at("10 100 ", "--> ", hud.slope_base);
        at("10 130 ", "--> ", hud.tile_row);
    }
    hud.complete = found == 7 && texts[present - 1].size() == 7;
    return hud;
}

std::vector<std::string> FileLines(const fs::path& file) {
    return Lines(ReadText(file));
}

std::string DeliverablePath(const std::string& name) {
    return (fs::path(KAVRO_E2E_RUN_DIR) / name).string();
}

fs::path ScratchDirectory(const std::string& name) {
    fs::path dir =
        fs::temp_directory_path() / ("kavro-e2e-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

GameRun RunGame(const std::string& exe, const fs::path& dir, const RunOptions& options) {
    GameRun run;
    const fs::path out = dir / "out";
    fs::remove_all(out);
    fs::create_directories(out);
    std::ofstream(out / "keys.txt") << options.keys;
    ChildOptions child;
    child.program = exe;
    child.folder = dir.string();
    child.settings = {{"KAVRO_KEYS", (out / "keys.txt").string()},
                      {"KAVRO_TRACE", (out / "trace.txt").string()}};
    if (options.headless) child.settings.emplace_back("KAVRO_HEADLESS", "1");
    if (!options.capture_frames.empty()) {
        child.settings.emplace_back("KAVRO_CAPTURE", (out / "frames").string());
        child.settings.emplace_back("KAVRO_CAPTURE_FRAMES", options.capture_frames);
    }
    // The test's own settings come last, so they replace the ones above.
    for (const std::string& setting : options.environment) {
        const size_t equals = setting.find('=');
        child.settings.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
    }
    child.error_file = (out / "stderr.txt").string();
    child.time_limit_seconds = options.time_limit_seconds;
    if (options.while_running)
        child.while_running = [&options, &out](pid_t pid) { options.while_running(pid, out); };
    const ChildResult result = RunChild(child);
    if (!result.started) return run;
    run.exit_code = result.exit_code;
    run.errors = result.error_output;
    run.trace = Lines(ReadText(out / "trace.txt"));
    std::vector<std::string> pending;
    for (const std::string& line : run.trace) {
        if (line.rfind("text ", 0) == 0) {
            pending.push_back(line.substr(5));
        } else if (line.rfind("present ", 0) == 0) {
            run.texts.push_back(pending);
            pending.clear();
            run.presents = std::stoi(line.substr(8));
        } else if (line.rfind("message ", 0) == 0) {
            run.messages.push_back(line.substr(8));
        }
    }
    if (fs::exists(out / "frames")) {
        for (const auto& entry : fs::directory_iterator(out / "frames")) {
            const std::string name = entry.path().filename().string();  // frame-NNNNNN.png
            if (name.size() != 16 || name.rfind("frame-", 0) != 0) continue;
            run.frames[std::stoi(name.substr(6, 6))] = ReadPicture(entry.path());
        }
    }
    return run;
}
