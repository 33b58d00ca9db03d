// The presentation's shared colours (0xRRGGBB), so the HUD, the menus and
// the world agree on one palette.
#pragma once

#include <cstdint>

namespace grumbo::palette {

inline constexpr std::uint32_t WHITE = 0xF2F3FF;
inline constexpr std::uint32_t GREEN = 0xB3FF67;
inline constexpr std::uint32_t GOLD = 0xFFCB66;
inline constexpr std::uint32_t VIOLET = 0xAE79FF;
inline constexpr std::uint32_t NIGHT = 0x0A0C20;

} // namespace grumbo::palette
