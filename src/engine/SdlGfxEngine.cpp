#include "engine/SdlGfxEngine.h"

#include <SDL_image.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "engine/PictureReader.h"
#include "engine/SdlKeys.h"
#include "engine/SdlText.h"

namespace pikora {

bool SdlPaceFrames = true;

std::shared_ptr<GfxEngine> MakeSdlGfxEngine() { return std::make_shared<SdlGfxEngine>(); }

namespace {

namespace fs = std::filesystem;

constexpr int PressesKept = 4;  // presses queued while nobody polls (a long load)
constexpr size_t TextCacheEntries = 512;
constexpr size_t TextCacheBudget = 48u << 20;
constexpr int MaxTextBlock = 4096;  // within every renderer's texture limit
constexpr size_t MaxLineBytes = 1u << 16;

// The byte offset of the Count-th character of UTF-8 text (its size when it has fewer).
size_t Utf8Offset(const std::string& Text, size_t Count) {
  size_t At = 0;
  for (; At < Text.size() && Count > 0; --Count)
    do ++At;
    while (At < Text.size() && (uint8_t(Text[At]) & 0xC0) == 0x80);
  return At;
}
constexpr auto FramePeriodNs = 1'000'000'000LL;  // divided by 60 per tick

std::string Lower(std::string S) {
  for (auto& C : S) C = char(std::tolower(uint8_t(C)));
  return S;
}

[[noreturn]] void RaiseSdl(const std::string& Operation, const std::string& What) {
  RaiseError(Operation, What + ": " + SDL_GetError());
}

int NextPowerOfTwo(int N) {
  int P = 1;
  while (P < N) P <<= 1;
  return P;
}

uint8_t Clamp255(double V) { return uint8_t(std::clamp(std::lround(V), 0L, 255L)); }

uint8_t OpacityAlpha(int32_t Opacity) { return uint8_t((std::clamp(Opacity, 0, 100) * 255 + 50) / 100); }

std::vector<uint8_t> ReadBytes(const fs::path& Path, bool& Ok) {
  std::ifstream In(Path, std::ios::binary);
  Ok = bool(In) && fs::is_regular_file(Path);
  if (!Ok) return {};
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// Which columns of each 16 x 16 cell hold ink; a picture without any transparency counts
// every pixel unlike the top-left one as ink.
void MeasureGlyphs(GlyphCells& T, const uint32_t* Pixels, int Width, int Height) {
  T.Left.fill(1);
  T.Right.fill(0);
  if (Width < 16 || Height < 16) return;
  const size_t Count = size_t(Width) * Height;
  const bool HasAlpha = std::any_of(Pixels, Pixels + Count, [](uint32_t P) { return (P >> 24) != 255; });
  const uint32_t Paper = Pixels[0] & 0xFFFFFF;
  auto Inked = [&](uint32_t P) { return HasAlpha ? (P >> 24) >= 64 : (P & 0xFFFFFF) != Paper; };
  for (int Cell = 0; Cell < 256; ++Cell) {
    const int X0 = (Cell % 16) * Width / 16, X1 = (Cell % 16 + 1) * Width / 16;
    const int Y0 = (Cell / 16) * Height / 16, Y1 = (Cell / 16 + 1) * Height / 16;
    int Left = X1, Right = X0 - 1;
    for (int Y = Y0; Y < Y1; ++Y) {
      const uint32_t* Row = Pixels + size_t(Y) * Width;
      for (int X = X0; X < X1; ++X)
        if (Inked(Row[X])) {
          Left = std::min(Left, X);
          Right = std::max(Right, X);
        }
    }
    if (Left <= Right) {
      T.Left[Cell] = int16_t(Left - X0);
      T.Right[Cell] = int16_t(Right - X0);
    }
  }
}

struct Point {
  float X, Y;
};

// Turns P clockwise (on a y-down surface) by the angle about C.
Point Turn(Point P, Point C, float Cos, float Sin) {
  const float DX = P.X - C.X, DY = P.Y - C.Y;
  return {C.X + DX * Cos - DY * Sin, C.Y + DX * Sin + DY * Cos};
}

}  // namespace

SdlGfxEngine::~SdlGfxEngine() { Shutdown(); }

// ---- Window, frames and pace -----------------------------------------------------------

void SdlGfxEngine::Initialise(WindowHandle* Handle, const std::string& GameFolder, float, float, bool FullScreen,
                              int32_t, int32_t, int32_t, int32_t) {
  const char* Op = "Initialise";
  if (Ready) RaiseError(Op, "the engine is already initialised");
  Window = Handle;
  Folder = GameFolder;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) RaiseSdl(Op, "cannot start the video system");
  VideoStarted = true;
  const std::string Driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  // Without a display, draw in software so that read-back pixels are the same everywhere.
  if (Driver == "offscreen" || Driver == "dummy") {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");  // no GL stack for a window nobody sees
  }
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  DrawPath Chosen = Path;
  if (Chosen == DrawPath::Auto) {
    std::string Why;
    Chosen = ChooseDrawPath(Why);
    std::cerr << "Pikora: drawing with " << (Chosen == DrawPath::Gl ? "OpenGL" : "pixman") << " (" << Why << ")"
              << std::endl;
  }
  Paint = Chosen == DrawPath::Gl ? MakeRendererCanvas() : MakePixmanCanvas();

  ShownCaption = Window ? Window->Caption : std::string();
  Uint32 Flags = SDL_WINDOW_RESIZABLE;
  if (FullScreen) Flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  SdlWindow = SDL_CreateWindow(ShownCaption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, SurfaceWidth,
                               SurfaceHeight, Flags);
  if (!SdlWindow) RaiseSdl(Op, "cannot open the window");
  SDL_SetWindowMinimumSize(SdlWindow, SurfaceWidth / 4, SurfaceHeight / 4);
  try {
    Paint->Open(SdlWindow, SurfaceWidth, SurfaceHeight);
  } catch (const std::exception& Error) {
    RaiseError(Op, std::string("cannot draw on the window with ") + Paint->Name() + ": " + Error.what());
  }
  Life = std::make_shared<SdlEngineLife>();
  SDL_ShowCursor(SDL_DISABLE);  // the game draws its own

  if (TTF_Init() != 0) RaiseError(Op, std::string("cannot start SDL_ttf: ") + TTF_GetError());
  TtfStarted = true;

  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    AudioStarted = true;
    AudioOpen = Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0;
    if (AudioOpen) Mix_AllocateChannels(16);
  }
  if (!AudioOpen)
    std::cerr << "Pikora: no audio device (" << SDL_GetError() << "); sound effects are off" << std::endl;

  Ready = true;
  PaceOrigin = std::chrono::steady_clock::now();
  PaceTicks = 0;
  PumpEvents();
}

void SdlGfxEngine::Shutdown() {
  Decoders.clear();
  Prefetched.clear();
  DropTextCache();
  for (auto& [Name, Entry] : Fonts)
    if (Entry.Font) TTF_CloseFont(Entry.Font);
  Fonts.clear();
  for (auto& [Name, Chunk] : Sounds)
    if (Chunk) Mix_FreeChunk(Chunk);
  Sounds.clear();
  if (AudioOpen) Mix_CloseAudio();
  AudioOpen = false;
  if (AudioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  AudioStarted = false;
  if (TtfStarted) TTF_Quit();
  TtfStarted = false;
  if (Paint) Paint->Close();
  Paint.reset();
  Life.reset();
  if (SdlWindow) SDL_DestroyWindow(SdlWindow);
  SdlWindow = nullptr;
  if (VideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  VideoStarted = false;
  Ready = false;
}

void SdlGfxEngine::RequireSurface(const char* Operation) const {
  if (!Ready) RaiseError(Operation, "the engine is not initialised");
}

void SdlGfxEngine::BeginFrame(int32_t R, int32_t G, int32_t B) {
  RequireSurface("BeginFrame");
  try {
    Paint->Clear(Clamp255(R), Clamp255(G), Clamp255(B));
  } catch (const std::exception& Error) {
    RaiseError("BeginFrame", Error.what());
  }
}

void SdlGfxEngine::EndFrame() {
  const char* Op = "EndFrame";
  RequireSurface(Op);
  if (Window && Window->Caption != ShownCaption) {
    ShownCaption = Window->Caption;
    SDL_SetWindowTitle(SdlWindow, ShownCaption.c_str());
  }
  try {
    Paint->Present();
  } catch (const std::exception& Error) {
    RaiseError(Op, Error.what());
  }
  ++FrameNumber;
  PumpEvents();
  Pace();
}

void SdlGfxEngine::Pace() {
  if (!SdlPaceFrames) return;
  using namespace std::chrono;
  ++PaceTicks;
  const auto Target = PaceOrigin + nanoseconds(PaceTicks * FramePeriodNs / 60);
  const auto Now = steady_clock::now();
  if (Now > Target + milliseconds(100)) {
    // Far behind (a load, a dragged window): start counting again instead of racing to catch up.
    PaceOrigin = Now;
    PaceTicks = 0;
    return;
  }
  std::this_thread::sleep_until(Target);
}

// ---- Events and input --------------------------------------------------------------------

void SdlGfxEngine::PumpEvents() {
  if (!VideoStarted) return;
  SDL_Event Event;
  while (SDL_PollEvent(&Event)) HandleEvent(Event);
  if (CloseAsked && !InCloseRequest) {
    if (!Window || !Window->CloseRequested) {
      CloseAsked = false;
      return;
    }
    InCloseRequest = true;
    const bool MayClose = Window->CloseRequested();
    InCloseRequest = false;
    // Refused means the game took it and ends its loop. Granted outside play (during the
    // start-up), the request stays and is asked again until the loop is there to end.
    if (!MayClose) CloseAsked = false;
  }
}

void SdlGfxEngine::HandleEvent(const SDL_Event& Event) {
  switch (Event.type) {
    case SDL_QUIT:
      CloseAsked = true;
      break;
    case SDL_WINDOWEVENT:
      if (Event.window.event == SDL_WINDOWEVENT_CLOSE) CloseAsked = true;
      break;
    case SDL_KEYDOWN: {
      if (Event.key.keysym.scancode == SDL_SCANCODE_F12 && !Event.key.repeat) DebugMode = !DebugMode;
      const int32_t Code = PcScanCode(Event.key.keysym.scancode);
      if (Code > 0) {
        Keys[size_t(Code)].Presses = std::min(Keys[size_t(Code)].Presses + 1, PressesKept);
        Keys[size_t(Code)].Arrived = FrameNumber;
      }
      break;
    }
    case SDL_MOUSEMOTION:
      SetMouse(Event.motion.x, Event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      SetMouse(Event.button.x, Event.button.y);
      if (Event.button.button == SDL_BUTTON_LEFT) {
        Clicks.Presses = std::min(Clicks.Presses + 1, PressesKept);
        Clicks.Arrived = FrameNumber;
      }
      break;
    case SDL_MOUSEWHEEL:
      WheelNotches += Event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -Event.wheel.y : Event.wheel.y;
      break;
    default:
      break;
  }
}

void SdlGfxEngine::SetMouse(int32_t X, int32_t Y) {
  if (Paint) Paint->ToSurface(X, Y);
  // Over the bars beside the surface the pointer is held at the surface's edge.
  MouseX = std::clamp(X, 0, SurfaceWidth - 1);
  MouseY = std::clamp(Y, 0, SurfaceHeight - 1);
}

bool SdlGfxEngine::TakePress(Pending& P) {
  if (P.Frame == FrameNumber) return P.Answer;
  P.Frame = FrameNumber;
  // A press nobody asked for in the frame it arrived in or the next is dropped: letters typed
  // during play must not turn up later in a name, nor a held Enter confirm it.
  if (FrameNumber - P.Arrived > 1) P.Presses = 0;
  P.Answer = P.Presses > 0;
  if (P.Answer) --P.Presses;
  return P.Answer;
}

bool SdlGfxEngine::KeyDown(int32_t ScanCode) {
  RequireSurface("KeyDown");
  PumpEvents();
  if (SdlScanCode(ScanCode) == SDL_SCANCODE_UNKNOWN) return false;
  return TakePress(Keys[size_t(ScanCode)]);
}

void SdlGfxEngine::GetMouseState(MouseStateRecord& State, int32_t) {
  RequireSurface("GetMouseState");
  PumpEvents();
  State.X = MouseX;
  State.Y = MouseY;
  State.Reserved1 = 0;
  State.Reserved2 = 0;
  State.Button = TakePress(Clicks);
  State.Wheel = WheelNotches;
  WheelNotches = 0;
}

void SdlGfxEngine::LastMousePosition(int32_t& X, int32_t& Y) {
  X = MouseX;
  Y = MouseY;
}

// ---- Files and textures ------------------------------------------------------------------

std::string SdlGfxEngine::ResolvePath(const std::string& FileName) const {
  std::string Name = FileName;
  std::replace(Name.begin(), Name.end(), '\\', '/');
  const std::string Base = Folder.empty() ? std::string(".") : Folder;
  if (!Folder.empty() && Name.rfind(Folder + "/", 0) == 0) return Name;
  Name.erase(0, Name.find_first_not_of('/'));
  const fs::path Exact = fs::path(Base) / Name;
  std::error_code Error;
  if (fs::exists(Exact, Error)) return Exact.string();
  // Names written on Windows may differ from the files in case alone.
  fs::path Found = Base;
  for (const auto& Part : fs::path(Name)) {
    if (fs::exists(Found / Part, Error)) {
      Found /= Part;
      continue;
    }
    const std::string Wanted = Lower(Part.string());
    bool Matched = false;
    for (const auto& Entry : fs::directory_iterator(Found, Error)) {
      if (Lower(Entry.path().filename().string()) == Wanted) {
        Found = Entry.path();
        Matched = true;
        break;
      }
    }
    if (!Matched) return Exact.string();
  }
  return Found.string();
}

SdlGfxEngine::DecodedPicture SdlGfxEngine::DecodeFile(const std::string& FileName) const {
  DecodedPicture Out;
  const std::string Path = ResolvePath(FileName);
  bool Ok = false;
  const std::vector<uint8_t> Bytes = ReadBytes(Path, Ok);
  if (!Ok) {
    Out.Error = "cannot read \"" + FileName + "\" (" + Path + ")";
    return Out;
  }
  RgbaImage Image;
  try {
    Image = DecodePicture(Bytes.data(), Bytes.size());
  } catch (const PictureError& Error) {
    Out.Error = "\"" + FileName + "\": " + Error.what();
    return Out;
  }
  Out.Width = Image.Width;
  Out.Height = Image.Height;
  Out.Argb.resize(size_t(Image.Width) * Image.Height);
  // RGBA bytes to ARGB words.
  for (size_t K = 0; K < Out.Argb.size(); ++K) {
    const uint8_t* P = Image.Pixels.data() + K * 4;
    Out.Argb[K] = uint32_t(P[3]) << 24 | uint32_t(P[0]) << 16 | uint32_t(P[1]) << 8 | P[2];
  }
  // Here rather than on loading: the decoders run beside the start-up.
  MeasureGlyphs(Out.Cells, Out.Argb.data(), Out.Width, Out.Height);
  return Out;
}

void SdlGfxEngine::PrefetchPictures(const std::vector<std::string>& FileNames) {
  RequireSurface("PrefetchPictures");
  // Both are worked out on first use, which is not safe from several threads at once: SDL_image
  // starts its decoders, and SDL notes the CPU's features (a wrong note, such as no SSE2, leaves
  // SDL without audio converters and every sound effect fails to load).
  IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
  SDL_SIMDGetAlignment();
  struct Work {
    std::vector<std::string> Names;
    std::vector<std::promise<DecodedPicture>> Results;
    std::atomic<size_t> Next{0};
  };
  auto Shared = std::make_shared<Work>();
  for (const auto& Name : FileNames) {
    if (Prefetched.count(Name)) continue;
    Shared->Names.push_back(Name);
    Shared->Results.emplace_back();
    Prefetched[Name] = Shared->Results.back().get_future();
  }
  const size_t Threads = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), Shared->Names.size());
  for (size_t T = 0; T < Threads; ++T)
    Decoders.emplace_back([this, Shared] {
      // In the order given, so that the first picture asked for is the first ready.
      for (size_t K; (K = Shared->Next++) < Shared->Names.size();) {
        try {
          Shared->Results[K].set_value(DecodeFile(Shared->Names[K]));
        } catch (...) {
          Shared->Results[K].set_exception(std::current_exception());
        }
      }
    });
}

void SdlGfxEngine::LoadTexture(Texture& Out, const std::string& FileName, uint32_t ColourKey) {
  const char* Op = "LoadTexture";
  RequireSurface(Op);
  DecodedPicture Picture;
  const auto Early = Prefetched.find(FileName);
  if (Early != Prefetched.end()) {
    try {
      Picture = Early->second.get();
    } catch (const std::exception& Error) {
      Picture.Error = "\"" + FileName + "\": " + Error.what();
    }
    Prefetched.erase(Early);
    if (Prefetched.empty()) {
      Decoders.clear();
      // The decoders' freed buffers sit in their threads' malloc arenas, still counted as used.
      malloc_trim(0);
    }
  } else {
    Picture = DecodeFile(FileName);
  }
  if (!Picture.Error.empty()) RaiseError(Op, Picture.Error);
  const int W = Picture.Width, H = Picture.Height;
  std::vector<uint32_t>& Packed = Picture.Argb;
  if (ColourKey != 0) {
    const uint32_t Key = ColourKey & 0xFFFFFF;
    for (auto& P : Packed)
      if ((P & 0xFFFFFF) == Key) P = 0;  // transparent black: scaled edges fade out instead of turning magenta
  }

  auto Made = std::make_shared<SdlTexture>();
  Made->Name = FileName;
  Made->Width = W;
  Made->Height = H;
  Made->PotWidth = NextPowerOfTwo(W);
  Made->PotHeight = NextPowerOfTwo(H);
  Made->Life = Life;
  if (ColourKey != 0)
    MeasureGlyphs(Made->Cells, Packed.data(), W, H);
  else
    Made->Cells = Picture.Cells;
  try {
    Made->Image = Paint->MakeImage(std::move(Packed), W, H);
  } catch (const std::exception& Error) {
    RaiseError(Op, "\"" + FileName + "\": " + Error.what());
  }
  Out = std::move(Made);
}

const SdlTexture* SdlGfxEngine::Usable(const Texture& Tex, const char* Operation) const {
  RequireSurface(Operation);
  if (!Tex) return nullptr;
  const auto* T = dynamic_cast<const SdlTexture*>(Tex.get());
  if (!T) RaiseError(Operation, "texture \"" + Tex->Name + "\" was not made by this engine");
  if (!T->Life || T->Life != Life) RaiseError(Operation, "texture \"" + Tex->Name + "\" belongs to an engine that has shut down");
  return T;
}

void SdlGfxEngine::Quad(const char* Operation, const CanvasImage& Image, const Vertex2 (&Corners)[4], SDL_Color Colour) {
  try {
    Paint->Quad(Image, Corners, Colour);
  } catch (const std::exception& Error) {
    RaiseError(Operation, Error.what());
  }
}

void SdlGfxEngine::SetTint(int32_t R, int32_t G, int32_t B) { Tint = {Clamp255(R), Clamp255(G), Clamp255(B), 255}; }

void SdlGfxEngine::DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle,
                              int32_t Opacity, float SrcX, float SrcY, float Width, float Height, float CentreX,
                              float CentreY) {
  const SdlTexture* T = Usable(Tex, "DrawSprite");
  if (!T || TexWidth <= 0 || TexHeight <= 0) return;
  const float ShownW = Width == 0 ? TexWidth : Width, ShownH = Height == 0 ? TexHeight : Height;
  const Point Centre = (CentreX == -1 && CentreY == -1) ? Point{X + ShownW / 2, Y + ShownH / 2}
                                                        : Point{X + CentreX, Y + CentreY};
  // Texels outside the texture are cut off, with the matching share of the shown size.
  const float S0 = std::max(SrcX, 0.0f), S1 = std::min(SrcX + TexWidth, float(T->PotWidth));
  const float T0 = std::max(SrcY, 0.0f), T1 = std::min(SrcY + TexHeight, float(T->PotHeight));
  if (S1 <= S0 || T1 <= T0) return;
  const float ScaleX = ShownW / TexWidth, ScaleY = ShownH / TexHeight;
  const float Left = X + (S0 - SrcX) * ScaleX, Right = X + (S1 - SrcX) * ScaleX;
  const float Top = Y + (T0 - SrcY) * ScaleY, Bottom = Y + (T1 - SrcY) * ScaleY;
  const float U0 = S0 / T->PotWidth, U1 = S1 / T->PotWidth, V0 = T0 / T->PotHeight, V1 = T1 / T->PotHeight;

  Point P[4] = {{Left, Top}, {Right, Top}, {Right, Bottom}, {Left, Bottom}};
  if (Angle != 0) {
    const double Radians = double(Angle) * M_PI / 180.0;
    const float Cos = float(std::cos(Radians)), Sin = float(std::sin(Radians));
    for (auto& Corner : P) Corner = Turn(Corner, Centre, Cos, Sin);
  }
  const Vertex2 Corners[4] = {{P[0].X, P[0].Y, U0, V0}, {P[1].X, P[1].Y, U1, V0}, {P[2].X, P[2].Y, U1, V1},
                              {P[3].X, P[3].Y, U0, V1}};
  Quad("DrawSprite", *T->Image, Corners, {Tint.r, Tint.g, Tint.b, OpacityAlpha(Opacity)});
}

// Glyph advance: each glyph takes its inked width plus a gap of 1/16 of a cell; an empty
// cell (the space) advances 3/10 of a cell. Widths are measured once, when the texture loads.
void SdlGfxEngine::DrawBitmapText(const Texture& Font, const std::string& Text, float X, float Y, float Scale,
                                  float Angle, int32_t Opacity, float R, float G, float B) {
  const SdlTexture* T = Usable(Font, "DrawBitmapText");
  if (!T || Text.empty() || Scale == 0) return;
  const float CellW = T->PotWidth / 16.0f, CellH = T->PotHeight / 16.0f;
  const float TexelsPerPixel = float(T->PotWidth) / T->Width;
  const float Gap = CellW / 16, Space = CellW * 0.3f;

  struct Glyph {
    float Pen, Width;
    int Cell;
  };
  std::vector<Glyph> Glyphs;
  float Pen = 0;
  for (uint32_t Cp : CodePoints(Text)) {
    const int Cell = Cp < 256 ? int(Cp) : '?';
    if (T->Cells.Left[Cell] > T->Cells.Right[Cell]) {
      Pen += Space;
      continue;
    }
    const float Inked = (T->Cells.Right[Cell] - T->Cells.Left[Cell] + 1) * TexelsPerPixel;
    Glyphs.push_back({Pen, Inked, Cell});
    Pen += Inked + Gap;
  }
  if (Glyphs.empty()) return;
  const float TextW = (Pen - Gap) * Scale, TextH = CellH * Scale;
  const Point Centre{X + TextW / 2, Y + TextH / 2};
  const double Radians = double(Angle) * M_PI / 180.0;
  const float Cos = float(std::cos(Radians)), Sin = float(std::sin(Radians));
  const SDL_Color Colour{Clamp255(R), Clamp255(G), Clamp255(B), OpacityAlpha(Opacity)};
  for (const auto& G0 : Glyphs) {
    const float CellX = float((G0.Cell % 16) * T->Width / 16), CellY0 = float((G0.Cell / 16) * T->Height / 16);
    const float CellY1 = float((G0.Cell / 16 + 1) * T->Height / 16);
    const float U0 = (CellX + T->Cells.Left[G0.Cell]) / T->Width, U1 = (CellX + T->Cells.Right[G0.Cell] + 1) / T->Width;
    const float V0 = CellY0 / T->Height, V1 = CellY1 / T->Height;
    const float L = X + G0.Pen * Scale, Rt = L + G0.Width * Scale;
    Point P[4] = {{L, Y}, {Rt, Y}, {Rt, Y + TextH}, {L, Y + TextH}};
    if (Angle != 0)
      for (auto& Corner : P) Corner = Turn(Corner, Centre, Cos, Sin);
    const Vertex2 Corners[4] = {{P[0].X, P[0].Y, U0, V0}, {P[1].X, P[1].Y, U1, V0}, {P[2].X, P[2].Y, U1, V1},
                                {P[3].X, P[3].Y, U0, V1}};
    Quad("DrawBitmapText", *T->Image, Corners, Colour);
  }
}

// ---- Fonts and text ------------------------------------------------------------------------

void SdlGfxEngine::CreateFont(const std::string& Name, const std::string& Face, int32_t Size, bool Bold,
                              bool Italic) {
  const char* Op = "CreateFont";
  RequireSurface(Op);
  if (Size <= 0) RaiseError(Op, "font \"" + Name + "\": size " + std::to_string(Size) + " is not usable");
  FontFile File;
  try {
    File = FindFontFile(Face, Bold, Italic);
  } catch (const std::exception& Error) {
    RaiseError(Op, "font \"" + Name + "\": " + Error.what());
  }
  TTF_Font* Font = TTF_OpenFontIndexDPI(File.Path.c_str(), Size, File.Index, 96, 96);
  if (!Font) RaiseError(Op, "font \"" + Name + "\": cannot open " + File.Path + ": " + TTF_GetError());
  TTF_SetFontStyle(Font, (File.NeedBold ? TTF_STYLE_BOLD : 0) | (File.NeedItalic ? TTF_STYLE_ITALIC : 0));
  auto& Entry = Fonts[Lower(Name)];
  if (Entry.Font) {
    DropTextCache();
    TTF_CloseFont(Entry.Font);
  }
  Entry.Font = Font;
}

void SdlGfxEngine::DropTextCache() {
  TextCache.clear();
  TextAges.clear();
  TextCacheBytes = 0;
}

SdlGfxEngine::CachedText& SdlGfxEngine::RenderedText(const std::string& Key, TTF_Font* Font, const std::string& Text,
                                                       float Width, float Height, int32_t Format) {
  if (auto Hit = TextCache.find(Key); Hit != TextCache.end()) {
    TextAges.splice(TextAges.begin(), TextAges, Hit->second.Age);
    return Hit->second;
  }
  ++TextRasterisations;
  const char* Op = "DrawText";
  auto Measure = [Font](const std::string& Line) {
    int W = 0, H = 0;
    TTF_SizeUTF8(Font, Line.c_str(), &W, &H);
    return W;
  };
  std::vector<std::string> Lines = LayoutLines(AsUtf8(Text), Format & TextFormat::WordWrap, Width, Measure);
  // No box shows more of a line than this; keep the end that its alignment shows.
  for (std::string& Line : Lines)
    if (Line.size() > MaxLineBytes) {
      const size_t Cut = Line.size() - MaxLineBytes;
      const bool CentreH = Format & TextFormat::CentreH, Right = !CentreH && (Format & TextFormat::Right);
      size_t From = CentreH ? Cut / 2 : Right ? Cut : 0, To = From + MaxLineBytes;
      while (From > 0 && (uint8_t(Line[From]) & 0xC0) == 0x80) --From;
      while (To < Line.size() && (uint8_t(Line[To]) & 0xC0) == 0x80) ++To;
      Line = Line.substr(From, To - From);
    }
  const int Skip = TTF_FontLineSkip(Font), LineH = TTF_FontHeight(Font);
  std::vector<int> Widths;
  int BlockW = 0;
  for (const auto& Line : Lines) {
    Widths.push_back(Line.empty() ? 0 : Measure(Line));
    BlockW = std::max(BlockW, Widths.back());
  }
  const int Count = int(Lines.size());
  const int BlockH = (Count - 1) * Skip + LineH;

  CachedText Entry;
  const bool CentreH = Format & TextFormat::CentreH, Right = !CentreH && (Format & TextFormat::Right);
  Entry.OffsetX = CentreH ? (Width - BlockW) / 2 : Right ? Width - BlockW : 0.0f;
  const float Laid = float(Count * Skip);
  Entry.OffsetY = (Format & TextFormat::CentreV) ? (Height - Laid) / 2 : (Format & TextFormat::Bottom) ? Height - Laid : 0.0f;

  // Only what can be seen is rasterised, so a text of any length fits in a texture: the box
  // when the text is clipped, else a surface's size around it.
  const bool Clip = !(Format & TextFormat::NoClip) && Width > 0 && Height > 0;
  const float ViewX0 = Clip ? 0.0f : -float(SurfaceWidth), ViewY0 = Clip ? 0.0f : -float(SurfaceHeight);
  const float ViewX1 = std::min(Clip ? Width : Width + SurfaceWidth, ViewX0 + float(MaxTextBlock));
  const float ViewY1 = std::min(Clip ? Height : Height + SurfaceHeight, ViewY0 + float(MaxTextBlock));
  const int BX0 = std::max(0, int(std::floor(ViewX0 - Entry.OffsetX)));
  const int BY0 = std::max(0, int(std::floor(ViewY0 - Entry.OffsetY)));
  const int BX1 = std::min(BlockW, int(std::ceil(ViewX1 - Entry.OffsetX)));
  const int BY1 = std::min(BlockH, int(std::ceil(ViewY1 - Entry.OffsetY)));
  if (BX1 > BX0 && BY1 > BY0) {
    SDL_Surface* Block = SDL_CreateRGBSurfaceWithFormat(0, BX1 - BX0, BY1 - BY0, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!Block) RaiseSdl(Op, "cannot lay out a text");
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> BlockGuard(Block, SDL_FreeSurface);
    // White paper with no alpha, so blending the glyphs on keeps their edges white.
    SDL_FillRect(Block, nullptr, 0x00FFFFFF);
    for (int I = 0; I < Count; ++I) {
      if (Lines[I].empty() || I * Skip >= BY1 || I * Skip + LineH <= BY0) continue;
      const int LineX = CentreH ? (BlockW - Widths[I]) / 2 : Right ? BlockW - Widths[I] : 0;
      // Of a line wider than the view, only the characters that reach into it.
      size_t From = 0, Length = Lines[I].size();
      int SkippedWidth = 0;
      if (LineX < BX0 || LineX + Widths[I] > BX1) {
        int Fits = 0;
        if (BX0 > LineX) TTF_MeasureUTF8(Font, Lines[I].c_str(), BX0 - LineX, &SkippedWidth, &Fits);
        From = Utf8Offset(Lines[I], size_t(Fits));
        int Extent = 0, Shown = 0;
        TTF_MeasureUTF8(Font, Lines[I].c_str() + From, BX1 - LineX - SkippedWidth, &Extent, &Shown);
        Length = Utf8Offset(Lines[I], size_t(Fits) + size_t(Shown) + 1) - From;
      }
      if (Length == 0) continue;
      const std::string Part = Lines[I].substr(From, Length);
      SDL_Surface* Line = TTF_RenderUTF8_Blended(Font, Part.c_str(), SDL_Color{255, 255, 255, 255});
      if (!Line) RaiseError(Op, std::string("cannot render a text: ") + TTF_GetError());
      SDL_SetSurfaceBlendMode(Line, SDL_BLENDMODE_BLEND);
      SDL_Rect At{LineX + SkippedWidth - BX0, I * Skip - BY0, Line->w, Line->h};
      SDL_BlitSurface(Line, nullptr, Block, &At);
      SDL_FreeSurface(Line);
    }
    const int InkW = BX1 - BX0, InkH = BY1 - BY0;
    try {
      Entry.Handle = Paint->MakeInk(static_cast<const uint32_t*>(Block->pixels), InkW, InkH);
    } catch (const std::exception& Error) {
      RaiseError(Op, std::string("cannot make a texture for a text: ") + Error.what());
    }
    Entry.Width = InkW;
    Entry.Height = InkH;
    Entry.OffsetX += float(BX0);
    Entry.OffsetY += float(BY0);
    Entry.Bytes = size_t(InkW) * InkH * 4;
    LargestTextBlock = std::max({LargestTextBlock, InkW, InkH});
  }
  TextAges.push_front(Key);
  Entry.Age = TextAges.begin();
  TextCacheBytes += Entry.Bytes;
  auto& Stored = TextCache.emplace(Key, Entry).first->second;
  while (TextCache.size() > 1 && (TextCache.size() > TextCacheEntries || TextCacheBytes > TextCacheBudget)) {
    auto Oldest = TextCache.find(TextAges.back());
    TextCacheBytes -= Oldest->second.Bytes;
    TextCache.erase(Oldest);
    TextAges.pop_back();
  }
  return Stored;
}

void SdlGfxEngine::DrawText(const std::string& FontName, float X, float Y, float Width, float Height,
                            const std::string& Text, uint32_t Colour, int32_t Format) {
  const char* Op = "DrawText";
  RequireSurface(Op);
  const auto Found = Fonts.find(Lower(FontName));
  if (Found == Fonts.end()) RaiseError(Op, "no font named \"" + FontName + "\"");
  if (Text.empty()) return;

  std::string Key = Lower(FontName);
  Key += '\0';
  Key += Text;
  Key += '\0';
  const int32_t Layout = Format & (TextFormat::CentreH | TextFormat::Right | TextFormat::CentreV |
                                   TextFormat::Bottom | TextFormat::WordWrap | TextFormat::NoClip);
  Key.append(reinterpret_cast<const char*>(&Width), sizeof Width);
  Key.append(reinterpret_cast<const char*>(&Height), sizeof Height);
  Key.append(reinterpret_cast<const char*>(&Layout), sizeof Layout);
  const CachedText& Block = RenderedText(Key, Found->second.Font, Text, Width, Height, Layout);
  if (!Block.Handle) return;

  // Whole pixels keep the glyphs sharp.
  const float Left = std::nearbyint(X + Block.OffsetX), Top = std::nearbyint(Y + Block.OffsetY);
  float L = Left, T = Top, R = Left + Block.Width, B = Top + Block.Height;
  // A box without area clips nothing rather than everything.
  if (!(Format & TextFormat::NoClip) && Width > 0 && Height > 0) {
    L = std::max(L, X);
    T = std::max(T, Y);
    R = std::min(R, X + Width);
    B = std::min(B, Y + Height);
    if (R <= L || B <= T) return;
  }
  // The pixels whose centres lie in the clipped block, as a rasteriser picks them.
  const int PL = int(std::ceil(L - 0.5f)), PT = int(std::ceil(T - 0.5f));
  const int PR = int(std::ceil(R - 0.5f)), PB = int(std::ceil(B - 0.5f));
  if (PR <= PL || PB <= PT) return;
  try {
    Paint->Ink(*Block.Handle, PL, PT, PL - int(Left), PT - int(Top), PR - PL, PB - PT,
               {uint8_t(Colour >> 16), uint8_t(Colour >> 8), uint8_t(Colour), uint8_t(Colour >> 24)});
  } catch (const std::exception& Error) {
    RaiseError(Op, Error.what());
  }
}

// ---- Sound effects -------------------------------------------------------------------------

void SdlGfxEngine::LoadSound(const std::string& Name, const std::string& File) {
  const char* Op = "LoadSound";
  RequireSurface(Op);
  const std::string Path = ResolvePath(File);
  std::error_code Error;
  if (!fs::is_regular_file(Path, Error)) RaiseError(Op, "sound \"" + Name + "\": cannot read \"" + File + "\" (" + Path + ")");
  Mix_Chunk* Chunk = nullptr;
  if (AudioOpen) {
    Chunk = Mix_LoadWAV(Path.c_str());
    if (!Chunk) RaiseError(Op, "sound \"" + Name + "\": \"" + File + "\" cannot be decoded: " + Mix_GetError());
  } else {
    // Silent, but a broken file is still reported as it would be with a device.
    SDL_AudioSpec Spec;
    Uint8* Buffer = nullptr;
    Uint32 Length = 0;
    if (!SDL_LoadWAV(Path.c_str(), &Spec, &Buffer, &Length))
      RaiseSdl(Op, "sound \"" + Name + "\": \"" + File + "\" cannot be decoded");
    SDL_FreeWAV(Buffer);
  }
  auto& Slot = Sounds[Lower(Name)];
  if (Slot) Mix_FreeChunk(Slot);
  Slot = Chunk;
}

void SdlGfxEngine::PlaySound(const std::string& Name, int32_t, int32_t Volume, int32_t, int32_t) {
  const char* Op = "PlaySound";
  RequireSurface(Op);
  const auto Found = Sounds.find(Lower(Name));
  if (Found == Sounds.end()) RaiseError(Op, "no sound named \"" + Name + "\"");
  if (!Found->second) return;
  int Channel = Mix_GroupAvailable(-1);
  if (Channel < 0) {
    Channel = Mix_GroupOldest(-1);
    if (Channel >= 0) Mix_HaltChannel(Channel);
  }
  if (Channel < 0) return;
  Mix_Volume(Channel, std::clamp(Volume, 0, 100) * MIX_MAX_VOLUME / 100);
  if (Mix_PlayChannel(Channel, Found->second, 0) < 0)
    RaiseError(Op, "sound \"" + Name + "\" cannot be played: " + Mix_GetError());
}

// ---- Surface read-back and screenshots -------------------------------------------------------

std::vector<uint32_t> SdlGfxEngine::ReadSurface() {
  RequireSurface("ReadSurface");
  try {
    return Paint->Read();
  } catch (const std::exception& Error) {
    RaiseError("ReadSurface", Error.what());
  }
}

void SdlGfxEngine::OnKeyS() {
  const char* Op = "OnKeyS";
  RequireSurface(Op);
  // Held S repeats; one picture per half second is plenty.
  const auto Now = std::chrono::steady_clock::now();
  if (!LastScreenshot.empty() && Now - LastScreenshotAt < std::chrono::milliseconds(500)) return;
  std::vector<uint32_t> Pixels = ReadSurface();
  const fs::path Dir = fs::path(Folder.empty() ? "." : Folder) / "screenshots";
  std::error_code Error;
  fs::create_directories(Dir, Error);
  if (Error) RaiseError(Op, "cannot create " + Dir.string() + ": " + Error.message());

  const auto Wall = std::chrono::system_clock::now();
  const std::time_t Seconds = std::chrono::system_clock::to_time_t(Wall);
  const auto Millis = std::chrono::duration_cast<std::chrono::milliseconds>(Wall.time_since_epoch()).count() % 1000;
  std::tm Local{};
  localtime_r(&Seconds, &Local);
  char Stamp[64];
  // The presented-frame count in the name lets scripts that drive the game wait in frames.
  std::snprintf(Stamp, sizeof Stamp, "pikora-%04d%02d%02d-%02d%02d%02d-%03d-f%07lld", Local.tm_year + 1900,
                Local.tm_mon + 1, Local.tm_mday, Local.tm_hour, Local.tm_min, Local.tm_sec, int(Millis),
                static_cast<long long>(FrameNumber));
  fs::path File = Dir / (std::string(Stamp) + ".png");
  for (int N = 2; fs::exists(File, Error); ++N) File = Dir / (std::string(Stamp) + "-" + std::to_string(N) + ".png");

  SDL_Surface* Shot = SDL_CreateRGBSurfaceWithFormatFrom(Pixels.data(), SurfaceWidth, SurfaceHeight, 32,
                                                         SurfaceWidth * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!Shot) RaiseSdl(Op, "cannot hold the screenshot");
  // Written beside its final name and renamed, so nobody ever sees half a picture.
  const fs::path Partial = fs::path(File.string() + ".part");
  const int Saved = IMG_SavePNG(Shot, Partial.string().c_str());
  SDL_FreeSurface(Shot);
  if (Saved != 0) RaiseError(Op, "cannot write " + File.string() + ": " + IMG_GetError());
  fs::rename(Partial, File, Error);
  if (Error) RaiseError(Op, "cannot write " + File.string() + ": " + Error.message());
  LastScreenshot = File.string();
  LastScreenshotAt = Now;
}

}  // namespace pikora
