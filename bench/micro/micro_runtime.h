// The runtime the microbenchmarks run on, started once for the whole program the way the game
// starts it: the start-up chain, the screen library with a 640 x 480 x 32 screen, the quads,
// the PNG and JPEG decoders, the game's three pictures as sprites 100, 0 and 200, and the
// shipped level loaded from the run directory (its tiles are quads from 54650 on).
#pragma once
#include <cstdint>

// Starts everything; false (with a line on standard error) when the screen or level fail.
bool Micro_Start();
// Ends the program through the cleanup chain.
[[noreturn]] void Micro_End();
// Makes the backend complete the draws it holds back (each backend has its own file).
void Micro_FinishDraws();

// A tile quad of the shipped level: the tile of the stone cell in the bottom-left corner of
// layer 0 (fully opaque) and of a grass cell with its transparent top (colour-keyed).
int32_t Micro_StoneQuad();
int32_t Micro_GrassQuad();
