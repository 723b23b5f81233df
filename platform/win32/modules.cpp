// Every run-time library this build can load, with what each exports. A stand-in joins the
// table when it exists; its `available` test says whether the host can back it.
#include <iterator>

#include "platform/d3d9/d3d9.h"
#include "platform/ddraw7/ddraw.h"
#include "platform/dinput/dinput.h"
#include "platform/dsound/dsound.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/loader.h"
#include "platform/win32/shell.h"

namespace {

template <typename F>
FARPROC Proc(F* f) {
    return reinterpret_cast<FARPROC>(f);
}

const ModuleExport kMsimg32[] = {{"AlphaBlend", Proc(&AlphaBlend)}};
const ModuleExport kComctl32[] = {{"DllGetVersion", Proc(&DllGetVersion)}};
const ModuleExport kUxtheme[] = {{"IsAppThemed", Proc(&IsAppThemed)}};
const ModuleExport kD3d9[] = {{"Direct3DCreate9", Proc(&Direct3DCreate9)}};
const ModuleExport kDdraw[] = {{"DirectDrawCreateEx", Proc(&DirectDrawCreateEx)}};
const ModuleExport kDinput[] = {{"DirectInputCreateEx", Proc(&DirectInputCreateEx)}};
const ModuleExport kDsound[] = {{"DirectSoundCreate", Proc(&DirectSoundCreate)}};

const ModuleEntry kModules[] = {
    {"msimg32.dll", nullptr, kMsimg32, std::size(kMsimg32)},
    {"comctl32.dll", nullptr, kComctl32, std::size(kComctl32)},
    {"uxtheme.dll", nullptr, kUxtheme, std::size(kUxtheme)},
    {"d3d9.dll", &D3D9_Available, kD3d9, std::size(kD3d9)},
    // Direct3D 7 lives inside it ("d3dim700.dll"): see IDirectDraw7::QueryInterface.
    {"ddraw.dll", &DDraw7_Available, kDdraw, std::size(kDdraw)},
    // The keyboard is always there: the desktop's, or the keyboard script's.
    {"dinput.dll", nullptr, kDinput, std::size(kDinput)},
    {"dsound.dll", &DirectSound_Available, kDsound, std::size(kDsound)},
};

}  // namespace

const ModuleEntry* Loader_Modules(size_t* count) {
    if (count) *count = std::size(kModules);
    return kModules;
}
