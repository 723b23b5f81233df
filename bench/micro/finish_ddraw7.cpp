// Micro_FinishDraws on DirectDraw 7: its blits and quads are held back until something needs
// the back buffer's pixels, and a lock of it is such a thing.
#include "bench/micro/micro_runtime.h"
#include "runtime/screen/ddraw7/screen_state.h"

void Micro_FinishDraws() {
    IDirectDrawSurface7* back = Screen_State().backBuffer;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    if (back && back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) == DD_OK) back->Unlock(nullptr);
}
