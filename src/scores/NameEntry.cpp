#include "scores/NameEntry.h"

namespace pikora {

void NameEntryScreen() {}

}  // namespace pikora
