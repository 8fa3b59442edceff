#include "scores/modKeys.h"

namespace pikora {

void ReadNameKeys() {}

void AddNameKey(std::string& Key) {}

}  // namespace pikora
