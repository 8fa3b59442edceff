#pragma once
// Typing the name on the name-entry screen.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void ReadNameKeys();
void AddNameKey(std::string& Key);

}  // namespace pikora
