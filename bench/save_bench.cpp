// What one save costs the window thread (parse, set, serialize, enqueue) and what the worker
// spends per snapshot (encode, then a durable write with fsync and rename).

#include "platform/files.h"
#include "save/ini_snapshot.h"
#include "save/native_save.h"
#include "save/save_text.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

// A save the size the game writes: two sections, about twenty keys.
std::wstring typicalSave(int level) {
    grumbo::IniSnapshot ini;
    ini.set(L"Journey", L"Level", std::to_wstring(level));
    ini.set(L"Journey", L"Subscribers", L"123456");
    ini.set(L"Journey", L"HighestLevel", L"7");
    ini.set(L"Journey", L"Collected", std::wstring(120, L'1'));
    ini.set(L"Journey", L"Defeated", std::wstring(40, L'0'));
    for (int i = 0; i < 8; ++i) {
        ini.set(L"Journey", L"Value" + std::to_wstring(i), std::to_wstring(i * 1000));
    }
    const wchar_t* settings[] = {L"Muted",   L"VoiceClips",     L"Shake",   L"Music",
                                 L"Effects", L"AutoFullscreen", L"IPJokes", L"Resolution"};
    for (const wchar_t* key : settings) {
        ini.set(L"Settings", key, L"1");
    }
    return ini.serialize();
}

void BM_IniPersistCycle(benchmark::State& state) {
    const std::wstring last = typicalSave(3);
    int level = 0;
    for (auto _ : state) {
        grumbo::IniSnapshot ini;
        ini.parse(last);
        ini.set(L"Journey", L"Level", std::to_wstring(++level % 10));
        ini.set(L"Settings", L"Muted", L"0");
        benchmark::DoNotOptimize(ini.integer(L"Journey", L"Subscribers", 0));
        std::wstring text = ini.serialize();
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_IniPersistCycle);

// A hostile or bloated save of 1 MiB (about 53,000 keys), parsed as at start-up.
void BM_IniParseOneMebibyte(benchmark::State& state) {
    std::wstring text = L"[Journey]\r\nLevel=3\r\n[Junk]\r\n";
    for (int i = 0; text.size() * sizeof(char16_t) < (1u << 20); ++i) {
        text += L"UnknownKey" + std::to_wstring(i) + L"=1\r\n";
    }
    for (auto _ : state) {
        grumbo::IniSnapshot ini;
        ini.parse(text);
        benchmark::DoNotOptimize(ini.sections.data());
    }
}
BENCHMARK(BM_IniParseOneMebibyte)->Unit(benchmark::kMillisecond);

void BM_SaveTextEncodeDecode(benchmark::State& state) {
    const std::wstring text = typicalSave(3);
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = grumbo::encodeSaveText(text);
        std::wstring back;
        benchmark::DoNotOptimize(grumbo::decodeSaveText(bytes.data(), bytes.size(), back));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()) * 2);
}
BENCHMARK(BM_SaveTextEncodeDecode);

std::filesystem::path benchFolder() {
    auto dir = std::filesystem::temp_directory_path() /
               ("grumbo_save_bench_" + std::to_string(grumbo::currentProcessId()));
    std::filesystem::create_directories(dir);
    return dir;
}

// The window thread's cost of a save while the worker is busy on the disk: snapshots coalesce.
void BM_EnqueueWhileWriting(benchmark::State& state) {
    const auto dir = benchFolder();
    std::wstring texts[2] = {typicalSave(1), typicalSave(2)};
    {
        grumbo::AsyncSave save;
        save.open((dir / "save.ini").wstring());
        int i = 0;
        for (auto _ : state) {
            save.enqueue(texts[++i & 1]);
        }
        save.flush();
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_EnqueueWhileWriting);

// One complete durable replacement: temporary file, write, fsync, rename, folder fsync.
void BM_DurableWrite(benchmark::State& state) {
    const auto dir = benchFolder();
    std::wstring texts[2] = {typicalSave(1), typicalSave(2)};
    {
        grumbo::AsyncSave save;
        save.open((dir / "save.ini").wstring());
        int i = 0;
        for (auto _ : state) {
            save.enqueue(texts[++i & 1]);
            save.flush();
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DurableWrite)->Unit(benchmark::kMicrosecond);

} // namespace
