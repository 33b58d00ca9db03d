// The Windows entry point: the same `App::launch` the other systems' `main` calls, with the
// command line after the program name as one UTF-8 text.

#include "app/app.h"
#include "platform/win32/win32_api.h"

#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), needed, nullptr, nullptr);
    out.pop_back();
    return out;
}

std::string commandLineAfterProgram() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::string commandLine;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        commandLine += i > 1 ? " " : "";
        commandLine += utf8(arguments[i]);
    }
    if (arguments != nullptr) {
        ::LocalFree(arguments);
    }
    return commandLine;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Window sizes are pixels: the system must not stretch the window behind the game's back.
    ::SetProcessDPIAware();
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int code = 0;
    {
        grumbo::App app;
        code = app.launch(commandLineAfterProgram());
    }
    if (SUCCEEDED(com)) {
        ::CoUninitialize();
    }
    return code;
}
