// The asset forge: paints every sprite, backdrop and terrain texture and synthesises every sound the
// game loads, deterministically, into one assets folder.

#include "audio_forge.h"
#include "sprites.h"
#include "worlds.h"
#include "writers.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string assets;
    std::string contact;
    std::string espeak;
    std::string icons;
    bool images = true;
    bool sound = true;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "--contact" || arg == "--espeak" || arg == "--icons") && i + 1 < argc) {
            (arg == "--contact"  ? options.contact
             : arg == "--espeak" ? options.espeak
                                 : options.icons) = argv[++i];
        } else if (arg == "--images-only") {
            options.sound = false;
        } else if (arg == "--sound-only") {
            options.images = false;
        } else if (options.assets.empty() && arg.rfind("--", 0) != 0) {
            options.assets = arg;
        } else {
            return false;
        }
    }
    return !options.assets.empty();
}

bool save(const std::string& path, const grumbo::forge::Bytes& bytes) {
    if (grumbo::forge::writeFile(path, bytes)) {
        return true;
    }
    std::fprintf(stderr, "grumbo_forge: cannot write %s\n", path.c_str());
    return false;
}

bool forgeImages(const Options& options) {
    using namespace grumbo::forge;
    bool ok = true;
    Image sheet = buildSpriteSheet();
    ok &= save(options.assets + "/sprites.png", encodePng(sheet));
    std::vector<Image> backgrounds;
    std::vector<Image> terrain;
    for (int w = 0; w < WORLD_COUNT; ++w) {
        backgrounds.push_back(buildBackground(w));
        terrain.push_back(buildTerrain(w, 128));
        ok &= save(options.assets + "/bg_" + std::to_string(w + 1) + ".png", encodePng(backgrounds.back()));
        ok &= save(options.assets + "/terrain_" + std::to_string(w + 1) + ".png", encodePng(terrain.back()));
    }
    ok &= save(options.assets + "/glow.png", encodePng(buildGlow(64)));
    ok &= save(options.assets + "/flame.png", encodePng(buildFlame(32, 64)));
    std::vector<Image> icons;
    for (int size : {16, 32, 48, 256}) {
        icons.push_back(buildIcon(size));
    }
    ok &= save(options.assets + "/icon.ico", encodeIco(icons));
    ok &= save(options.assets + "/icon.png", encodePng(icons.back()));
    // The desktop's icon theme wants one picture per size, in its own folder layout.
    if (!options.icons.empty()) {
        for (int size : {32, 64, 128, 256}) {
            const std::string folder =
                options.icons + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
            std::error_code error;
            std::filesystem::create_directories(folder, error);
            ok &= save(folder + "/grumbos-megastream.png", encodePng(buildIcon(size)));
        }
    }
    if (!options.contact.empty()) {
        ok &= save(options.contact, encodePng(buildContactSheet(sheet, backgrounds, terrain)));
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: grumbo_forge <assets dir> [--contact file.png] [--icons theme dir] "
                             "[--espeak program] [--images-only | --sound-only]\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(options.assets + "/audio", error);
    bool ok = true;
    if (options.images) {
        ok &= forgeImages(options);
    }
    if (options.sound) {
        ok &= grumbo::forge::forgeAudio(options.assets + "/audio", options.espeak);
    }
    return ok ? 0 : 1;
}
