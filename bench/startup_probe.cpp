// Time to the first picture. "bare" only opens a 1280 x 720 window with a
// renderer through the platform layer and clears it, the least any SDL2 game
// does; "game" starts the whole game and draws its first title frame. Each
// prints "first frame" once the picture is presented and leaves at once, so
// bench/startup.py can time both from launch under the same display.
#include "app/app.h"
#include "platform/renderer.h"
#include "platform/window.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
    using namespace grumbo;
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "bare") {
        Window window;
        Renderer renderer;
        WindowOptions options;
        options.title = "bare";
        if (!window.open(options) || !renderer.create(window)) {
            return 1;
        }
        window.show();
        renderer.clear(0x000000, 1);
        renderer.present();
    } else if (mode == "game") {
        static App app;
        if (!app.startUp("")) {
            return 1;
        }
        app.render();
    } else {
        std::fprintf(stderr, "usage: startup_probe bare|game\n");
        return 2;
    }
    std::puts("first frame");
    std::fflush(stdout);
    // Tearing down is not part of starting up.
    std::_Exit(0);
}
