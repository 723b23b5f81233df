// Every run-time library this build can load, with what each exports. A stand-in joins the
// table when it exists; its `available` test says whether the host can back it.
#include <iterator>

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

const ModuleEntry kModules[] = {
    {"msimg32.dll", nullptr, kMsimg32, std::size(kMsimg32)},
    {"comctl32.dll", nullptr, kComctl32, std::size(kComctl32)},
    {"uxtheme.dll", nullptr, kUxtheme, std::size(kUxtheme)},
};

}  // namespace

const ModuleEntry* Loader_Modules(size_t* count) {
    if (count) *count = std::size(kModules);
    return kModules;
}
