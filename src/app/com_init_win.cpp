#include "app/com_init_win.h"

#include "util/os_error.h"

#include <windows.h>

#include <objbase.h>

TComInitialization::TComInitialization() {
    // S_FALSE (already initialised on this thread) also counts, and is balanced like S_OK.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result)) {
        throw MakeOSError(static_cast<std::uint32_t>(result));
    }
}

TComInitialization::~TComInitialization() {
    CoUninitialize();
}
