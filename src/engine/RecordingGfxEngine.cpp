#include "engine/RecordingGfxEngine.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/ComponentError.h"
#include "engine/PictureReader.h"

namespace pikora {

namespace {
std::string Lower(std::string Text) {
  std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char C) { return std::tolower(C); });
  return Text;
}
}  // namespace

void RecordingGfxEngine::MoveMouse(int32_t Frame, int32_t X, int32_t Y) {
  auto& F = Script[Frame];
  F.MoveMouse = true;
  F.X = X;
  F.Y = Y;
}

void RecordingGfxEngine::Click(int32_t Frame, int32_t X, int32_t Y) {
  MoveMouse(Frame, X, Y);
  Script[Frame].Click = true;
}

void RecordingGfxEngine::Press(int32_t Frame, int32_t ScanCode) { Script[Frame].Keys.push_back(ScanCode); }

void RecordingGfxEngine::RequestClose(int32_t Frame) { Script[Frame].CloseRequest = true; }

std::vector<RecordedCall> RecordingGfxEngine::CallsOf(const std::string& Op) const {
  std::vector<RecordedCall> Out;
  for (const auto& C : Calls)
    if (C.Op == Op) Out.push_back(C);
  return Out;
}

std::vector<RecordedCall> RecordingGfxEngine::CallsIn(int32_t Frame) const {
  std::vector<RecordedCall> Out;
  for (const auto& C : Calls)
    if (C.Frame == Frame) Out.push_back(C);
  return Out;
}

std::vector<RecordedCall> RecordingGfxEngine::CallsIn(int32_t Frame, const std::string& Op) const {
  std::vector<RecordedCall> Out;
  for (const auto& C : Calls)
    if (C.Frame == Frame && C.Op == Op) Out.push_back(C);
  return Out;
}

std::vector<RecordedCall> RecordingGfxEngine::SpritesIn(int32_t Frame, const std::string& TextureFile) const {
  std::vector<RecordedCall> Out;
  for (const auto& C : Calls)
    if (C.Frame == Frame && C.Op == "DrawSprite" && C.Name == TextureFile) Out.push_back(C);
  return Out;
}

std::vector<RecordedCall> RecordingGfxEngine::TextsIn(int32_t Frame, const std::string& Text) const {
  std::vector<RecordedCall> Out;
  for (const auto& C : Calls)
    if (C.Frame == Frame && (C.Op == "DrawText" || C.Op == "DrawBitmapText") && C.Text == Text) Out.push_back(C);
  return Out;
}

void RecordingGfxEngine::Record(const std::string& Op, const std::string& Name, const std::string& Text,
                                std::vector<double> Num) {
  Calls.push_back({CurrentFrame, Op, Name, Text, std::move(Num)});
}

// The first poll after a presented frame opens the next frame and applies its script.
void RecordingGfxEngine::StartPolling() {
  if (FrameOpen) return;
  FrameOpen = true;
  ++CurrentFrame;
  if (OnFrame) OnFrame(CurrentFrame, *this);
  auto It = Script.find(CurrentFrame);
  if (It != Script.end() && It->second.MoveMouse) {
    MouseX = It->second.X;
    MouseY = It->second.Y;
  }
  if ((It != Script.end() && It->second.CloseRequest) || (CloseAtFrame > 0 && CurrentFrame == CloseAtFrame))
    DeliverClose();
}

void RecordingGfxEngine::DeliverClose() {
  ++CloseRequestsDelivered;
  Record("CloseRequest");
  if (Window && Window->CloseRequested) Window->CloseRequested();
}

std::string RecordingGfxEngine::Resolve(const std::string& File) const {
  std::string Path = File;
  for (char& C : Path)
    if (C == '\\') C = '/';
  while (!Path.empty() && Path.front() == '/') Path.erase(0, 1);
  return GameFolder.empty() ? Path : GameFolder + "/" + Path;
}

void RecordingGfxEngine::SetDebugMode(bool On) {
  Record("SetDebugMode", {}, {}, {On ? -1.0 : 0.0});
  Debug = On;
}

bool RecordingGfxEngine::IsDebugMode() {
  Record("IsDebugMode");
  return Debug || DebugMode;
}

void RecordingGfxEngine::Initialise(WindowHandle* W, const std::string& Folder, float Width, float Height,
                                    bool FullScreen, int32_t R1, int32_t R2, int32_t R3, int32_t R4) {
  Record("Initialise", {}, Folder, {Width, Height, FullScreen ? -1.0 : 0.0, double(R1), double(R2), double(R3),
                                     double(R4)});
  Window = W;
  GameFolder = Folder;
  Initialised = true;
}

void RecordingGfxEngine::SetActive(bool Active) { Record("SetActive", {}, {}, {Active ? -1.0 : 0.0}); }

void RecordingGfxEngine::Shutdown() {
  Record("Shutdown");
  ShutDown = true;
  Window = nullptr;
}

void RecordingGfxEngine::BeginFrame(int32_t R, int32_t G, int32_t B) {
  StartPolling();
  Record("BeginFrame", {}, {}, {double(R), double(G), double(B)});
}

// A present outside the loop's own frame (the loading frame of the pack scan) belongs to
// the pass in which it is made and opens no new frame.
void RecordingGfxEngine::EndFrame() {
  Record("EndFrame");
  FrameOpen = false;
}

bool RecordingGfxEngine::KeyDown(int32_t ScanCode) {
  StartPolling();
  auto It = Script.find(CurrentFrame);
  const bool Down =
      It != Script.end() && std::find(It->second.Keys.begin(), It->second.Keys.end(), ScanCode) != It->second.Keys.end();
  Record("KeyDown", {}, {}, {double(ScanCode), Down ? -1.0 : 0.0});
  return Down;
}

void RecordingGfxEngine::OnKeyS() {
  Record("OnKeyS");
  std::error_code Error;
  if (CheckScreenshotFolder && !std::filesystem::is_directory(Resolve("screenshots"), Error) &&
      !std::filesystem::create_directory(Resolve("screenshots"), Error))
    RaiseError("OnKeyS", "cannot create " + Resolve("screenshots") + ": " + Error.message());
}

void RecordingGfxEngine::GetMouseState(MouseStateRecord& State, int32_t) {
  StartPolling();
  auto It = Script.find(CurrentFrame);
  State.X = MouseX;
  State.Y = MouseY;
  State.Button = It != Script.end() && It->second.Click;
  State.Wheel = It != Script.end() ? It->second.Wheel : 0;
  Record("GetMouseState", {}, {}, {double(State.X), double(State.Y), State.Button ? -1.0 : 0.0, double(State.Wheel)});
}

void RecordingGfxEngine::LoadTexture(Texture& Out, const std::string& FileName, uint32_t ColourKey) {
  Record("LoadTexture", FileName, {}, {double(ColourKey)});
  if (RequireFiles && !std::filesystem::is_regular_file(Resolve(FileName)))
    RaiseError("LoadTexture", "cannot load \"" + FileName + "\": file not found");
  if (DecodePictures) {
    std::ifstream In(Resolve(FileName), std::ios::binary);
    const std::string Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    try {
      DecodePicture(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
    } catch (const PictureError& Error) {
      RaiseError("LoadTexture", "\"" + FileName + "\": " + Error.what());
    }
  }
  auto Object = std::make_shared<TextureObject>();
  Object->Name = FileName;
  Out = Object;
}

void RecordingGfxEngine::DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle,
                                    int32_t Opacity, float SrcX, float SrcY, float Width, float Height, float CentreX,
                                    float CentreY) {
  Record("DrawSprite", Tex ? Tex->Name : std::string(), {},
         {X, Y, TexWidth, TexHeight, Angle, double(Opacity), SrcX, SrcY, Width, Height, CentreX, CentreY});
}

void RecordingGfxEngine::SetTint(int32_t R, int32_t G, int32_t B) {
  Record("SetTint", {}, {}, {double(R), double(G), double(B)});
}

void RecordingGfxEngine::DrawBitmapText(const Texture& Font, const std::string& Text, float X, float Y, float Scale,
                                        float Angle, int32_t Opacity, float R, float G, float B) {
  Record("DrawBitmapText", Font ? Font->Name : std::string(), Text, {X, Y, Scale, Angle, double(Opacity), R, G, B});
}

void RecordingGfxEngine::CreateFont(const std::string& Name, const std::string& Face, int32_t Size, bool Bold,
                                    bool Italic) {
  Record("CreateFont", Name, Face, {double(Size), Bold ? -1.0 : 0.0, Italic ? -1.0 : 0.0});
  FontNames.insert(Lower(Name));
}

void RecordingGfxEngine::DrawText(const std::string& FontName, float X, float Y, float Width, float Height,
                                  const std::string& Text, uint32_t Colour, int32_t Format) {
  Record("DrawText", FontName, Text, {X, Y, Width, Height, double(Colour), double(Format)});
  if (!FontNames.count(Lower(FontName))) RaiseError("DrawText", "no font named \"" + FontName + "\"");
}

void RecordingGfxEngine::LoadSound(const std::string& Name, const std::string& File) {
  Record("LoadSound", Name, File);
  if (RequireFiles && !std::filesystem::is_regular_file(Resolve(File)))
    RaiseError("LoadSound", "cannot load \"" + File + "\": file not found");
  SoundNames.insert(Name);
}

void RecordingGfxEngine::PlaySound(const std::string& Name, int32_t Reserved1, int32_t Volume, int32_t Reserved2,
                                   int32_t Extra) {
  Record("PlaySound", Name, {}, {double(Reserved1), double(Volume), double(Reserved2), double(Extra)});
  if (!SoundNames.count(Name)) RaiseError("PlaySound", "no sound named \"" + Name + "\"");
}

void RecordingGfxEngine::DoEvents() { Record("DoEvents"); }

void RecordingGfxEngine::LastMousePosition(int32_t& X, int32_t& Y) {
  X = MouseX;
  Y = MouseY;
}

}  // namespace pikora
