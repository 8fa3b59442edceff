#pragma once
// The options file.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void LoadOptions();
void SaveOptions();
// Converts an INI text to a Boolean: True/False in any case, or a number (0 False). False when it is neither.
bool ConvertBoolean(const std::string& Text, bool& Value);

}  // namespace pikora
