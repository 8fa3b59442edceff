#pragma once
// The real engine with a random player at the controls: every call goes to the SDL engine
// except the keyboard and mouse polls, which a seeded script answers. The script aims at
// whatever the current screen offers, so a long run reaches every screen.
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <map>
#include <set>

#include "engine/SdlGfxEngine.h"

namespace pikora::test {

// What one long run saw, over all its program starts.
struct SoakLog {
  int64_t Frames = 0;    // EndFrame calls
  int64_t Clicks = 0;
  int64_t Keys = 0;
  int64_t DifferenceAims = 0;  // pointer moves into an unfound difference
  std::set<int16_t> Screens;
  std::map<int16_t, int64_t> FramesOn;  // by the screen a frame ended on
  int32_t MostParticlesDrawn = 0;  // particle-texture draws in one frame, a two-layer particle once
  int32_t MostParticlesLive = 0;
  int64_t ParticleFaults = 0;  // frames over the store's size or with a live slot of no known kind
  int64_t Escapes = 0, Closes = 0, Screenshots = 0, DebugToggles = 0;
  int64_t LevelsWon = 0, PacksCompleted = 0, GamesOver = 0, NameEntries = 0;
  int64_t Stop = 0;  // from this frame on the player only asks to quit
};

class RandomInputEngine : public GfxEngine {
 public:
  RandomInputEngine(std::mt19937& Rng, SoakLog& Log) : Rng(Rng), Log(Log), Real(std::make_shared<SdlGfxEngine>()) {}

  void SetDebugMode(bool On) override { Real->SetDebugMode(On); }
  bool IsDebugMode() override { return Real->IsDebugMode(); }
  void Initialise(WindowHandle* Window, const std::string& GameFolder, float Width, float Height, bool FullScreen,
                  int32_t R1, int32_t R2, int32_t R3, int32_t R4) override {
    Real->Initialise(Window, GameFolder, Width, Height, FullScreen, R1, R2, R3, R4);
  }
  void SetActive(bool On) override { Real->SetActive(On); }
  void Shutdown() override { Real->Shutdown(); }
  void BeginFrame(int32_t R, int32_t G, int32_t B) override;
  void EndFrame() override;
  bool KeyDown(int32_t ScanCode) override;
  void OnKeyS() override {
    ++Log.Screenshots;
    Real->OnKeyS();
  }
  void GetMouseState(MouseStateRecord& State, int32_t Reserved) override;
  void LoadTexture(Texture& Out, const std::string& FileName, uint32_t ColourKey) override {
    Real->LoadTexture(Out, FileName, ColourKey);
  }
  void DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle, int32_t Opacity,
                  float SrcX, float SrcY, float Width, float Height, float CentreX, float CentreY) override;
  void SetTint(int32_t R, int32_t G, int32_t B) override {
    Tint = {R, G, B};
    Real->SetTint(R, G, B);
  }
  void DrawBitmapText(const Texture& Font, const std::string& Text, float X, float Y, float Scale, float Angle,
                      int32_t Opacity, float R, float G, float B) override {
    Real->DrawBitmapText(Font, Text, X, Y, Scale, Angle, Opacity, R, G, B);
  }
  void CreateFont(const std::string& Name, const std::string& Face, int32_t Size, bool Bold, bool Italic) override {
    Real->CreateFont(Name, Face, Size, Bold, Italic);
  }
  void DrawText(const std::string& FontName, float X, float Y, float Width, float Height, const std::string& Text,
                uint32_t Colour, int32_t Format) override {
    Real->DrawText(FontName, X, Y, Width, Height, Text, Colour, Format);
  }
  void LoadSound(const std::string& Name, const std::string& File) override { Real->LoadSound(Name, File); }
  void PlaySound(const std::string& Name, int32_t R1, int32_t Volume, int32_t R2, int32_t Extra) override {
    Real->PlaySound(Name, R1, Volume, R2, Extra);
  }
  void DoEvents() override { Real->DoEvents(); }
  void LastMousePosition(int32_t& X, int32_t& Y) override;

 private:
  // Decides this frame's input the first time the game asks for any of it.
  void Plan();
  void Aim(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1);  // a point of the box, edges included
  void AimAtScreen();
  void AimAtLevel();
  void AimAtMenu();
  void ChooseKey();
  bool Chance(double P) { return std::uniform_real_distribution<double>(0, 1)(Rng) < P; }
  int32_t Pick(int32_t Low, int32_t High) { return std::uniform_int_distribution<int32_t>(Low, High)(Rng); }
  void PushEvent(uint32_t Type, SDL_Scancode Code = SDL_SCANCODE_UNKNOWN);

  std::mt19937& Rng;
  SoakLog& Log;
  std::shared_ptr<SdlGfxEngine> Real;
  int64_t PlannedFor = -1;
  int32_t MouseX = 400, MouseY = 300;
  bool Click = false;
  int32_t PlannedKey = 0;
  int16_t LastScreen = 0;
  bool WasWon = false, WasPackDone = false, WasOver = false;  // for counting what the frame changed
  bool SharpRun = false;
  double Skill = 0.8;  // share of a level's clicks aimed at an unfound difference
  std::array<int32_t, 3> Tint{255, 255, 255};
  int32_t ParticleDraws = 0, PaleLayerDraws = 0;  // kind 5 draws its pale layer first
};

}  // namespace pikora::test
