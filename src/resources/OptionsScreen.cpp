#include "resources/OptionsScreen.h"

namespace pikora {

void DrawOptionsScreen() {}

}  // namespace pikora
