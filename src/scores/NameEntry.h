#pragma once
// The name-entry screen (55).
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void NameEntryScreen();

}  // namespace pikora
