// Fails the build if SDL's headers are visible to the game: only platform/host may see them.
#if __has_include(<SDL.h>)
#error "SDL headers are visible above platform/host"
#endif
