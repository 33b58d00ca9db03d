#include "platform/win32/win32_input.h"

#include "platform/win32/win32_api.h"

#include <array>
#include <iterator>

namespace grumbo {

const wchar_t* const XINPUT_LIBRARY_NAMES[3] = {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"};

namespace {

// Virtual-key codes in the order of `Key`.
constexpr int VIRTUAL_KEYS[] = {
    VK_UP,      VK_DOWN,      VK_LEFT,      VK_RIGHT,      VK_SPACE,   VK_ESCAPE,  VK_RETURN,  VK_SHIFT,
    VK_TAB,     VK_F11,       'A',          'D',           'W',        'S',        'J',        'X',
    'E',        'Q',          'R',          'M',           '1',        '2',        '3',        '4',
    '5',        '6',          '7',          '8',           '9',        '0',        'B',        'C',
    'F',        'G',          'H',          'I',           'K',        'L',        'N',        'O',
    'P',        'T',          'U',          'V',           'Y',        'Z',        VK_F1,      VK_F2,
    VK_F3,      VK_F4,        VK_F5,        VK_F6,         VK_F7,      VK_F8,      VK_F9,      VK_F10,
    VK_F12,     VK_CONTROL,   VK_MENU,      VK_BACK,       VK_INSERT,  VK_DELETE,  VK_HOME,    VK_END,
    VK_PRIOR,   VK_NEXT,      VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2,   VK_OEM_1,   VK_OEM_7,   VK_OEM_4,
    VK_OEM_6,   VK_OEM_MINUS, VK_OEM_PLUS,  VK_OEM_5,      VK_OEM_3,   VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD2,
    VK_NUMPAD3, VK_NUMPAD4,   VK_NUMPAD5,   VK_NUMPAD6,    VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9};
static_assert(std::size(VIRTUAL_KEYS) == KEY_COUNT);

class Win32InputDevices final : public InputDevices {
  public:
    Win32InputDevices() : xinput(loadXInput(XINPUT_LIBRARY_NAMES, 3)) {}
    ~Win32InputDevices() override { unloadXInput(xinput); }
    Win32InputDevices(const Win32InputDevices&) = delete;
    Win32InputDevices& operator=(const Win32InputDevices&) = delete;

    std::uint64_t nowMs() override { return ::GetTickCount64(); }

    bool keyDown(Key key) override {
        const auto index = static_cast<std::size_t>(key);
        return index < std::size(VIRTUAL_KEYS) && (::GetAsyncKeyState(VIRTUAL_KEYS[index]) & 0x8000) != 0;
    }

    bool hasPads() override { return xinput.getState != nullptr; }
    bool hasPadRumble() override { return xinput.setState != nullptr; }

    bool readPad(int slot, PadState& state) override {
        if (xinput.getState == nullptr || slot < 0 || slot >= PAD_SLOTS) {
            return false;
        }
        XINPUT_STATE raw{};
        if (xinput.getState(static_cast<DWORD>(slot), &raw) != ERROR_SUCCESS) {
            return false;
        }
        state.buttons = raw.Gamepad.wButtons;
        state.thumbLX = raw.Gamepad.sThumbLX;
        state.thumbLY = raw.Gamepad.sThumbLY;
        return true;
    }

    void setPadRumble(int slot, std::uint16_t left, std::uint16_t right) override {
        if (xinput.setState == nullptr || slot < 0 || slot >= PAD_SLOTS) {
            return;
        }
        XINPUT_VIBRATION vibration{};
        vibration.wLeftMotorSpeed = left;
        vibration.wRightMotorSpeed = right;
        xinput.setState(static_cast<DWORD>(slot), &vibration);
    }

    int joystickCount() override { return static_cast<int>(std::min<UINT>(::joyGetNumDevs(), 16)); }

    bool readJoystick(int id, JoystickState& state) override {
        JOYINFOEX info{};
        info.dwSize = sizeof(info);
        info.dwFlags = JOY_RETURNALL;
        if (id < 0 || ::joyGetPosEx(static_cast<UINT>(id), &info) != JOYERR_NOERROR) {
            return false;
        }
        state.x = info.dwXpos;
        state.y = info.dwYpos;
        state.buttons = info.dwButtons;
        state.hat = info.dwPOV > 35999 ? HAT_CENTERED : info.dwPOV;
        return true;
    }

    bool readJoystickRanges(int id, JoystickRanges& ranges) override {
        JOYCAPSW caps{};
        if (id < 0 || ::joyGetDevCapsW(static_cast<UINT_PTR>(id), &caps, sizeof(caps)) != JOYERR_NOERROR) {
            return false;
        }
        ranges.xMin = caps.wXmin;
        ranges.xMax = caps.wXmax;
        ranges.yMin = caps.wYmin;
        ranges.yMax = caps.wYmax;
        return true;
    }

  private:
    XInputLibrary xinput;
};

} // namespace

XInputLibrary loadXInput(const wchar_t* const* names, int count) {
    XInputLibrary library;
    for (int i = 0; i < count; ++i) {
        HMODULE module = ::LoadLibraryW(names[i]);
        if (module == nullptr) {
            continue;
        }
        // GetProcAddress hands back a generic pointer; the cast names the real signature.
        auto getState = reinterpret_cast<DWORD(WINAPI*)(DWORD, void*)>(
            reinterpret_cast<void*>(::GetProcAddress(module, "XInputGetState")));
        if (getState == nullptr) {
            ::FreeLibrary(module);
            continue;
        }
        library.module = module;
        library.loadedName = i;
        library.getState = getState;
        library.setState = reinterpret_cast<DWORD(WINAPI*)(DWORD, void*)>(
            reinterpret_cast<void*>(::GetProcAddress(module, "XInputSetState")));
        break;
    }
    return library;
}

void unloadXInput(XInputLibrary& library) {
    if (library.module != nullptr) {
        ::FreeLibrary(library.module);
    }
    library = XInputLibrary{};
}

std::unique_ptr<InputDevices> createInputDevices() {
    return std::make_unique<Win32InputDevices>();
}

} // namespace grumbo
