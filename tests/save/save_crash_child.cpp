// Writes one different save after another until it is killed. The crash test kills it at
// random moments and checks that the file on disk is always one complete snapshot.

#include "save/ini_snapshot.h"
#include "save/native_save.h"

#include <fstream>
#include <string>

namespace {

// Snapshot n: a Seq key, a count of keys that varies from one snapshot to the next (so a
// torn file would show up as a wrong count), and an End key last.
std::wstring snapshot(int n) {
    grumbo::IniSnapshot ini;
    const std::wstring value = std::to_wstring(n);
    ini.set(L"Journey", L"Seq", value);
    int keys = 10 + (n * 37) % 400;
    for (int k = 0; k < keys; ++k) {
        ini.set(k % 2 == 0 ? L"Journey" : L"Settings", L"Key" + std::to_wstring(k), value);
    }
    ini.set(L"Settings", L"End", value);
    return ini.serialize();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::string target = argv[1];
    grumbo::AsyncSave save;
    if (!save.open(std::wstring(target.begin(), target.end()))) {
        return 1;
    }
    save.enqueue(snapshot(0));
    save.flush();
    if (save.lastError() != 0) {
        return 1;
    }
    // Tells the test that a complete file exists, so every kill lands on a running writer.
    std::ofstream(target + ".ready") << "ready\n";
    for (int n = 1;; ++n) {
        save.enqueue(snapshot(n));
        // Every few snapshots pile up behind a running write, as they do in the game.
        if (n % 4 == 0) {
            save.flush();
        }
    }
}
