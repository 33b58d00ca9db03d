// Kills a process that is saving in a loop, many times, at varied moments: the save file must
// always hold one complete snapshot, and leftover temporary files must not disturb the next run.

#include "../audio/temp_folder.h"
#include "save/ini_snapshot.h"
#include "save/native_save.h"
#include "save_crash_snapshot.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace grumbo {
namespace {

int runAndKill(const std::string& target, double delaySeconds) {
    // The child is killed with SIGKILL only once it has written its first snapshot (or after
    // 30 seconds of waiting for it); paths are single-quoted for the shell.
    std::string command = "sh -c '\"$0\" \"$1\" & p=$!; i=0; "
                          "while [ ! -e \"$1.ready\" ] && [ $i -lt 3000 ]; do sleep 0.01; i=$((i+1)); done; "
                          "sleep \"$2\"; kill -KILL $p; wait $p 2>/dev/null; exit 0' '" SAVE_CRASH_CHILD
                          "' '" +
                          target + "' " + std::to_string(delaySeconds);
    return std::system(command.c_str());
}

TEST(AsyncSaveCrash, KilledWriterLeavesACompleteSnapshot) {
    test::TempFolder dir;
    const std::string target = (dir.path / "save.ini").string();
    ASSERT_EQ(target.find('\''), std::string::npos);
    std::uint32_t seed = 12345;
    int leftovers = 0;
    for (int run = 0; run < 25; ++run) {
        SCOPED_TRACE(run);
        std::filesystem::remove(target + ".ready");
        seed = seed * 1664525u + 1013904223u;
        double delay = static_cast<double>((seed >> 8) % 150) / 1000.0;
        ASSERT_EQ(runAndKill(target, delay), 0);

        AsyncSave reader;
        ASSERT_TRUE(reader.open(std::wstring(target.begin(), target.end()))) << reader.lastError();
        IniSnapshot ini;
        ini.parse(reader.latestSnapshot());
        const std::int32_t seq = ini.integer(L"Journey", L"Seq", -1);
        ASSERT_GE(seq, 0);
        ASSERT_EQ(reader.latestSnapshot(), test::crashSnapshot(seq));
        leftovers = static_cast<int>(dir.othersThan({"save.ini", "save.ini.ready"}).size());
    }
    // Temporary files a kill left behind are only ever skipped, never read or reused.
    RecordProperty("LeftoverTemporaryFiles", leftovers);
}

} // namespace
} // namespace grumbo
