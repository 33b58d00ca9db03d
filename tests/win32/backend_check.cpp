// Checks what only the Windows backend does, against the real system DLLs (run under Wine
// in CI): drawing and GDI read-back, text through DirectWrite, the render-target loss path,
// the wave-out buffer cycle, the save writer's file calls and the XInput loader.
// Prints one line per failed check and a closing "N passed, N failed" line.

#include "platform/dir_list.h"
#include "platform/files.h"
#include "platform/renderer.h"
#include "platform/user_paths.h"
#include "platform/win32/d2d_renderer_impl.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/winmm_audio_output.h"
#include "platform/window.h"
#include "save/native_save.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace grumbo;

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

// A frame read back through GDI, as 0xRRGGBB pixels.
struct Frame {
    std::vector<std::uint8_t> bgra;
    int width = 0;
    int height = 0;

    std::uint32_t at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
        return static_cast<std::uint32_t>(bgra[i + 2]) << 16 | static_cast<std::uint32_t>(bgra[i + 1]) << 8 |
               bgra[i];
    }
    // Pixels of the box whose red and green are bright and whose blue is bright too, or dark.
    int bright(int x0, int y0, int x1, int y1, bool blue) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t c = at(x, y);
                n += (c >> 16) > 0xC0 && ((c >> 8) & 0xFF) > 0xC0 && ((c & 0xFF) > 0xC0) == blue ? 1 : 0;
            }
        }
        return n;
    }
};

// Draws the same picture for a number of frames, as under Wine the window needs a few frames on
// screen before a copy of it shows them, and reads back the last before presenting it.
template <class Draw> Frame drawnFrame(Window& window, Renderer& renderer, Draw draw) {
    for (int pass = 0; pass < 20; ++pass) {
        WindowEvent events[64];
        window.pollEvents(events, 64);
        ::Sleep(15);
        draw();
        if (pass + 1 < 20) {
            renderer.present();
        }
    }
    Frame frame;
    check(renderer.readPixels(frame.bgra, frame.width, frame.height) && frame.width == 320 &&
              frame.height == 200,
          "the frame reads back through GDI");
    renderer.present();
    return frame;
}

void drawingChecks() {
    Window window;
    WindowOptions options;
    options.title = "backend check";
    options.clientWidth = 320;
    options.clientHeight = 200;
    check(window.open(options), "the window opens");
    window.show();
    WindowEvent events[64];
    window.pollEvents(events, 64);
    int w = 0;
    int h = 0;
    window.clientSize(w, h);
    check(w == 320 && h == 200, "the client area has the asked size");
    Renderer renderer;
    check(renderer.create(window), "Direct2D renderer created");

    // Solid fills, a drawable texture, a tinted text picture, then the GDI read-back.
    const Texture text = renderer.renderText("HELLO 123", 24, 300, false);
    check(text.valid() && text.width > 40 && text.height >= 20, "DirectWrite text rasterised");
    Texture layer = renderer.createTarget(64, 64, true);
    check(layer.valid(), "a drawable texture");
    const FRect textBox{0, 0, static_cast<float>(text.width), static_cast<float>(text.height)};
    const Frame frame = drawnFrame(window, renderer, [&] {
        renderer.setTarget(&layer);
        renderer.clear(0x0000FF, 1);
        renderer.setTarget(nullptr);
        renderer.setClip(nullptr);
        renderer.clear(0x102030, 1);
        renderer.fillRect(FRect{10, 10, 50, 30}, 0xFF0000, 1);
        renderer.drawImage(layer, FRect{0, 0, 64, 64}, FRect{100, 10, 32, 32}, false, 0, 1);
        const FRect clip{0, 0, 200, 200};
        renderer.setClip(&clip);
        renderer.fillRect(FRect{180, 150, 100, 40}, 0x00FF00, 1);
        renderer.setClip(nullptr);
        renderer.drawImage(text, textBox, FRect{10, 60, textBox.w, textBox.h}, false, 0, 1, 0xFFFF00);
        renderer.drawImage(text, textBox, FRect{10, 120, textBox.w, textBox.h}, false, 0, 1);
    });
    if (frame.width == 320 && frame.height == 200) {
        check(frame.at(30, 20) == 0xFF0000, "filled rectangle at its place");
        check(frame.at(5, 5) == 0x102030, "clear colour around it");
        check(frame.at(116, 26) == 0x0000FF, "the drawable texture drawn into the window");
        check(frame.at(190, 160) == 0x00FF00 && frame.at(250, 160) == 0x102030,
              "the clip keeps the fill inside");
        check(frame.bright(10, 60, 10 + text.width, 60 + text.height, false) > 40, "tinted text pixels");
        check(frame.bright(10, 120, 10 + text.width, 120 + text.height, true) > 40, "white text pixels");
    }

    // A lost target drops every texture: old handles draw nothing, new ones work.
    simulateTargetLoss(renderer);
    renderer.clear(0, 1);
    renderer.present();
    check(renderer.takeDeviceLoss(), "the loss is reported once");
    check(!renderer.takeDeviceLoss(), "and only once");
    const std::uint32_t red = 0xFFFF0000;
    const Texture fresh = renderer.createImage(1, 1, &red);
    check(fresh.valid() && fresh.epoch != text.epoch, "textures made after the loss carry a new epoch");
    const Frame after = drawnFrame(window, renderer, [&] {
        renderer.setTarget(nullptr);
        renderer.clear(0x000000, 1);
        renderer.drawImage(text, FRect{0, 0, 10, 10}, FRect{0, 0, 100, 100}, false, 0, 1);
        renderer.drawImage(fresh, FRect{0, 0, 1, 1}, FRect{200, 100, 20, 20}, false, 0, 1);
    });
    if (after.width == 320 && after.height == 200) {
        check(after.at(50, 50) == 0x000000, "a stale texture draws nothing");
        check(after.at(210, 110) == 0xFF0000, "the window target is made anew");
    }
    renderer.destroy();
    window.close();
}

void audioChecks() {
    WinmmAudioOutput output;
    std::atomic<int> callbacks{0};
    std::atomic<int> mostInFlight{0};
    if (!output.open([&] { callbacks.fetch_add(1); })) {
        std::printf("no wave-out device: buffer cycle checks skipped\n");
        return;
    }
    std::vector<std::int16_t> samples(AUDIO_OUTPUT_SAMPLES, 0);
    const std::span<const std::int16_t, AUDIO_OUTPUT_SAMPLES> buffer(samples.data(), AUDIO_OUTPUT_SAMPLES);
    bool allQueued = true;
    for (int slot = 0; slot < AUDIO_OUTPUT_SLOTS; ++slot) {
        allQueued = output.submit(slot, buffer) && allQueued;
    }
    check(allQueued, "four buffers queued");
    check(!output.submit(0, buffer) || output.done(0), "a buffer still playing is not queued again");
    // Keep the cycle going for about a third of a second: each slot is refilled only once done.
    int resubmitted = 0;
    bool refusedBusy = true;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(350);
    while (std::chrono::steady_clock::now() < end) {
        mostInFlight = std::max(mostInFlight.load(), output.inFlight());
        for (int slot = 0; slot < AUDIO_OUTPUT_SLOTS; ++slot) {
            if (output.done(slot)) {
                resubmitted += output.submit(slot, buffer) ? 1 : 0;
            } else if (output.submit(slot, buffer)) {
                refusedBusy = false;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    check(refusedBusy, "busy buffers are refused");
    check(mostInFlight.load() <= AUDIO_OUTPUT_SLOTS, "never more than four buffers in flight");
    check(callbacks.load() >= 4 && resubmitted >= 4,
          "the device hands buffers back and they are queued again");
    output.close();
    const int closedAt = callbacks.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    check(callbacks.load() == closedAt, "no buffer-done call after close");
    for (int slot = 0; slot < AUDIO_OUTPUT_SLOTS; ++slot) {
        check(output.done(slot), "every slot free after close");
    }
}

void fileChecks() {
    const std::wstring folder = L"backend_check_files";
    check(createFolders(folder + L"/a/b") == syserror::Success, "nested folders created");
    check(createFolders(folder + L"/a/b") == syserror::Success, "existing folders are success");
    check(createFolder(folder + L"/a") == syserror::AlreadyExists, "an existing folder answers 183");
    auto files = makeNativeFileSystem();
    const std::wstring target = folder + L"/save.ini";
    const std::wstring temporary = folder + L"/save.ini.tmp";
    files->remove(target);
    files->remove(temporary);
    FileHandle handle = INVALID_FILE;
    check(files->openRead(folder + L"/missing.ini", handle) == syserror::FileNotFound,
          "a missing file answers 2 as GetLastError gives it");
    check(files->createNew(folder + L"/no/such/dir/x.tmp", handle) == syserror::PathNotFound,
          "a missing folder answers 3");
    for (const char* text : {"first", "second"}) {
        check(files->createNew(temporary, handle) == syserror::Success, "temporary created exclusively");
        FileHandle again = INVALID_FILE;
        check(files->createNew(temporary, again) == syserror::FileExists, "a second creation answers 80");
        std::size_t done = 0;
        const std::string content(text);
        check(files->write(handle, content.data(), content.size(), done) == syserror::Success &&
                  done == content.size(),
              "full write");
        check(files->flush(handle) == syserror::Success, "flushed");
        check(files->close(handle) == syserror::Success, "closed");
        check(files->replace(temporary, target) == syserror::Success, "replaced with write-through");
        std::vector<std::uint8_t> bytes;
        check(readWholeFile(target, bytes, 1024) == syserror::Success &&
                  std::string(bytes.begin(), bytes.end()) == content,
              "the replaced file holds the new text");
    }
    check(files->replace(temporary, target) == syserror::FileNotFound, "replacing from nothing answers 2");
    std::vector<std::uint8_t> bytes;
    check(readWholeFile(target, bytes, 3) == syserror::FileTooLarge && bytes.empty(),
          "the size limit answers 223");
    check(readWholeFile(folder, bytes, 1024) == syserror::AccessDenied, "a folder is not read as a file");
    std::vector<DirEntry> entries;
    const bool listed = listFolder(folder, entries);
    const auto has = [&](const wchar_t* name, bool isFolder) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const DirEntry& e) { return e.name == name && e.isDirectory == isFolder; });
    };
    check(listed && has(L"save.ini", false) && has(L"a", true), "the folder lists its file and subfolder");
    check(!listFolder(folder + L"/missing", entries), "a missing folder cannot be listed");
    files->remove(target);
    check(!userDataFolder().empty(), "the local application-data folder is found");
    check(widenPath("caf\xC3\xA9") == L"caf\u00E9", "UTF-8 paths widen to UTF-16");
}

// The save writer's worker thread on the Win32 calls: a snapshot lands as UTF-16 text with a
// byte-order mark, and a second writer reads it back.
void saveWriterChecks() {
    const std::wstring path = L"backend_check_files/journey.ini";
    makeNativeFileSystem()->remove(path);
    const std::wstring text = L"[Journey]\r\nLevel=3\r\n";
    {
        AsyncSave save;
        check(save.open(path), "the save writer opens on a missing file");
        save.enqueue(L"[Journey]\r\nLevel=1\r\n");
        save.enqueue(text);
        save.flush();
        check(save.lastError() == syserror::Success, "the snapshot is written");
    }
    std::vector<std::uint8_t> bytes;
    check(readWholeFile(path, bytes, 4096) == syserror::Success && bytes.size() == 2 + text.size() * 2 &&
              bytes[0] == 0xFF && bytes[1] == 0xFE,
          "UTF-16 little-endian with a byte-order mark");
    AsyncSave again;
    check(again.open(path) && again.latestSnapshot() == text,
          "a second writer reads the newest snapshot back");
    std::vector<DirEntry> entries;
    listFolder(L"backend_check_files", entries);
    check(std::none_of(entries.begin(), entries.end(),
                       [](const DirEntry& e) { return e.name.find(L"journey.ini.") == 0; }),
          "no temporary file is left beside the save");
}

// Keys are read straight from the system's key state, so an injected press shows at once.
void keyboardChecks() {
    std::unique_ptr<InputDevices> devices = createInputDevices();
    for (const auto& [key, code] : {std::pair{Key::Space, VK_SPACE}, std::pair{Key::J, int{'J'}},
                                    std::pair{Key::Digit0, int{'0'}}, std::pair{Key::F11, VK_F11}}) {
        INPUT press{};
        press.type = INPUT_KEYBOARD;
        press.ki.wVk = static_cast<WORD>(code);
        ::SendInput(1, &press, sizeof(press));
        const bool down = devices->keyDown(key);
        press.ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(1, &press, sizeof(press));
        const bool up = !devices->keyDown(key);
        check(down && up, "key " + std::to_string(code) + " is read down while held and up after");
    }
    check(devices->nowMs() > 0, "the millisecond clock runs");
}

void xinputChecks() {
    const wchar_t* const fallback[] = {L"grumbo_absent_1.dll", L"grumbo_absent_2.dll", L"xinput9_1_0.dll"};
    XInputLibrary library = loadXInput(fallback, 3);
    check(library.loadedName == 2 && library.getState != nullptr, "XInput falls back to the third name");
    unloadXInput(library);
    const wchar_t* const none[] = {L"grumbo_absent_1.dll", L"grumbo_absent_2.dll"};
    library = loadXInput(none, 2);
    check(library.module == nullptr && library.getState == nullptr, "no XInput leaves pads off");
    library = loadXInput(XINPUT_LIBRARY_NAMES, 3);
    check(library.loadedName >= 0, "the system has one of the three XInput names");
    unloadXInput(library);
}

} // namespace

int main() {
    drawingChecks();
    audioChecks();
    fileChecks();
    saveWriterChecks();
    keyboardChecks();
    xinputChecks();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
