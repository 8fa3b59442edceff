#pragma once
// Game tests that run game code at chosen frames: the plain fixture does so itself.
#include "support/GameFixture.h"

namespace pikora::test {

using PackScriptTest = GameTest;

}  // namespace pikora::test
