#pragma once
// The display classes live in the one table of the game's codes.
#include "model/game_codes.h"
