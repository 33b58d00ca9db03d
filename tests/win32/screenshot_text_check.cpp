// Checks that a smoke run's screenshot shows text where the HUD writes it: light pixels on
// the dark health and subscriber panels (the labels "LIVE GRUMBO" and the subscriber count).
// The picture's header and panel colours are checked by the app's own smoke check.
// Usage: screenshot_text_check <screenshot.bmp>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr int WIDTH = 1280;
constexpr int HEIGHT = 720;
constexpr std::size_t HEADER = 54;

struct Area {
    const char* what;
    int x0, y0, x1, y1;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot_text_check <screenshot.bmp>\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    if (bytes.size() != HEADER + static_cast<std::size_t>(WIDTH) * HEIGHT * 4) {
        std::fprintf(stderr, "FAILED: %s is not a 1280 x 720 capture\n", argv[1]);
        return 1;
    }
    const Area areas[] = {{"the health panel's label", 30, 26, 170, 52},
                          {"the subscriber count", 966, 54, 1140, 80}};
    int failures = 0;
    for (const Area& area : areas) {
        int light = 0;
        int dark = 0;
        for (int y = area.y0; y < area.y1; ++y) {
            for (int x = area.x0; x < area.x1; ++x) {
                const std::size_t at = HEADER + (static_cast<std::size_t>(y) * WIDTH + x) * 4;
                const int brightest = std::max({bytes[at], bytes[at + 1], bytes[at + 2]});
                light += brightest > 170 ? 1 : 0;
                dark += brightest < 60 ? 1 : 0;
            }
        }
        // Letters are thin strokes on the panel: some light pixels, mostly dark ones.
        const int total = (area.x1 - area.x0) * (area.y1 - area.y0);
        if (light < 60 || dark < total / 2) {
            std::fprintf(stderr, "FAILED: no text in %s (%d light, %d dark of %d pixels)\n", area.what, light,
                         dark, total);
            ++failures;
        }
    }
    if (failures == 0) {
        std::printf("the HUD's text is on screen\n");
    }
    return failures == 0 ? 0 : 1;
}
