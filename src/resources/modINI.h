#pragma once
// The small INI reader used for the difference rectangles.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

std::string GetINIValue(const std::string& Section, const std::string& Key, const std::string& File);

}  // namespace pikora
