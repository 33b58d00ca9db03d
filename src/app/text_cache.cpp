#include "app/text_cache.h"

#include <cmath>

namespace grumbo {

TextKey TextCache::makeKey(std::string_view text, int size, float width, float height, bool centred) {
    return TextKey{std::string(text), size, static_cast<int>(std::ceil(width)),
                   static_cast<int>(std::ceil(height)), centred};
}

CachedText* TextCache::use(const TextKey& key) {
    auto found = entries.find(key);
    if (found == entries.end()) {
        return nullptr;
    }
    found->second.lastUse = ++useCounter;
    return &found->second;
}

std::optional<Texture> TextCache::makeRoom() {
    if (entries.size() < CAPACITY) {
        return std::nullopt;
    }
    auto oldest = entries.begin();
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->second.lastUse < oldest->second.lastUse) {
            oldest = it;
        }
    }
    Texture texture = oldest->second.texture;
    entries.erase(oldest);
    return texture;
}

CachedText& TextCache::insert(TextKey key, Texture texture) {
    CachedText& entry = entries[std::move(key)];
    entry.texture = texture;
    entry.lastUse = ++useCounter;
    return entry;
}

} // namespace grumbo
