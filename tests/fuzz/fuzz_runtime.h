// The runtime as the fuzz targets beyond the decoders need it: the program frame and libraries
// started once, headless, with a scratch folder as the current directory for the files the
// targets write. The folder is removed when the process ends normally.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Program_Start, then the screen (Sprite_Init, Sprite3D_Init, a 640 x 480 x 32 screen) with the
// PNG and JPEG decoders registered as the game does, when `screen` is set. Aborts when any of it
// fails: a target that cannot reach its code would fuzz nothing.
void FuzzRuntime_Start(bool screen);
// The scratch folder (a host path) that is the current directory once started.
const std::string& FuzzRuntime_Folder();
// Writes `size` bytes to `name` in the scratch folder (replacing it).
void FuzzRuntime_WriteFile(const char* name, const uint8_t* data, size_t size);
