#include "platform/process.h"
#include "platform/win32/win32_api.h"

namespace grumbo {

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

} // namespace

ProcessSession::ProcessSession() {
    ::SetProcessDPIAware();
    comStarted = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ProcessSession::~ProcessSession() {
    if (comStarted) {
        ::CoUninitialize();
    }
}

std::string commandLineText(int, char**) {
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

} // namespace grumbo
