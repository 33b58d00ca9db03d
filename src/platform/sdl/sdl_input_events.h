// The window's event pump hands every SDL event to `handleInputEvent`, on the
// window thread. It opens a game controller when one is added and closes it
// when it is removed, and does the same for joysticks that are not game
// controllers, so the controller thread of `NativeInput` finds them. It holds
// `SDL_LockJoysticks` while it changes the set of open devices, because the
// controller thread reads them under the same lock. It also remembers key
// presses until the next keyboard sample, so a tap shorter than a frame still
// reaches the game once. Other events are ignored, so the pump may pass
// everything through.
#pragma once

#include <SDL.h>

namespace grumbo::sdl {

void handleInputEvent(const SDL_Event& event);

} // namespace grumbo::sdl
