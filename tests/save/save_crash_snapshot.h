#pragma once

#include "save/ini_snapshot.h"

#include <string>

namespace grumbo::test {

// Snapshot n of the crash test: a Seq key, a count of keys that varies from one snapshot to the
// next (so a torn file would show up as a wrong count), and an End key last.
inline std::wstring crashSnapshot(int n) {
    IniSnapshot ini;
    const std::wstring value = std::to_wstring(n);
    ini.set(L"Journey", L"Seq", value);
    const int keys = 10 + (n * 37) % 400;
    for (int k = 0; k < keys; ++k) {
        ini.set(k % 2 == 0 ? L"Journey" : L"Settings", L"Key" + std::to_wstring(k), value);
    }
    ini.set(L"Settings", L"End", value);
    return ini.serialize();
}

} // namespace grumbo::test
