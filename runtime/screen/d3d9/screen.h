// The screen and buffer flip on Direct3D 9: starting the screen and sprite library, opening a
// full-screen or windowed screen, the scene bracket, the flip with its message pump and lost-
// device recovery, render targets, closing.
#pragma once
#include <cstdint>

#include "runtime/screen/screen.h"

int32_t Screen_BeginScene();
void Screen_EndScene();
void Screen_ApplyDefaultStates();
