// The shared DirectInput object of keyboard and joysticks.
#include "runtime/input/direct_input.h"

#include "platform/win32/loader.h"
#include "runtime/core/program.h"

namespace {
DirectInputShared g_direct_input;

using CreateProc = HRESULT (*)(HINSTANCE, DWORD, REFIID, LPVOID*, void*);
}  // namespace

IDirectInput7A* DirectInput_Acquire() {
    DirectInputShared& s = g_direct_input;
    if (!s.direct_input) {
        HMODULE library = LoadLibraryA("DINPUT.DLL");
        auto create =
            library ? reinterpret_cast<CreateProc>(GetProcAddress(library, "DirectInputCreateEx"))
                    : nullptr;
        void* object = nullptr;
        if (create &&
            create(Program_Globals().module_handle, 0x0700, IID_IDirectInput7A, &object, nullptr) ==
                DI_OK &&
            object) {
            s.direct_input = static_cast<IDirectInput7A*>(object);
            s.library = library;
        } else if (library) {
            // Nothing was made from it: keeping it loaded would hold a reference nobody drops.
            FreeLibrary(library);
        }
    }
    ++s.users;
    return s.direct_input;
}

void DirectInput_Release() {
    DirectInputShared& s = g_direct_input;
    if (s.users > 0) --s.users;
    if (s.direct_input && s.users == 0) {
        s.direct_input->Release();
        s.direct_input = nullptr;
        if (s.library) FreeLibrary(s.library);
        s.library = nullptr;
    }
}

const DirectInputShared& DirectInput_Shared() {
    return g_direct_input;
}
