#include "app/CreditsHelp.h"

namespace pikora {

void HelpScreen() {}

void CreditsScreen() {}

}  // namespace pikora
