// The real game played through every screen, each chosen frame drawn by both paths from the
// same calls: the pixman frame must match the GL frame within a small tolerance. The GL path
// is SDL's OpenGL renderer, which on a machine without a GPU runs on Mesa's llvmpipe through
// the offscreen driver's EGL.
#include <SDL.h>
#include <SDL_image.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <map>

#include "app/modDeclares.h"
#include "app/modMain.h"
#include "engine/SdlGfxEngine.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

// Differences this large are counted; smaller ones are rounding and filtering.
constexpr int Visible = 24;
// Share of pixels that may differ visibly: edges of turned sprites fall on either side.
constexpr double VisibleShare = 0.003;
constexpr double MeanLimit = 0.5;  // mean absolute difference per channel, of 255

struct Comparison {
  std::string Label;
  int16_t Screen = 0;
  double Share = 0, Mean = 0;
};

// Records like the recording engine and hands the calls of chosen frames to both real paths.
class TwinEngine : public RecordingGfxEngine {
 public:
  std::map<int32_t, std::string> Chosen;  // frame -> label
  std::vector<Comparison> Results;

  void Initialise(WindowHandle* W, const std::string& Folder, float Width, float Height, bool FullScreen,
                  int32_t R1, int32_t R2, int32_t R3, int32_t R4) override {
    RecordingGfxEngine::Initialise(W, Folder, Width, Height, FullScreen, R1, R2, R3, R4);
    for (auto* E : Paths) E->Initialise(nullptr, Folder, Width, Height, false, 0, 0, 0, 0);
  }
  void Shutdown() override {
    RecordingGfxEngine::Shutdown();
    for (auto* E : Paths) E->Shutdown();
  }
  void LoadTexture(Texture& Out, const std::string& FileName, uint32_t ColourKey) override {
    RecordingGfxEngine::LoadTexture(Out, FileName, ColourKey);
    for (int I : {0, 1}) Paths[I]->LoadTexture(Twins[Out.get()][I], FileName, ColourKey);
  }
  void CreateFont(const std::string& Name, const std::string& Face, int32_t Size, bool Bold, bool Italic) override {
    RecordingGfxEngine::CreateFont(Name, Face, Size, Bold, Italic);
    for (auto* E : Paths) E->CreateFont(Name, Face, Size, Bold, Italic);
  }
  void BeginFrame(int32_t R, int32_t G, int32_t B) override {
    RecordingGfxEngine::BeginFrame(R, G, B);
    ClearCalls();  // a long run; nothing here reads them
    if (Drawing())
      for (auto* E : Paths) E->BeginFrame(R, G, B);
  }
  void EndFrame() override {
    RecordingGfxEngine::EndFrame();
    if (Drawing() && Results.size() < Chosen.size() && (Results.empty() || Results.back().Label != Chosen[Frame()]))
      Compare(Chosen[Frame()]);
  }
  void SetTint(int32_t R, int32_t G, int32_t B) override {
    RecordingGfxEngine::SetTint(R, G, B);
    for (auto* E : Paths) E->SetTint(R, G, B);
  }
  void DrawSprite(const Texture& Tex, float X, float Y, float TW, float TH, float Angle, int32_t Opacity, float SX,
                  float SY, float W, float H, float CX, float CY) override {
    RecordingGfxEngine::DrawSprite(Tex, X, Y, TW, TH, Angle, Opacity, SX, SY, W, H, CX, CY);
    if (!Drawing() || !Tex) return;
    for (int I : {0, 1}) Paths[I]->DrawSprite(Twins.at(Tex.get())[I], X, Y, TW, TH, Angle, Opacity, SX, SY, W, H, CX, CY);
  }
  void DrawBitmapText(const Texture& Font, const std::string& Text, float X, float Y, float Scale, float Angle,
                      int32_t Opacity, float R, float G, float B) override {
    RecordingGfxEngine::DrawBitmapText(Font, Text, X, Y, Scale, Angle, Opacity, R, G, B);
    if (!Drawing() || !Font) return;
    for (int I : {0, 1}) Paths[I]->DrawBitmapText(Twins.at(Font.get())[I], Text, X, Y, Scale, Angle, Opacity, R, G, B);
  }
  void DrawText(const std::string& Font, float X, float Y, float W, float H, const std::string& Text,
                uint32_t Colour, int32_t Format) override {
    RecordingGfxEngine::DrawText(Font, X, Y, W, H, Text, Colour, Format);
    if (Drawing())
      for (auto* E : Paths) E->DrawText(Font, X, Y, W, H, Text, Colour, Format);
  }

 private:
  bool Drawing() const { return Chosen.count(Frame()) > 0; }

  void Compare(const std::string& Label) {
    const std::vector<uint32_t> A = Gl.ReadSurface(), B = Pixman.ReadSurface();
    size_t Visibly = 0;
    double Sum = 0;
    for (size_t I = 0; I < A.size(); ++I) {
      int Most = 0;
      for (int Shift : {0, 8, 16}) {
        const int D = std::abs(int(A[I] >> Shift & 255) - int(B[I] >> Shift & 255));
        Most = std::max(Most, D);
        Sum += D;
      }
      Visibly += Most > Visible;
    }
    Results.push_back({Label, GameScreen, double(Visibly) / double(A.size()), Sum / (3.0 * double(A.size()))});
    if (const char* Dir = std::getenv("PIKORA_COMPARE_DIR"))
      for (auto& [Path, Pixels] : {std::pair{"gl", &A}, std::pair{"pixman", &B}}) {
        SDL_Surface* S = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(Pixels->data()), 800, 600, 32,
                                                            800 * 4, SDL_PIXELFORMAT_ARGB8888);
        IMG_SavePNG(S, (std::string(Dir) + "/" + Label + "-" + Path + ".png").c_str());
        SDL_FreeSurface(S);
      }
  }

  SdlGfxEngine Gl{DrawPath::Gl}, Pixman{DrawPath::Pixman};
  SdlGfxEngine* const Paths[2] = {&Gl, &Pixman};
  std::map<const TextureObject*, std::array<Texture, 2>> Twins;
};

class DrawPathsTest : public GameTest {};

TEST_F(DrawPathsTest, EveryScreenOfPixmanMatchesTheGlPath) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "opengl", 0);
  // Mesa stays loaded to the end, so that LeakSanitizer can name the caches it keeps.
  for (const char* Library : {"libEGL_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
    dlopen(Library, RTLD_NOW | RTLD_NODELETE);
  SdlPaceFrames = false;
  UseRealData(true);
  WriteOptions(true, false, false, true);
  auto Twin = std::make_shared<TwinEngine>();
  Engine = Twin;
  Twin->DebugMode = true;  // J reveals differences; the read-outs are drawn too
  std::map<int32_t, std::pair<std::string, int16_t>> Expected;
  auto Show = [&](int32_t Frame, const std::string& Label, int16_t Screen) {
    Twin->Chosen[Frame] = Label;
    Expected[Frame] = {Label, Screen};
  };
  auto Menu = [&](int32_t Frame, int Item) { Twin->Click(Frame, 79, 27 + 37 * Item); };
  auto Row = [](int Row) { return 175 + 20 * Row + 9; };

  Twin->MoveMouse(2, 560, 420);
  Show(1, "logo", 5);
  Show(205, "credits", 5);
  for (int Item = 0; Item < 4; ++Item) {
    Menu(210 + 30 * Item, Item);
    Twin->MoveMouse(212 + 30 * Item, 500, Row(0));
    Show(235 + 30 * Item, std::vector<std::string>{"new-game", "high-scores", "options", "help"}[Item],
         int16_t(Item + 1));
  }
  // A landscape pack played to its end: ten levels, each won with five revealed differences.
  Menu(340, 0);
  Twin->Click(350, 500, Row(0));
  Show(355, "pre-level", 9);
  int32_t F = 360;
  for (int Level = 1; Level <= 10; F += 130, ++Level) {
    Twin->Click(F, 530, 445);
    for (int K = 0; K < 5; ++K) Twin->Press(F + 110 + K + (K >= 3 ? 5 : 0), 36);
    Twin->MoveMouse(F + 111, 600, 200);
    if (Level == 1) Show(F + 114, "level-landscape", 10);
    if (Level == 1) Show(F + 122, "level-complete", 10);
    if (Level < 10) Twin->Click(F + 125, 600, 588);
  }
  Show(F - 5, "pack-complete", 10);
  Twin->Click(F, 530, 445);
  int32_t Typed = F + 3;
  for (int Letter : {50, 30, 19, 23, 49, 30}) Twin->Press(Typed++, Letter);  // M a r i n a
  Show(F + 12, "name-entry", 55);
  Twin->Press(F + 15, 28);
  Show(F + 25, "high-scores-after", 2);
  // A portrait level, three differences found, then lost by missing.
  Menu(F + 30, 0);
  Twin->Click(F + 40, 500, Row(2));
  Twin->Click(F + 45, 460, 445);
  for (int K = 0; K < 3; ++K) Twin->Press(F + 160 + K, 36);
  Twin->MoveMouse(F + 165, 600, 530);
  Show(F + 170, "level-portrait", 10);
  for (int K = 0; K < 16; ++K) Twin->Click(F + 175 + 2 * K, 300, 250);
  Show(F + 215, "game-over", 10);
  EXPECT_EQ(RunFrames(F + 220), 0);

  ASSERT_EQ(Twin->Results.size(), Expected.size());
  auto Want = Expected.begin();
  for (const auto& R : Twin->Results) {
    EXPECT_EQ(R.Label, Want->second.first);
    EXPECT_EQ(R.Screen, Want->second.second) << R.Label;
    EXPECT_LT(R.Share, VisibleShare) << R.Label;
    EXPECT_LT(R.Mean, MeanLimit) << R.Label;
    std::printf("%-18s visibly different %.4f%%, mean difference %.3f\n", R.Label.c_str(), 100 * R.Share, R.Mean);
    ++Want;
  }
}

}  // namespace
}  // namespace pikora::test
