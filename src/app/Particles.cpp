#include "app/Particles.h"

#include <algorithm>

namespace pikora {

namespace {

struct ParticleLook {
  bool Tinted;
  int32_t R, G, B;
  float SrcX, SrcY, Width, Height;
};

void DrawLook(const ParticleSlot& P, int32_t Opacity, const ParticleLook& Look) {
  if (Look.Tinted) Gfx->SetTint(Look.R, Look.G, Look.B);
  Gfx->DrawSprite(TexParticles, P.X, P.Y, 32, 32, P.Angle, Opacity, Look.SrcX, Look.SrcY, Look.Width, Look.Height, -1,
                  -1);
}

constexpr ParticleLook Spark{false, 0, 0, 0, 32, 0, 0, 0};
constexpr ParticleLook Brown{true, 157, 90, 14, 32, 0, 32, 16};
constexpr ParticleLook Yellow{true, 255, 244, 73, 32, 0, 32, 16};
constexpr ParticleLook Grey{true, 100, 100, 100, 32, 0, 32, 16};
constexpr ParticleLook Green{true, 0, 250, 0, 0, 0, 0, 0};
constexpr ParticleLook PaleGold{true, 255, 248, 170, 0, 0, 0, 0};
constexpr ParticleLook Red{true, 250, 0, 0, 0, 0, 0, 0};
constexpr ParticleLook Star{false, 0, 0, 0, 0, 0, 0, 0};

void DrawParticle(const ParticleSlot& P, int32_t Opacity) {
  switch (P.Kind) {
    case 0: DrawLook(P, Opacity, Spark); return;
    case 1: DrawLook(P, Opacity, Brown); break;
    case 2: DrawLook(P, Opacity, Yellow); break;
    case 3: DrawLook(P, Opacity, Grey); break;
    case 4: DrawLook(P, Opacity, Green); break;
    case 5:
      DrawLook(P, Opacity, PaleGold);
      DrawLook(P, Opacity, Brown);
      break;
    case 6: DrawLook(P, Opacity, Red); break;
    case 7: DrawLook(P, Opacity, Star); return;
    default: return;  // moves and ages unseen
  }
  Gfx->SetTint(255, 255, 255);
}

void Spawn(int16_t Kind, float X, float Y, float VX, float VY, float Spin, float Life, bool FadeOut) {
  if (Y <= 0 || Y >= 632) return;
  for (auto& Slot : Particles) {
    if (Slot.Life >= 1) continue;
    // Life is a 16-bit count; a request beyond it lives as long as the count allows.
    Slot.Life = int16_t(Round(std::clamp(double(Life), -32768.0, 32767.0)));
    Slot.Kind = Kind;
    Slot.X = X;
    Slot.Y = Y;
    Slot.VX = VX;
    Slot.VY = VY;
    Slot.Spin = Spin;
    Slot.FadeOut = FadeOut;
    return;
  }
}

void MoveAndDraw() {
  for (auto& P : Particles) {
    if (P.Life < 1) continue;
    const int32_t Opacity = (P.FadeOut && P.Life < 50) ? P.Life : 50;
    P.X += P.VX;
    P.Y += P.VY;
    P.Angle += P.Spin;
    --P.Life;
    DrawParticle(P, Opacity);
  }
}

}  // namespace

void ParticleFX(bool SpawnOne, int16_t Kind, float X, float Y, float VX, float VY, float Spin, float Life,
                bool FadeOut) {
  if (SpawnOne)
    Spawn(Kind, X, Y, VX, VY, Spin, Life, FadeOut);
  else
    MoveAndDraw();
}

}  // namespace pikora
