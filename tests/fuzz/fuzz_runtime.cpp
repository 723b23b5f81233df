// Starts the runtime once per fuzz process and keeps a scratch folder for the targets' files.
#include "tests/fuzz/fuzz_runtime.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "runtime/core/program.h"
#include "runtime/image/image_decoder.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"

namespace {

std::string& Folder() {
    static std::string folder;
    return folder;
}

void RemoveFolder() {
    std::error_code ignored;
    if (!Folder().empty()) std::filesystem::remove_all(Folder(), ignored);
}

[[noreturn]] void Die(const char* what) {
    std::fprintf(stderr, "fuzz target set-up failed: %s\n", what);
    std::abort();
}

}  // namespace

void FuzzRuntime_Start(bool screen) {
    // Never a window or a sound device of the desktop, whatever the caller's environment says.
    setenv("KAVRO_HEADLESS", "1", 1);
    // In memory where the system has a memory file system: a file rewritten for every input
    // would otherwise be flushed to disk each time it is closed.
    std::error_code error;
    const bool in_memory = std::filesystem::is_directory("/dev/shm", error);
    std::string name = std::string(in_memory ? "/dev/shm" : "/tmp") + "/kavro-fuzz-XXXXXX";
    if (!mkdtemp(name.data())) Die("no scratch folder");
    Folder() = name;
    std::atexit(&RemoveFolder);
    if (chdir(name.c_str()) != 0) Die("cannot enter the scratch folder");
    Program_Start();
    if (!screen) return;
    if (!Sprite_Init()) Die("Sprite_Init");
    if (!Sprite3D_Init()) Die("Sprite3D_Init");
    if (!Screen_Open(640, 480, 32, "fuzz", 0)) Die("Screen_Open");
    ImageDecoder_UsePng();
    ImageDecoder_UseJpeg();
}

const std::string& FuzzRuntime_Folder() {
    return Folder();
}

void FuzzRuntime_WriteFile(const char* name, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(name, "wb");
    if (!f) Die("cannot write into the scratch folder");
    if (size > 0 && std::fwrite(data, 1, size, f) != size) Die("short write");
    std::fclose(f);
}
