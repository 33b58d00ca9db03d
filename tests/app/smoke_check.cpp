// Checks what a smoke run left in its folder: the result file, the bitmap's
// header, and that the picture is plainly the game: the HUD's health box and
// bottom bar at their places and the player's purple hoodie in the level band
// where the camera keeps it. Usage: app_smoke_check <folder> <world index>.
#include "app/screenshot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    if (!ok) {
        std::fprintf(stderr, "FAILED: %s\n", what.c_str());
        ++failures;
    }
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    // Red, green and blue of a pixel as 0xRRGGBB.
    std::uint32_t at(int x, int y) const {
        const std::size_t offset = grumbo::BMP_HEADER_BYTES + (static_cast<std::size_t>(y) * width + x) * 4;
        return static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
               static_cast<std::uint32_t>(bytes[offset + 1]) << 8 | bytes[offset];
    }
};

bool near(std::uint32_t colour, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((colour >> shift) & 0xFF);
        const int b = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) {
            return false;
        }
    }
    return true;
}

// The player's purple hoodie; with `dimmed`, drawn at the 45 % opacity of the
// blink after a hit, over the darker backdrops.
bool hoodie(std::uint32_t colour, bool dimmed = false) {
    const int r = static_cast<int>(colour >> 16);
    const int g = static_cast<int>((colour >> 8) & 0xFF);
    const int b = static_cast<int>(colour & 0xFF);
    return dimmed ? b > 100 && b > r + 30 && b > g + 60 && r > g + 20
                  : b > 140 && b > r + 60 && b > g + 100 && r > g + 20;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: app_smoke_check <folder> <world index>\n");
        return 2;
    }
    const std::string folder = argv[1];

    std::ifstream results(folder + "/smoke-results.txt", std::ios::binary);
    std::stringstream text;
    text << results.rdbuf();
    const std::regex format("rendered_frames=240\nlevel=(\\d+)\nhealth=(-?\\d+)\nplayer_x=([-0-9.e+]+)\n");
    std::smatch match;
    const std::string content = text.str();
    check(std::regex_match(content, match, format),
          "smoke-results.txt has the four lines: [" + content + "]");
    if (!match.empty()) {
        check(match[1].str() == argv[2], "the result names the smoke world");
        check(std::isfinite(std::stod(match[3].str())), "player_x is a number");
    }

    std::ifstream file(folder + "/screenshot.bmp", std::ios::binary);
    Picture picture;
    picture.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    picture.width = 1280;
    picture.height = 720;
    check(picture.bytes.size() == 3686454u, "screenshot.bmp is 3686454 bytes");
    if (picture.bytes.size() != 3686454u) {
        return 1;
    }
    const std::vector<std::uint8_t> header = grumbo::bmpHeader(1280, 720);
    check(std::equal(header.begin(), header.end(), picture.bytes.begin()),
          "the bitmap header of a 1280 x 720 capture");

    // At 1280 x 720 one canvas unit is 4/3 pixels.
    // Renderers round the 2-unit edge (pixels 18.7 to 21.3) to different rows.
    bool edge = false;
    for (int y = 18; y <= 21; ++y) {
        edge = edge || near(picture.at(100, y), 0xB3FF67, 16);
    }
    check(edge, "the health box's green top edge");
    const std::uint32_t bar = picture.at(45, 70);
    check(near(bar, 0xB3FF67, 16) || near(bar, 0xFF778A, 16) || near(bar, 0x363044, 16), "the health bar");
    // Between the hints and above the on-screen play buttons.
    check(near(picture.at(640, 650), 0x0A0C20, 14), "the dark bottom bar");
    // The camera keeps the player about a third into the view; just after a
    // respawn at a checkpoint the player is further left while it catches up.
    int purple = 0;
    for (int y = 101; y < 627; ++y) {
        for (int x = 0; x < 600; ++x) {
            purple += hoodie(picture.at(x, y)) ? 1 : 0;
        }
    }
    // A hit late in the run leaves the player blinking when the frame is
    // taken; the dimmed hoodie is looked for only in the narrow band where the
    // camera keeps the player, since purple scenery shares its tones.
    int dimmed = 0;
    for (int y = 101; y < 627; ++y) {
        for (int x = 400; x < 620; ++x) {
            dimmed += hoodie(picture.at(x, y), true) ? 1 : 0;
        }
    }
    // A smoke run paces by the real clock, so on a slow machine the player may
    // also have run into the pit beneath the camera's focus and be falling out
    // of sight; the pit's dark fill right there stands in for the player then.
    int pit = 0;
    for (int x = 250; x < 650; ++x) {
        const std::uint32_t colour = picture.at(x, 610);
        pit += near(colour, 0x07060F, 10) || near(colour, 0x170E23, 10) ? 1 : 0;
    }
    // Beside a sign, the prompt's panel (224 units wide, its gold frame at
    // y 332) is drawn over the player and may hide the hoodie entirely.
    int prompt = 0;
    for (int y = 441; y <= 446; ++y) {
        for (int x = 0, run = 0; x < 1280; ++x) {
            run = near(picture.at(x, y), 0xFFCB66, 16) ? run + 1 : 0;
            prompt = std::max(prompt, run);
        }
    }
    check(purple >= 15 || dimmed >= 30 || pit >= 20 || prompt >= 250,
          "the player's hoodie where the camera keeps the player (" + std::to_string(purple) + " pixels, " +
              std::to_string(dimmed) + " dimmed), the pit it fell into or a sign's prompt over it");
    if (failures == 0) {
        std::printf("smoke picture and results look like the game\n");
    }
    return failures == 0 ? 0 : 1;
}
