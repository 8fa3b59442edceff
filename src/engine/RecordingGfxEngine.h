#pragma once
// A graphics engine that draws nothing: it keeps every call with its arguments and plays
// scripted input frame by frame, so the real frame loop can run headless.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/GfxEngine.h"

namespace pikora {

struct RecordedCall {
  int32_t Frame = 0;         // the engine frame: 1 for the first pass of the loop
  std::string Op;            // operation name, e.g. "DrawSprite"
  std::string Name;          // texture file, font name, sound name...
  std::string Text;          // text drawn, font face, sound file...
  std::vector<double> Num;   // the numeric arguments in order

  double operator[](size_t Index) const { return Num.at(Index); }
};

struct ScriptedFrame {
  bool MoveMouse = false;
  int32_t X = 0, Y = 0;
  bool Click = false;
  int32_t Wheel = 0;  // notches, positive up
  std::vector<int32_t> Keys;  // keys pressed in this frame
  bool CloseRequest = false;
};

class RecordingGfxEngine : public GfxEngine {
 public:
  // ---- Script -----------------------------------------------------------------------
  // The mouse stays where it was last moved.
  void MoveMouse(int32_t Frame, int32_t X, int32_t Y);
  void Click(int32_t Frame, int32_t X, int32_t Y);
  void Press(int32_t Frame, int32_t ScanCode);
  void Wheel(int32_t Frame, int32_t Notches) { Script[Frame].Wheel += Notches; }
  void RequestClose(int32_t Frame);
  // A close request arrives at this frame unless the game has ended before (0 = never).
  int32_t CloseAtFrame = 0;
  // Called at the start of every frame's first poll, for tests that script as they go.
  std::function<void(int32_t Frame, RecordingGfxEngine& Engine)> OnFrame;
  // LoadTexture and LoadSound fail like the real engine when the file is missing.
  bool RequireFiles = true;
  // LoadTexture also decodes the file and fails on a damaged picture, as the real engine does.
  bool DecodePictures = false;
  // OnKeyS fails like the real engine when the game folder has no usable "screenshots" folder.
  bool CheckScreenshotFolder = false;
  bool DebugMode = false;

  // ---- Record -----------------------------------------------------------------------
  std::vector<RecordedCall> Calls;
  int32_t Frame() const { return CurrentFrame; }
  std::vector<RecordedCall> CallsOf(const std::string& Op) const;
  std::vector<RecordedCall> CallsIn(int32_t Frame) const;
  std::vector<RecordedCall> CallsIn(int32_t Frame, const std::string& Op) const;
  // Sprites of one texture file drawn in a frame.
  std::vector<RecordedCall> SpritesIn(int32_t Frame, const std::string& TextureFile) const;
  // Texts drawn in a frame whose text equals Text.
  std::vector<RecordedCall> TextsIn(int32_t Frame, const std::string& Text) const;
  void ClearCalls() { Calls.clear(); }
  std::string GameFolder;
  bool Initialised = false;
  bool ShutDown = false;
  int32_t CloseRequestsDelivered = 0;

  // ---- GfxEngine --------------------------------------------------------------------
  void SetDebugMode(bool On) override;
  bool IsDebugMode() override;
  void Initialise(WindowHandle* Window, const std::string& GameFolder, float Width, float Height, bool FullScreen,
                  int32_t Reserved1, int32_t Reserved2, int32_t Reserved3, int32_t Reserved4) override;
  void SetActive(bool Active) override;
  void Shutdown() override;
  void BeginFrame(int32_t R, int32_t G, int32_t B) override;
  void EndFrame() override;
  bool KeyDown(int32_t ScanCode) override;
  void OnKeyS() override;
  void GetMouseState(MouseStateRecord& State, int32_t Reserved) override;
  void LoadTexture(Texture& Out, const std::string& FileName, uint32_t ColourKey) override;
  void DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle, int32_t Opacity,
                  float SrcX, float SrcY, float Width, float Height, float CentreX, float CentreY) override;
  void SetTint(int32_t R, int32_t G, int32_t B) override;
  void DrawBitmapText(const Texture& Font, const std::string& Text, float X, float Y, float Scale, float Angle,
                      int32_t Opacity, float R, float G, float B) override;
  void CreateFont(const std::string& Name, const std::string& Face, int32_t Size, bool Bold, bool Italic) override;
  void DrawText(const std::string& FontName, float X, float Y, float Width, float Height, const std::string& Text,
                uint32_t Colour, int32_t Format) override;
  void LoadSound(const std::string& Name, const std::string& File) override;
  void PlaySound(const std::string& Name, int32_t Reserved1, int32_t Volume, int32_t Reserved2,
                 int32_t Extra) override;
  void DoEvents() override;
  void LastMousePosition(int32_t& X, int32_t& Y) override;

 private:
  void Record(const std::string& Op, const std::string& Name = {}, const std::string& Text = {},
              std::vector<double> Num = {});
  void StartPolling();
  void DeliverClose();
  std::string Resolve(const std::string& File) const;

  std::map<int32_t, ScriptedFrame> Script;
  std::set<std::string> FontNames;
  std::set<std::string> SoundNames;
  WindowHandle* Window = nullptr;
  int32_t CurrentFrame = 0;
  bool FrameOpen = false;  // polls of the current frame have started
  int32_t MouseX = 0, MouseY = 0;
  bool Debug = false;
};

}  // namespace pikora
