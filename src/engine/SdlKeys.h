#pragma once
#include <SDL_scancode.h>

#include <cstdint>

namespace pikora {

// The PC keyboard (set 1, DirectInput numbering for the extended keys) code of a key,
// by its position, as the game asks for it; 0 for keys the game cannot name.
int32_t PcScanCode(SDL_Scancode Code);
// The other way round; SDL_SCANCODE_UNKNOWN for codes outside the table.
SDL_Scancode SdlScanCode(int32_t PcCode);

}  // namespace pikora
