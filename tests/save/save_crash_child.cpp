// Writes one different save after another until it is killed. The crash test kills it at
// random moments and checks that the file on disk is always one complete snapshot.

#include "save/native_save.h"
#include "save_crash_snapshot.h"

#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::string target = argv[1];
    grumbo::AsyncSave save;
    if (!save.open(std::wstring(target.begin(), target.end()))) {
        return 1;
    }
    save.enqueue(grumbo::test::crashSnapshot(0));
    save.flush();
    if (save.lastError() != 0) {
        return 1;
    }
    // Tells the test that a complete file exists, so every kill lands on a running writer.
    std::ofstream(target + ".ready") << "ready\n";
    for (int n = 1;; ++n) {
        save.enqueue(grumbo::test::crashSnapshot(n));
        // Every few snapshots pile up behind a running write, as they do in the game.
        if (n % 4 == 0) {
            save.flush();
        }
    }
}
