#include "resources/Options.h"

namespace pikora {

void LoadOptions() {}

void SaveOptions() {}

bool ConvertBoolean(const std::string& Text, bool& Value) { return false; }

}  // namespace pikora
