#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <squish.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <tuple>
#include <vector>

#include "DdsTestFiles.h"
#include "engine/ComponentError.h"
#include "engine/SdlGfxEngine.h"
#include "engine/SdlKeys.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t Blue = 0xFF0000FF, Black = 0xFF000000;

struct Box {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
  bool Empty() const { return Right < Left; }
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
  float CentreX() const { return (Left + Right) / 2.0f; }
  float CentreY() const { return (Top + Bottom) / 2.0f; }
};

// Writes a picture whose pixels come from Colour(x, y) as ARGB.
void WritePicture(const fs::path& Path, int W, int H, const std::function<uint32_t(int, int)>& Colour) {
  fs::create_directories(Path.parent_path());
  SDL_Surface* S = SDL_CreateRGBSurfaceWithFormat(0, W, H, 32, SDL_PIXELFORMAT_ARGB8888);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      static_cast<uint32_t*>(S->pixels)[Y * (S->pitch / 4) + X] = Colour(X, Y);
  if (Path.extension() == ".bmp") {
    SDL_Surface* Rgb = SDL_ConvertSurfaceFormat(S, SDL_PIXELFORMAT_RGB24, 0);
    ASSERT_EQ(SDL_SaveBMP(Rgb, Path.string().c_str()), 0);
    SDL_FreeSurface(Rgb);
  } else {
    ASSERT_EQ(IMG_SavePNG(S, Path.string().c_str()), 0);
  }
  SDL_FreeSurface(S);
}

// Every case runs on both drawing paths.
class SdlEngineTest : public ::testing::TestWithParam<DrawPath> {
 protected:
  SdlEngineTest() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SdlPaceFrames = false;
    Handle.Caption = "Pikora test";
    Handle.CloseRequested = [this] {
      ++CloseRequests;
      return false;
    };
    Engine = std::make_unique<SdlGfxEngine>(GetParam());
    Engine->Initialise(&Handle, Folder.Path.string(), 800, 600, false, 0, 0, 0, 0);
  }

  uint32_t Pixel(int X, int Y) { return Surface.at(size_t(Y) * 800 + X); }
  std::vector<uint32_t> Pixels(std::initializer_list<std::pair<int, int>> At) {
    std::vector<uint32_t> Out;
    for (auto [X, Y] : At) Out.push_back(Pixel(X, Y));
    return Out;
  }
  void Read() { Surface = Engine->ReadSurface(); }
  // Pixels unlike the background, within an optional region.
  Box Ink(uint32_t Background, int X0 = 0, int Y0 = 0, int X1 = 799, int Y1 = 599) {
    Box B;
    for (int Y = Y0; Y <= Y1; ++Y)
      for (int X = X0; X <= X1; ++X)
        if (Pixel(X, Y) != Background) {
          B.Left = std::min(B.Left, X), B.Right = std::max(B.Right, X);
          B.Top = std::min(B.Top, Y), B.Bottom = std::max(B.Bottom, Y);
        }
    return B;
  }
  Texture Load(const std::string& Name, uint32_t Key = 0) {
    Texture T;
    Engine->LoadTexture(T, Name, Key);
    return T;
  }
  // The call throws a ComponentError for Op whose cause names Named.
  static void ExpectFailure(const std::function<void()>& Call, const std::string& Op, const std::string& Named) {
    try {
      Call();
      ADD_FAILURE() << Op << " did not fail";
    } catch (const ComponentError& E) {
      EXPECT_EQ(E.Operation, Op);
      EXPECT_NE(E.Cause.find(Named), std::string::npos) << E.Cause;
    }
  }
  // An event for this window: every window event keeps its window ID at the same place.
  SDL_Event Event(uint32_t Type) {
    SDL_Event E{};
    E.type = Type;
    E.window.windowID = SDL_GetWindowID(Engine->WindowPtr());
    return E;
  }
  void Push(SDL_Event E) { ASSERT_EQ(SDL_PushEvent(&E), 1); }
  void PushKey(SDL_Scancode Code, bool Down, bool Repeat = false) {
    SDL_Event E = Event(Down ? SDL_KEYDOWN : SDL_KEYUP);
    E.key.state = Down ? SDL_PRESSED : SDL_RELEASED;
    E.key.repeat = Repeat;
    E.key.keysym.scancode = Code;
    Push(E);
  }
  void PushButton(int X, int Y, bool Down) {
    SDL_Event E = Event(Down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP);
    E.button.button = SDL_BUTTON_LEFT;
    E.button.state = Down ? SDL_PRESSED : SDL_RELEASED;
    E.button.x = X;
    E.button.y = Y;
    Push(E);
  }

  TempFolder Folder;
  WindowHandle Handle;
  int CloseRequests = 0;
  std::unique_ptr<SdlGfxEngine> Engine;
  std::vector<uint32_t> Surface;
};

TEST_P(SdlEngineTest, EveryTextureFormatShowsItsColours) {
  std::vector<std::pair<std::string, bool>> Files = {{"quad.png", true}};
  for (const DdsKind& K : DdsKinds) {
    Files.emplace_back(K.Name + std::string(".dds"), K.Alpha);
    const auto Bytes = DdsFile(K.Kind);
    WriteFile(Folder / Files.back().first, {Bytes.begin(), Bytes.end()});
  }
  WritePicture(Folder / "quad.png", 16, 16, [](int X, int Y) {
    const auto& C = QuadrantColours[(Y / 8) * 2 + X / 8];
    return uint32_t(C.A) << 24 | C.R << 16 | C.G << 8 | C.B;
  });
  Engine->BeginFrame(0, 0, 0);
  for (size_t I = 0; I < Files.size(); ++I) {
    const Texture T = Load(Files[I].first);
    EXPECT_EQ(T->Width, 16);
    Engine->DrawSprite(T, float(20 * I), 0, 16, 16, 0, 100, 0, 0, 0, 0, -1, -1);
  }
  Read();
  for (size_t I = 0; I < Files.size(); ++I)
    for (int Q = 0; Q < 4; ++Q) {
      const auto& C = QuadrantColours[Q];
      const int A = Files[I].second ? C.A : 255;  // blended over black
      const uint32_t Want = 0xFF000000u | uint32_t(C.R * A / 255) << 16 | uint32_t(C.G * A / 255) << 8 | (C.B * A / 255);
      const uint32_t Got = Pixel(int(20 * I) + (Q % 2) * 8 + 4, (Q / 2) * 8 + 4);
      for (int Shift : {0, 8, 16})
        EXPECT_NEAR(int(Got >> Shift & 255), int(Want >> Shift & 255), 1)
            << Files[I].first << " quadrant " << Q << " got " << std::hex << Got << " want " << Want;
    }
}

TEST_P(SdlEngineTest, ColourKeyMakesExactlyThatColourTransparent) {
  // Left half magenta, right half green, one almost-magenta column that must stay.
  WritePicture(Folder / "keyed.bmp", 16, 16, [](int X, int) {
    return X == 7 ? 0xFFFE00FFu : X < 8 ? 0xFFFF00FFu : 0xFF00FF00u;
  });
  Engine->BeginFrame(0, 0, 255);
  Engine->DrawSprite(Load("keyed.bmp", 0xFF00FF), 0, 0, 16, 16, 0, 100, 0, 0, 0, 0, -1, -1);
  Engine->DrawSprite(Load("keyed.bmp", 0), 20, 0, 16, 16, 0, 100, 0, 0, 0, 0, -1, -1);
  Read();
  // Keyed magenta shows the background; the almost-magenta column and, without a key, magenta stay.
  EXPECT_EQ(Pixels({{3, 3}, {7, 3}, {12, 3}, {23, 3}}),
            (std::vector<uint32_t>{Blue, 0xFFFE00FFu, 0xFF00FF00u, 0xFFFF00FFu}));
}

TEST_P(SdlEngineTest, TexelSpaceIsThePictureStretchedToPowersOfTwo) {
  auto Code = [](int X, int Y) { return 0xFF000000u | uint32_t(X & 255) << 16 | uint32_t(X >> 8) << 15 | uint32_t(Y); };
  WritePicture(Folder / "level.png", 380, 256, Code);
  WritePicture(Folder / "back.png", 1024, 1024,
               [](int X, int Y) { return X < 512 ? (Y < 512 ? 0xFFFF0000u : 0xFF00FF00u) : 0xFFFFFFFFu; });
  const Texture Level = Load("level.png");
  EXPECT_EQ(Level->Width, 380);
  Engine->BeginFrame(0, 0, 0);
  Engine->DrawSprite(Level, 10, 20, 512, 256, 0, 100, 0, 0, 380, 256, -1, -1);
  Read();
  int Wrong = 0;
  for (int Y = 0; Y < 256; ++Y)
    for (int X = 0; X < 380; ++X) Wrong += Pixel(10 + X, 20 + Y) != Code(X, Y);
  EXPECT_EQ(Wrong, 0) << "pixels not copied one to one";
  EXPECT_EQ(Pixel(390, 20), Black);

  Engine->BeginFrame(0, 0, 255);
  Engine->DrawSprite(Load("back.png"), 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600, -1, -1);
  Read();
  int Unfilled = 0;
  for (uint32_t P : Surface) Unfilled += P == Blue;
  EXPECT_EQ(Unfilled, 0);
  EXPECT_EQ(Pixels({{5, 5}, {5, 595}, {795, 300}}), (std::vector<uint32_t>{0xFFFF0000u, 0xFF00FF00u, 0xFFFFFFFFu}));
}

TEST_P(SdlEngineTest, SourceBeyondTheTextureIsCutNotStretched) {
  WritePicture(Folder / "red.png", 64, 64, [](int, int) { return 0xFFFF0000u; });
  Engine->BeginFrame(0, 0, 0);
  // Texels 32..96 of a 64-texel texture: only the first half exists, shown at 2x.
  Engine->DrawSprite(Load("red.png"), 100, 100, 64, 64, 0, 100, 32, 0, 128, 128, -1, -1);
  Read();
  const Box B = Ink(Black);
  EXPECT_EQ(std::tuple(B.Left, B.Width(), B.Height()), std::tuple(100, 64, 128));
}

TEST_P(SdlEngineTest, RotationOpacityAndTint) {
  WritePicture(Folder / "white.png", 64, 32, [](int, int) { return 0xFFFFFFFFu; });
  const Texture White = Load("white.png");
  Engine->BeginFrame(0, 0, 0);
  Engine->DrawSprite(White, 100, 100, 64, 32, 90, 100, 0, 0, 0, 0, -1, -1);
  Read();
  Box B = Ink(Black);
  EXPECT_NEAR(B.Width(), 32, 1);
  EXPECT_NEAR(B.Height(), 64, 1);
  EXPECT_NEAR(B.CentreX(), 132, 1);
  EXPECT_NEAR(B.CentreY(), 116, 1);

  // Turned clockwise about its top-left corner: the sprite now hangs left of that corner.
  Engine->BeginFrame(0, 0, 0);
  Engine->DrawSprite(White, 300, 300, 64, 32, 90, 100, 0, 0, 0, 0, 0, 0);
  Read();
  B = Ink(Black);
  EXPECT_NEAR(B.Left, 268, 1);
  EXPECT_NEAR(B.Right, 299, 1);
  EXPECT_NEAR(B.Top, 300, 1);

  Engine->BeginFrame(0, 0, 0);
  Engine->SetTint(255, 0, 0);
  Engine->DrawSprite(White, 0, 0, 64, 32, 0, 50, 0, 0, 0, 0, -1, -1);
  Engine->DrawSprite(White, 100, 0, 64, 32, 0, 250, 0, 0, 0, 0, -1, -1);
  Engine->SetTint(255, 255, 255);
  Engine->DrawSprite(White, 200, 0, 64, 32, 0, -5, 0, 0, 0, 0, -1, -1);
  Engine->DrawSprite(Texture(), 300, 0, 64, 32, 0, 100, 0, 0, 0, 0, -1, -1);
  Read();
  EXPECT_NEAR(int(Pixel(10, 10) >> 16 & 255), 128, 2);
  EXPECT_EQ(Pixels({{110, 10}, {210, 10}, {310, 10}}), (std::vector<uint32_t>{0xFFFF0000u, Black, Black}));
  EXPECT_EQ(Pixel(10, 10) & 0xFFFF, 0u);
}

// A large turning layer and a tinted sprite, as every menu frame draws them: the layer, which
// covers the frame, is never turned into a copy, and the tint's copy is made once.
TEST_P(SdlEngineTest, TurningAndTintedDrawsReuseTheirCopies) {
  WritePicture(Folder / "sky.png", 64, 64, [](int X, int Y) { return 0xFF000000u | uint32_t(X * 4) << 8 | uint32_t(Y * 4); });
  const Texture Sky = Load("sky.png");
  size_t First = 0;
  for (int Frame = 0; Frame < 40; ++Frame) {
    Engine->BeginFrame(0, 0, 0);
    Engine->DrawSprite(Sky, -100, -225, 64, 64, float(Frame + 1) / 4.0f, 30, 0, 0, 1024, 1024, -1, -1);
    Engine->SetTint(255, 0, 0);
    Engine->DrawSprite(Sky, 10, 10, 64, 64, float(Frame), 100, 0, 0, 0, 0, -1, -1);
    Engine->SetTint(255, 255, 255);
    Engine->EndFrame();
    if (Frame == 0) First = Engine->CanvasCopies();
  }
  EXPECT_LE(First, 1u);
  EXPECT_EQ(Engine->CanvasCopies(), First);
  Read();
  EXPECT_NE(Pixel(400, 300), Black);
  EXPECT_EQ(Pixel(40, 40) & 0xFF, 0u) << "tinted red";
}

// A small sprite turned the same way is drawn whole and in its own tint wherever it goes,
// also after the frame's edge cut it.
TEST_P(SdlEngineTest, ASmallTurnedSpriteIsWholeAndInItsTintWhereverItIsDrawn) {
  WritePicture(Folder / "spark.png", 32, 32, [](int, int) { return 0xC8FFFFFFu; });
  const Texture Spark = Load("spark.png");
  auto Draw = [&](float X, float Y, int R) {
    Engine->BeginFrame(0, 0, 0);
    Engine->SetTint(R, 255 - R, 255);
    Engine->DrawSprite(Spark, X, Y, 32, 32, 30, 100, 0, 0, 0, 0, -1, -1);
    Engine->SetTint(255, 255, 255);
    Read();
    return Ink(Black);
  };
  EXPECT_LT(Draw(-20, 100, 255).Width(), 40);
  for (int R : {0, 255}) {
    const Box B = Draw(300, 200, R);
    EXPECT_NEAR(B.Width(), 44, 2);
    EXPECT_NEAR(B.CentreX(), 316, 1);
    EXPECT_NEAR(B.CentreY(), 216, 1);
    EXPECT_NEAR(int(Pixel(316, 216) >> 16 & 255), R * 200 / 255, 2);
    EXPECT_NEAR(int(Pixel(316, 216) >> 8 & 255), (255 - R) * 200 / 255, 2);
  }
}

// A large sheet that swings slowly looks the same from frame to frame, also where it was cut
// by the frame's edge a moment before, and in each tint.
TEST_P(SdlEngineTest, ASlowlySwingingSheetIsWholeAndInItsTintWhereverItIsDrawn) {
  WritePicture(Folder / "sheet.png", 256, 256, [](int X, int Y) { return 0xC0000040u | uint32_t(X) << 16 | uint32_t(Y) << 8; });
  const Texture Sheet = Load("sheet.png");
  auto Draw = [&](float X, float Angle, int G) {
    Engine->BeginFrame(0, 0, 0);
    Engine->SetTint(255, G, 255);
    Engine->DrawSprite(Sheet, X, 100, 256, 256, Angle, 80, 0, 0, 0, 0, -1, -1);
    Engine->SetTint(255, 255, 255);
    Read();
    return Surface;
  };
  const std::vector<uint32_t> First = Draw(300, 0.5f, 255);
  Draw(-200, 0.5f, 255), Draw(-200, 0.501f, 255);
  const std::vector<uint32_t> Later = Draw(300, 0.502f, 255);
  auto Differ = [](const std::vector<uint32_t>& A, const std::vector<uint32_t>& B) {
    int Count = 0;
    for (size_t K = 0; K < A.size(); ++K)
      for (int Shift : {0, 8, 16}) Count += std::abs(int(A[K] >> Shift & 255) - int(B[K] >> Shift & 255)) > 2;
    return Count;
  };
  EXPECT_LT(Differ(First, Later), 100);
  Draw(300, 5, 255);
  EXPECT_NEAR(Ink(Black).Height(), 277, 2) << "turned on by five degrees";
  Draw(300, 0.503f, 0);
  EXPECT_EQ(Pixel(428, 228) >> 8 & 255, 0u);
  EXPECT_EQ(Pixel(428, 228) >> 16 & 255, Later[size_t(228) * 800 + 428] >> 16 & 255);
}

// A stretched picture that fills the frame, under a faint turning layer that covers only the
// middle: beside the layer it is as drawn alone, under it the two are blended.
TEST_P(SdlEngineTest, TheBackgroundShowsBesideAndThroughATurningLayer) {
  WritePicture(Folder / "back.png", 64, 64, [](int X, int Y) { return 0xFF000000u | uint32_t(X * 4) << 16 | uint32_t(Y * 4); });
  WritePicture(Folder / "blue.png", 16, 16, [](int, int) { return 0xFF0000FFu; });
  const Texture Back = Load("back.png"), Layer = Load("blue.png");
  auto Draw = [&](bool WithLayer) {
    Engine->BeginFrame(0, 0, 0);
    Engine->DrawSprite(Back, 0, 0, 64, 64, 0, 100, 0, 0, 800, 600, -1, -1);
    if (WithLayer) Engine->DrawSprite(Layer, 200, 150, 16, 16, 20, 30, 0, 0, 400, 300, -1, -1);
    Read();
  };
  Draw(false);
  const std::vector<uint32_t> Alone = Surface;
  EXPECT_NE(Alone[0], Alone[size_t(599) * 800 + 799]);
  Engine->BeginFrame(0, 255, 0);
  Read();
  Draw(true);
  for (size_t At : {size_t(0), size_t(599) * 800 + 799, size_t(150) * 800 + 799, size_t(300) * 800})
    EXPECT_EQ(Surface[At], Alone[At]);
  const uint32_t Under = Alone[size_t(300) * 800 + 400], Blended = Pixel(400, 300);
  for (int Shift : {0, 8, 16})
    EXPECT_NEAR(int(Blended >> Shift & 255), ((Shift == 0 ? 255 : 0) * 0.3 + (Under >> Shift & 255) * 0.7), 3) << Shift;
}

TEST_P(SdlEngineTest, TextAlignsEachLineInItsBox) {
  Engine->CreateFont("titleM", "Verdana", 15, true, false);
  const uint32_t White = 0xFFFFFFFF;
  auto Draw = [&](const std::string& Text, int32_t Format, float X = 100, float Y = 100, float W = 300,
                  float H = 200) {
    Engine->BeginFrame(0, 0, 0);
    Engine->DrawText("titlem", X, Y, W, H, Text, White, Format);
    Read();
    return Ink(Black);
  };
  const Box TopLeft = Draw("Pikora", 0);
  EXPECT_NEAR(TopLeft.Left, 101, 2);
  EXPECT_TRUE(TopLeft.Top >= 100 && TopLeft.Top < 110) << TopLeft.Top;

  const Box Centred = Draw("Pikora", 5);
  EXPECT_NEAR(Centred.CentreX(), 250, 2);
  EXPECT_NEAR(Centred.CentreY(), 200, 4);
  EXPECT_EQ(Centred.Width(), TopLeft.Width());

  const Box BottomRight = Draw("Pikora", 2 | 8);
  EXPECT_NEAR(BottomRight.Right, 399, 2);
  EXPECT_TRUE(BottomRight.Bottom <= 299 && BottomRight.Bottom > 285) << BottomRight.Bottom;

  // CR LF and LF break lines; each line is centred on its own.
  const Box Two = Draw("WWWWWWWW\r\ni", 1);
  const Box Three = Draw("A\nB\r\nC", 0);
  EXPECT_GT(Two.Height(), TopLeft.Height() * 3 / 2);
  EXPECT_GT(Three.Height(), Two.Height() * 3 / 2);
  Draw("WWWWWWWW\r\ni", 1);
  const Box I = Ink(Black, 0, (Two.Top + Two.Bottom) / 2 + 4, 799, 599);
  EXPECT_NEAR(I.CentreX(), 250, 2);
  EXPECT_LT(I.Width(), 6);

  // Word wrap keeps the text within the box's width; clipping cuts at the box, 256 does not.
  const std::string Long = "jedan dva tri cetiri pet sest sedam osam devet deset";
  const Box Wrapped = Draw(Long, 16, 100, 100, 120, 400);
  EXPECT_LE(Wrapped.Right, 220);
  EXPECT_GT(Wrapped.Height(), 3 * TopLeft.Height());
  const Box Clipped = Draw(Long, 0, 100, 100, 120, 400);
  EXPECT_LE(Clipped.Right, 219);
  const Box Free = Draw(Long, 256, 100, 100, 120, 400);
  EXPECT_GT(Free.Right, 300);
  const Box ClippedV = Draw("Pikora", 0, 100, 100, 300, 6);
  EXPECT_LE(ClippedV.Bottom, 105);

  // Croatian letters in UTF-8 and in Windows-1250 both draw.
  const Box Croatian = Draw("\xC4\x8D\xC4\x87\xC4\x91\xC5\xA1\xC5\xBE", 0);
  const Box Cp1250 = Draw("\xE8\xE6\xF0\x9A\x9E", 0);
  EXPECT_FALSE(Croatian.Empty());
  EXPECT_EQ(Croatian.Width(), Cp1250.Width());
}

// Texts come from packs: a value of any length draws what its box shows and nothing more.
TEST_P(SdlEngineTest, TextOfAnyLengthIsClippedToItsBoxBeforeItIsRasterised) {
  Engine->CreateFont("highscores", "Curier New", 10, true, false);
  std::string Lines;
  for (int I = 0; I < 3000; ++I) Lines += "red " + std::to_string(I) + "\r\n";
  for (const auto& [Text, Format] : std::vector<std::pair<std::string, int32_t>>{
           {std::string(6000, 'W'), 0}, {std::string(6000, 'W'), 5}, {std::string(200000, 'i') + "end", 2},
           {Lines, 5}, {Lines + std::string(9000, 'M'), 256}}) {
    Engine->BeginFrame(0, 0, 0);
    Engine->LargestTextBlock = 0;
    ASSERT_NO_THROW(Engine->DrawText("HighScores", 314, 475, 375, 120, Text, 0xFFFFFFFF, Format)) << Format;
    EXPECT_LE(Engine->LargestTextBlock, Format == 256 ? 4096 : 376) << Format;
    Read();
    const Box Drawn = Ink(Black);
    EXPECT_FALSE(Drawn.Empty()) << Format;
    EXPECT_TRUE(Format == 256 || (Drawn.Left >= 314 && Drawn.Right < 689 && Drawn.Top >= 475 && Drawn.Bottom < 595));
  }
}

TEST_P(SdlEngineTest, FontsAndTextsAreFoundAndCached) {
  Engine->CreateFont("small", "Verdana", 8, false, false);
  Engine->CreateFont("highscores", "Curier New", 10, true, false);
  Engine->BeginFrame(0, 0, 0);
  for (int Frame = 0; Frame < 3; ++Frame) {
    Engine->DrawText("SMALL", 10, 10 + Frame, 100, 20, "412x300", 0xFFFFFFFF, 5);
    Engine->DrawText("HighScores", 10, 50, 100, 20, "1. Ana", 0xFF00FF00, 0);
    Engine->DrawText("HighScores", 12, 52, 100, 20, "1. Ana", 0xFF000000, 0);  // its shadow
    Engine->EndFrame();
  }
  EXPECT_EQ(Engine->TextRasterisations, 2u);
  for (int N = 0; N < 2000; ++N) Engine->DrawText("small", 0, 0, 100, 20, std::to_string(N), 0xFFFFFFFF, 0);
  EXPECT_LE(Engine->CachedTexts(), 512u);

  ExpectFailure([&] { Engine->DrawText("nosuchfont", 0, 0, 10, 10, "x", 0xFFFFFFFF, 0); }, "DrawText", "nosuchfont");
}

TEST_P(SdlEngineTest, BitmapTextUsesTheGlyphCellsAndTheirWidths) {
  // A 256 x 256 font: 16 x 16 cells; 'A' is 4 pixels wide, 'B' 8, the rest empty.
  WritePicture(Folder / "font.png", 256, 256, [](int X, int Y) {
    const int Cell = (Y / 16) * 16 + X / 16, Column = X % 16;
    const bool Ink = (Cell == 'A' && Column >= 6 && Column < 10) || (Cell == 'B' && Column >= 4 && Column < 12);
    return Ink ? 0xFFFFFFFFu : 0x00000000u;
  });
  const Texture Font = Load("font.png");
  Engine->BeginFrame(0, 0, 0);
  Engine->DrawBitmapText(Font, "AB", 10, 10, 1, 0, 100, 255, 0, 0);
  Engine->DrawBitmapText(Font, "AB", 10, 100, 2, 0, 100, 0, 255, 0);
  Engine->DrawBitmapText(Font, "A B", 10, 200, 1, 0, 100, 255, 255, 255);
  Read();
  const Box One = Ink(Black, 0, 0, 799, 50);
  EXPECT_EQ(std::tuple(One.Left, One.Width(), One.Height()), std::tuple(10, 4 + 1 + 8, 16));  // a 1/16-cell gap
  const Box Two = Ink(Black, 0, 60, 799, 150);
  EXPECT_EQ(std::pair(Two.Width(), Two.Height()), std::pair(26, 32));
  EXPECT_EQ(Pixels({{12, 12}, {12, 110}}), (std::vector<uint32_t>{0xFFFF0000u, 0xFF00FF00u}));
  EXPECT_GT(Ink(Black, 0, 190, 799, 250).Width(), One.Width() + 3);  // the space advances

  Engine->BeginFrame(0, 0, 0);
  Engine->DrawBitmapText(Font, "AB", 100, 100, 2, 90, 100, 255, 255, 255);
  Read();
  const Box Turned = Ink(Black);
  EXPECT_NEAR(Turned.Width(), 32, 1);
  EXPECT_NEAR(Turned.Height(), 26, 1);
  EXPECT_NEAR(Turned.CentreX(), 113, 1);
  EXPECT_NEAR(Turned.CentreY(), 116, 1);
}

TEST(DrawPathChoice, PikoraDrawDecidesAndWithoutADisplayPixmanDraws) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  const std::string Driver = SDL_GetCurrentVideoDriver();
  const char* Was = std::getenv("PIKORA_DRAW");
  const std::string Kept = Was ? Was : "", NoDisplay = "no display (" + Driver + ")";
  if (Driver == "offscreen" || Driver == "dummy")
    for (const auto& [Value, Path, Why] : std::vector<std::tuple<const char*, DrawPath, std::string>>{
             {nullptr, DrawPath::Pixman, NoDisplay}, {"", DrawPath::Pixman, NoDisplay},
             {"gl", DrawPath::Gl, "PIKORA_DRAW=gl"}, {"pixman", DrawPath::Pixman, "PIKORA_DRAW=pixman"},
             {"vulkan", DrawPath::Pixman, "PIKORA_DRAW=vulkan is neither gl nor pixman; " + NoDisplay}}) {
      Value ? setenv("PIKORA_DRAW", Value, 1) : unsetenv("PIKORA_DRAW");
      std::string Told;
      EXPECT_EQ(ChooseDrawPath(Told) == DrawPath::Gl, Path == DrawPath::Gl) << (Value ? Value : "unset");
      EXPECT_EQ(Told, Why);
    }
  Was ? setenv("PIKORA_DRAW", Kept.c_str(), 1) : unsetenv("PIKORA_DRAW");
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(SdlKeys, PcScanCodesFollowTheUsLayout) {
  for (auto [Pc, Sdl] : std::vector<std::pair<int, SDL_Scancode>>{
           {1, SDL_SCANCODE_ESCAPE}, {2, SDL_SCANCODE_1}, {10, SDL_SCANCODE_9}, {11, SDL_SCANCODE_0},
           {14, SDL_SCANCODE_BACKSPACE}, {28, SDL_SCANCODE_RETURN}, {57, SDL_SCANCODE_SPACE},
           {0, SDL_SCANCODE_UNKNOWN}, {-3, SDL_SCANCODE_UNKNOWN}, {1000, SDL_SCANCODE_UNKNOWN}})
    EXPECT_EQ(SdlScanCode(Pc), Sdl) << Pc;
  const std::string Rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const int Starts[] = {16, 30, 44};
  for (int R = 0; R < 3; ++R)
    for (size_t I = 0; I < Rows[R].size(); ++I) {
      const auto Code = SDL_Scancode(SDL_SCANCODE_A + (Rows[R][I] - 'A'));
      EXPECT_EQ(PcScanCode(Code), Starts[R] + int(I)) << Rows[R][I];
      EXPECT_EQ(SdlScanCode(Starts[R] + int(I)), Code) << Rows[R][I];
    }
}

TEST_P(SdlEngineTest, PressesAreReportedOncePerPressInTheFrameThatPolls) {
  PushKey(SDL_SCANCODE_S, true);
  PushKey(SDL_SCANCODE_S, false);  // pressed and released before the poll
  EXPECT_TRUE(Engine->KeyDown(Key::S));
  EXPECT_TRUE(Engine->KeyDown(Key::S));  // a second poll in the same frame agrees
  EXPECT_FALSE(Engine->KeyDown(Key::J));
  Engine->EndFrame();
  EXPECT_FALSE(Engine->KeyDown(Key::S));
  Engine->EndFrame();

  PushKey(SDL_SCANCODE_SPACE, true);
  PushKey(SDL_SCANCODE_SPACE, true, true);  // auto-repeat
  EXPECT_TRUE(Engine->KeyDown(Key::Space));
  Engine->EndFrame();
  EXPECT_TRUE(Engine->KeyDown(Key::Space));
  Engine->EndFrame();
  EXPECT_FALSE(Engine->KeyDown(Key::Space) || Engine->KeyDown(0) || Engine->KeyDown(999));

  PushButton(200, 150, true);
  PushButton(200, 150, false);
  Engine->EndFrame();  // the click waits for a poll
  MouseStateRecord State;
  Engine->GetMouseState(State, 0);
  EXPECT_EQ(std::tuple(State.Button, State.X, State.Y), std::tuple(true, 200, 150));
  Engine->EndFrame();
  Engine->GetMouseState(State, 0);
  EXPECT_FALSE(State.Button);
  int32_t X = 0, Y = 0;
  Engine->LastMousePosition(X, Y);
  EXPECT_EQ(std::pair(X, Y), std::pair(200, 150));

  // Wheel notches add up until the next poll; a flipped wheel (natural scrolling) turns them.
  for (auto [Notches, Direction] :
       {std::pair{-1, SDL_MOUSEWHEEL_NORMAL}, {-1, SDL_MOUSEWHEEL_NORMAL}, {1, SDL_MOUSEWHEEL_FLIPPED}}) {
    SDL_Event Wheel = Event(SDL_MOUSEWHEEL);
    Wheel.wheel.y = Notches;
    Wheel.wheel.direction = Direction;
    Push(Wheel);
  }
  Engine->EndFrame();
  Engine->GetMouseState(State, 0);
  EXPECT_EQ(State.Wheel, -3);
  Engine->GetMouseState(State, 0);
  EXPECT_EQ(State.Wheel, 0);

  // A letter typed while a screen asks only for other keys does not wait for a later one.
  PushKey(SDL_SCANCODE_A, true);
  PushKey(SDL_SCANCODE_A, false);
  EXPECT_FALSE(Engine->KeyDown(Key::S));
  Engine->EndFrame();
  Engine->EndFrame();
  EXPECT_FALSE(Engine->KeyDown(30));
}

TEST_P(SdlEngineTest, F12TogglesDebugModeAndCloseRequestsReachTheWindow) {
  Engine->SetDebugMode(false);
  PushKey(SDL_SCANCODE_F12, true);
  Engine->DoEvents();
  EXPECT_TRUE(Engine->IsDebugMode());

  Push(Event(SDL_QUIT));
  SDL_Event Close = Event(SDL_WINDOWEVENT);
  Close.window.event = SDL_WINDOWEVENT_CLOSE;
  Push(Close);
  Engine->EndFrame();
  EXPECT_EQ(CloseRequests, 1);
  Engine->EndFrame();
  EXPECT_EQ(CloseRequests, 1);

  Handle.Caption = "Pikora v1.0.0";
  Engine->EndFrame();
  EXPECT_STREQ(SDL_GetWindowTitle(Engine->WindowPtr()), "Pikora v1.0.0");
}

// The window grows while a frame is drawn: that frame is shown whole between bars.
TEST_P(SdlEngineTest, MouseIsInSurfacePixelsInAWiderWindow) {
  Engine->BeginFrame(0, 0, 255);
  Engine->EndFrame();
  Engine->BeginFrame(0, 0, 255);
  SDL_SetWindowSize(Engine->WindowPtr(), 1600, 600);
  Engine->DoEvents();
  int W = 0, H = 0;
  SDL_GetWindowSize(Engine->WindowPtr(), &W, &H);
  if (W != 1600) GTEST_SKIP() << "this video driver cannot resize";
  Engine->EndFrame();
  if (GetParam() == DrawPath::Pixman) {
    const SDL_Surface* Shown = SDL_GetWindowSurface(Engine->WindowPtr());
    auto At = [&](int X) { return static_cast<const uint32_t*>(Shown->pixels)[300 * Shown->pitch / 4 + X] & 0xFFFFFF; };
    EXPECT_EQ(std::pair(At(800), At(100)), std::pair(0x0000FFu, 0u));
  }
  SDL_Event Move = Event(SDL_MOUSEMOTION);
  Move.motion.x = 500;
  Move.motion.y = 300;
  Push(Move);
  MouseStateRecord State;
  Engine->GetMouseState(State, 0);
  EXPECT_EQ(std::pair(State.X, State.Y), std::pair(100, 300));
}

TEST_P(SdlEngineTest, FailuresNameTheOperationAndTheFileAndAGoodSoundPlays) {
  Texture T;
  ExpectFailure([&] { Engine->LoadTexture(T, "missing.png", 0); }, "LoadTexture", "missing.png");
  WriteFile(Folder / "broken.jpg", "not a jpg");
  ExpectFailure([&] { Engine->LoadTexture(T, "broken.jpg", 0); }, "LoadTexture", "broken.jpg");
  const auto Bad = DdsFile(squish::kDxt5);
  WriteFile(Folder / "bad.dds", {Bad.begin(), Bad.begin() + 200});
  ExpectFailure([&] { Engine->LoadTexture(T, "bad.dds", 0); }, "LoadTexture", "bad.dds");
  EXPECT_FALSE(T);
  ExpectFailure([&] { Engine->LoadSound("click", "sound\\click.wav"); }, "LoadSound", "click.wav");
  WriteFile(Folder / "sound" / "noise.wav", "RIFF\1\2\3");
  ExpectFailure([&] { Engine->LoadSound("noise", "sound\\noise.wav"); }, "LoadSound", "noise.wav");
  ExpectFailure([&] { Engine->PlaySound("nothing", 0, 100, 0, 0); }, "PlaySound", "nothing");
  fs::copy_file(fs::path(PIKORA_SOURCE_DIR) / "data" / "sound" / "click.wav", Folder / "sound" / "click.wav");
  Engine->LoadSound("click", "\\sound\\click.wav");
  for (int I = 0; I < 40; ++I) Engine->PlaySound("click", 0, 80, 0, 40);
}

TEST_P(SdlEngineTest, NamesResolveInTheGameFolder) {
  WritePicture(Folder / "sub" / "Pic.bmp", 4, 4, [](int, int) { return 0xFF112233u; });
  for (const std::string& Name : {std::string("sub\\Pic.bmp"), std::string("\\sub\\Pic.bmp"), std::string("/sub/Pic.bmp"),
                                  std::string("SUB\\pic.BMP"), (Folder / "sub" / "Pic.bmp").string()})
    EXPECT_EQ(Load(Name)->Width, 4) << Name;
}

TEST_P(SdlEngineTest, ScreenshotIsThePngOfTheSurface) {
  Engine->BeginFrame(10, 20, 30);
  Engine->EndFrame();
  Engine->OnKeyS();
  ASSERT_FALSE(Engine->LastScreenshot.empty());
  EXPECT_EQ(fs::path(Engine->LastScreenshot).parent_path(), Folder.Path / "screenshots");
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder.Path / "screenshots"), fs::directory_iterator()), 1)
      << "nothing but the finished picture";
  SDL_Surface* Shot = IMG_Load(Engine->LastScreenshot.c_str());
  ASSERT_NE(Shot, nullptr);
  EXPECT_EQ(std::pair(Shot->w, Shot->h), std::pair(800, 600));
  SDL_Surface* Argb = SDL_ConvertSurfaceFormat(Shot, SDL_PIXELFORMAT_ARGB8888, 0);
  EXPECT_EQ(static_cast<uint32_t*>(Argb->pixels)[0] & 0xFFFFFF, 0x0A141Eu);
  SDL_FreeSurface(Argb);
  SDL_FreeSurface(Shot);
}

TEST_P(SdlEngineTest, TexturesOutliveTheEngineSafely) {
  WritePicture(Folder / "a.png", 8, 8, [](int, int) { return 0xFFFFFFFFu; });
  Texture First = Load("a.png"), Second = Load("a.png");
  Engine->Shutdown();
  First.reset();
  EXPECT_THROW(Engine->DrawSprite(Second, 0, 0, 8, 8, 0, 100, 0, 0, 0, 0, -1, -1), ComponentError);
  Engine.reset();
  Second.reset();
}

INSTANTIATE_TEST_SUITE_P(Paths, SdlEngineTest, ::testing::Values(DrawPath::Gl, DrawPath::Pixman),
                         [](const auto& Info) { return Info.param == DrawPath::Gl ? "Gl" : "Pixman"; });

}  // namespace
}  // namespace pikora::test
