#include "game/game.h"
