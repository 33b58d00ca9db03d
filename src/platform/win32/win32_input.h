// The input hardware on Win32: keys from GetAsyncKeyState, pads through XInput loaded at run
// time, legacy joysticks through the WinMM joystick functions.
#pragma once

#include "platform/input_devices.h"
#include "platform/win32/win32_api.h"

namespace grumbo {

// The XInput library the pads are read through, found at run time so that a system
// without one still starts.
struct XInputLibrary {
    HMODULE module = nullptr;
    // Index into the name list of the library that loaded, or -1.
    int loadedName = -1;
    DWORD(WINAPI* getState)(DWORD, void*) = nullptr;
    DWORD(WINAPI* setState)(DWORD, void*) = nullptr;
};

// The names XInput is tried under, newest first.
extern const wchar_t* const XINPUT_LIBRARY_NAMES[3];

// Loads the first of `names` that exists and exports "XInputGetState"; "XInputSetState" is
// optional. Release with `unloadXInput`.
XInputLibrary loadXInput(const wchar_t* const* names, int count);
void unloadXInput(XInputLibrary& library);

} // namespace grumbo
