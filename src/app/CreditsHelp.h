#pragma once
// The help (4) and credits (5) screens.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void HelpScreen();
void CreditsScreen();

}  // namespace pikora
