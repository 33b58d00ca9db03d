// Rasterised texts kept between frames. A text drawn every frame is laid out
// once; the 384-entry bound with least-recently-used eviction keeps memory flat
// while changing texts (timers, counters) come and go.
#pragma once

#include "platform/renderer.h"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace grumbo {

// Boxes are keyed in whole canvas units, rounded up, so a box of 99.2 and one
// of 99.9 share an entry; the picture's pixel size and wrap width complete it.
struct TextKey {
    std::string text;
    int size = 0;
    int width = 0;
    int height = 0;
    bool centred = false;
    int pixelSize = 0;
    int wrapPixels = 0;

    auto operator<=>(const TextKey&) const = default;
};

struct CachedText {
    Texture texture;
    std::uint64_t lastUse = 0;
};

class TextCache {
  public:
    static constexpr std::size_t CAPACITY = 384;

    static TextKey makeKey(std::string_view text, int size, float width, float height, bool centred);

    // The entry for `key` stamped as the newest use, or null.
    CachedText* use(const TextKey& key);
    // When the cache is full, removes the least recently used entry (the first
    // in key order among equals) and returns its texture for release.
    std::optional<Texture> makeRoom();
    // Inserts a new entry stamped as the newest use.
    CachedText& insert(TextKey key, Texture texture);

    // Empties the cache, handing every texture to `release`.
    template <typename Release> void clear(Release&& release) {
        for (auto& [key, entry] : entries) {
            release(entry.texture);
        }
        entries.clear();
    }

    std::size_t size() const { return entries.size(); }
    bool contains(const TextKey& key) const { return entries.count(key) != 0; }

    std::uint64_t useCounter = 0;

  private:
    std::map<TextKey, CachedText> entries;
};

} // namespace grumbo
