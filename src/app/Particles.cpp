#include "app/Particles.h"

namespace pikora {

void ParticleFX(bool Spawn, int16_t Kind, float X, float Y, float VX, float VY, float Spin, float Life, bool FadeOut) {}

}  // namespace pikora
