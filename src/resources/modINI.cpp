#include "resources/modINI.h"

namespace pikora {

std::string GetINIValue(const std::string& Section, const std::string& Key, const std::string& File) { return {}; }

}  // namespace pikora
