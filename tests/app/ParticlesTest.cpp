// The sparkle store and the rectangle test, without the frame loop.
#include <gtest/gtest.h>

#include <tuple>

#include "app/Input.h"
#include "app/Particles.h"
#include "engine/RecordingGfxEngine.h"

namespace pikora::test {
namespace {

class ParticlesTest : public ::testing::Test {
 protected:
  ParticlesTest() : Engine(std::make_shared<RecordingGfxEngine>()) {
    ResetGlobals();
    Gfx = Engine;
    TexParticles = std::make_shared<TextureObject>();
    TexParticles->Name = "particles.png";
  }
  ~ParticlesTest() override {
    Gfx.reset();
    ResetGlobals();
  }
  // Moves and draws once; the opacities drawn.
  std::vector<int> Step() {
    Engine->ClearCalls();
    ParticleFX(false, 0, 0, 0, 0, 0, 0, 200, true);
    std::vector<int> Out;
    for (const auto& Call : Engine->CallsOf("DrawSprite")) Out.push_back(int(Call[5]));
    return Out;
  }
  std::vector<int> LifeOf(float Life, bool FadeOut) {
    ParticleFX(true, 7, 10, 10, 1, 1, 2, Life, FadeOut);
    std::vector<int> Drawn;
    for (int I = 0; I < 200; ++I)
      for (int Opacity : Step()) Drawn.push_back(Opacity);
    return Drawn;
  }
  int Live() const {
    int N = 0;
    for (const auto& P : Particles) N += P.Life >= 1;
    return N;
  }
  std::shared_ptr<RecordingGfxEngine> Engine;
};

TEST_F(ParticlesTest, LifetimeAndOpacity) {
  std::vector<int> Expected;
  for (int O = 35; O >= 1; --O) Expected.push_back(O);
  EXPECT_EQ(LifeOf(35, true), Expected);
  EXPECT_EQ(LifeOf(35, false), std::vector<int>(35, 50));
  Expected.assign(51, 50);  // Life 100 down to 50 draws at 50
  for (int O = 49; O >= 1; --O) Expected.push_back(O);
  EXPECT_EQ(LifeOf(100, true), Expected);
  // Life is rounded with halves to even.
  EXPECT_EQ(LifeOf(24.5f, true).size(), 24u);
  EXPECT_EQ(LifeOf(25.5f, true).size(), 26u);
  EXPECT_EQ(LifeOf(25.4f, false).size(), 25u);
}

TEST_F(ParticlesTest, MovesSpinsAndKeepsTheAngleLeftInItsSlot) {
  ParticleFX(true, 7, -40, 10, 3, -2, 5, 2, true);  // X is not tested
  Step();
  const auto Calls = Engine->CallsOf("DrawSprite");
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Num, (std::vector<double>{-37, 8, 32, 32, 5, 2, 0, 0, 0, 0, -1, -1}));
  Step();
  ParticleFX(true, 7, 0, 10, 0, 0, 1, 1, true);
  Step();
  EXPECT_EQ(Engine->CallsOf("DrawSprite")[0][4], 11) << "10 left by the last particle, plus its spin";
}

TEST_F(ParticlesTest, SpawnsOutsideTheBandAreIgnored) {
  for (float Y : {0.0f, -5.0f, 632.0f, 900.0f}) ParticleFX(true, 7, 10, Y, 0, 0, 0, 10, true);
  EXPECT_EQ(Live(), 0);
  for (float Y : {0.01f, 631.9f}) ParticleFX(true, 7, 10, Y, 0, 0, 0, 10, true);
  EXPECT_EQ(Live(), 2);
}

TEST_F(ParticlesTest, FullStoreDropsSpawnsUntilASlotFrees) {
  ParticleFX(true, 7, 10, 10, 0, 0, 0, 1, true);
  for (int I = 1; I < 151; ++I) ParticleFX(true, 7, 10, 10, 0, 0, 0, 50, true);
  ASSERT_EQ(Live(), 151);
  ParticleFX(true, 4, 10, 10, 0, 0, 0, 50, true);
  for (const auto& P : Particles) EXPECT_NE(P.Kind, 4);
  Step();  // slot 0 dies
  ParticleFX(true, 4, 10, 10, 0, 0, 0, 50, true);
  EXPECT_EQ(Particles[0].Kind, 4);
  EXPECT_EQ(Live(), 151);
}

// The transcripts prove the tint and frame of every kind the screens spawn; kind 3 appears in
// none of them, and kind 8 ages without being drawn.
TEST_F(ParticlesTest, KindThreeIsGreyAndTheTintIsResetKindEightAgesUnseen) {
  ParticleFX(true, 3, 10, 10, 0, 0, 0, 10, false);
  ParticleFX(true, 8, 10, 10, 0, 0, 0, 10, false);
  Step();
  const auto& C = Engine->Calls;
  ASSERT_EQ(C.size(), 3u);
  EXPECT_EQ(C[0].Op + C[2].Op, "SetTintSetTint");
  EXPECT_EQ(C[0].Num, (std::vector<double>{100, 100, 100}));
  EXPECT_EQ(std::vector<double>(C[1].Num.begin() + 6, C[1].Num.begin() + 10), (std::vector<double>{32, 0, 32, 16}));
  EXPECT_EQ(C[2].Num, (std::vector<double>{255, 255, 255}));
  EXPECT_EQ(Particles[1].Life, 9);
}

TEST_F(ParticlesTest, IsMouseInCountsItsEdges) {
  auto At = [](int32_t X, int32_t Y) {
    MouseState.X = X;
    MouseState.Y = Y;
    return IsMouseIn(19, 15, 120, 25);
  };
  for (auto [X, Y, In] : std::vector<std::tuple<int, int, bool>>{
           {19, 15, true}, {139, 40, true}, {80, 30, true}, {18, 15, false}, {140, 40, false}, {139, 41, false},
           {19, 14, false}})
    EXPECT_EQ(At(X, Y), In) << X << "," << Y;
  // Sums are Singles: 16777216 + 1 rounds back to 16777216.
  At(16777217, 0);
  EXPECT_TRUE(IsMouseIn(16777216.0f, 0, 0, 0));
}

}  // namespace
}  // namespace pikora::test
