#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/ComponentError.h"
#include "engine/SdlGfxEngine.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

// Pictures decoded in the background must come out as the ones decoded on demand, and a
// failure must still belong to the LoadTexture of that picture.
TEST(PrefetchTest, BackgroundDecodingGivesTheSamePicturesAndTheSameFailures) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  SdlPaceFrames = false;
  TempFolder Folder;
  SDL_Surface* S = SDL_CreateRGBSurfaceWithFormat(0, 64, 32, 32, SDL_PIXELFORMAT_ARGB8888);
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 64; ++X)
      static_cast<uint32_t*>(S->pixels)[Y * (S->pitch / 4) + X] =
          (X + Y) % 7 == 0 ? 0xFFFF00FFu : 0x80000000u | uint32_t(X * 4) << 16 | uint32_t(Y * 8) << 8 | 0x40;
  for (const char* Name : {"early.png", "late.png"}) ASSERT_EQ(IMG_SavePNG(S, (Folder / Name).c_str()), 0);
  SDL_FreeSurface(S);
  WriteFile(Folder / "damaged.png", "\x89PNG\r\n\x1a\n not a picture");

  WindowHandle Handle;
  SdlGfxEngine Engine(DrawPath::Pixman);
  Engine.Initialise(&Handle, Folder.Path.string(), 800, 600, false, 0, 0, 0, 0);
  Engine.PrefetchPictures({"early.png", "damaged.png", "absent.png"});
  Texture Early, Late;
  Engine.LoadTexture(Early, "early.png", 0xFF00FF);
  Engine.LoadTexture(Late, "late.png", 0xFF00FF);
  auto Drawn = [&](const Texture& T) {
    Engine.BeginFrame(0, 0, 90);
    Engine.DrawSprite(T, 10, 10, 64, 32, 0, 100, 0, 0, 0, 0, -1, -1);
    return Engine.ReadSurface();
  };
  EXPECT_EQ(Drawn(Early), Drawn(Late));

  for (const auto& [Name, Cause] : {std::pair{"damaged.png", "\"damaged.png\": "}, {"absent.png", "cannot read \"absent.png\""}}) {
    Texture Failed;
    try {
      Engine.LoadTexture(Failed, Name, 0);
      ADD_FAILURE() << Name << " loaded";
    } catch (const ComponentError& Error) {
      EXPECT_EQ(Error.Operation, "LoadTexture");
      EXPECT_EQ(Error.Cause.rfind(Cause, 0), 0u) << Error.Cause;
    }
  }
  // Work still queued at shutdown is waited for, not left running.
  Engine.PrefetchPictures({"late.png"});
  Engine.Shutdown();
}

}  // namespace
}  // namespace pikora::test
