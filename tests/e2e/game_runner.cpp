// Process handling, trace parsing and PNG reading for the end-to-end tests.
#include "tests/e2e/game_runner.h"

#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

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

// The exit code, or -1 when the process was killed or did not end in time (it is then killed).
int WaitFor(pid_t pid, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
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

std::vector<std::string> CleanEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("KAVRO_", 0) == 0 || entry.rfind("DISPLAY=", 0) == 0 ||
            entry.rfind("WAYLAND_DISPLAY=", 0) == 0)
            continue;
        // A setting the run gives itself replaces the inherited one (the first would win).
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool overridden = false;
        for (const std::string& x : extra) overridden = overridden || x.rfind(name, 0) == 0;
        if (overridden) continue;
        env.push_back(entry);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

GameRun RunGame(const std::string& exe, const fs::path& dir, const RunOptions& options) {
    GameRun run;
    const fs::path out = dir / "out";
    fs::remove_all(out);
    fs::create_directories(out);
    std::ofstream(out / "keys.txt") << options.keys;
    std::vector<std::string> extra = options.environment;
    auto set = [&extra](const std::string& name, const std::string& value) {
        for (const std::string& x : extra)
            if (x.rfind(name + "=", 0) == 0) return;
        extra.push_back(name + "=" + value);
    };
    set("KAVRO_KEYS", (out / "keys.txt").string());
    set("KAVRO_TRACE", (out / "trace.txt").string());
    if (options.headless) set("KAVRO_HEADLESS", "1");
    if (!options.capture_frames.empty()) {
        set("KAVRO_CAPTURE", (out / "frames").string());
        set("KAVRO_CAPTURE_FRAMES", options.capture_frames);
    }
    const std::vector<std::string> env = CleanEnvironment(extra);

    std::vector<char*> argv = {const_cast<char*>(exe.c_str()), nullptr};
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    const std::string errors = (out / "stderr.txt").string();
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;
    if (options.while_running) options.while_running(pid, out);
    run.exit_code = WaitFor(pid, options.time_limit_seconds);

    run.errors = ReadText(errors);
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
