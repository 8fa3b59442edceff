#include "app/modRender.h"

#include "app/CreditsHelp.h"
#include "app/Input.h"
#include "app/PackScreens.h"
#include "app/Particles.h"
#include "app/SideMenu.h"
#include "app/modMain.h"
#include "game/LevelScreens.h"
#include "resources/OptionsScreen.h"
#include "scores/NameEntry.h"

namespace pikora {

namespace {

void DrawLogo() {
  Gfx->DrawSprite(TexBrightLogo, 0, 0, 1024, 1024, 0, Round(100.0 - LogoFade), 0, 0, 800, 600, -1, -1);
}

void DrawDebugReadout() {
  const uint32_t White = ColourARGB(255, 255, 255, 255);
  Gfx->DrawText("small", 710, 1, 120, 25, std::to_string(MouseState.X) + "x" + std::to_string(MouseState.Y), White,
                5);
  Gfx->DrawText("small", 160, 3, 120, 25, HoveredMenuItem, White, 5);
}

}  // namespace

void RenderFrame() {
  Gfx->BeginFrame(0, 0, 0);

  // Each test reads GameScreen afresh: a block that switches to a later screen hands
  // the same frame on to it.
  if (GameScreen == 1) NewGameScreen();
  if (GameScreen == 2) HighScoreScreen();
  if (GameScreen == 3) {
    DrawMenuBackground();
    DrawTitleBanner(TexMenuOptions);
    DrawOptionsScreen();
  }
  if (GameScreen == 4) HelpScreen();
  if (GameScreen == 5) CreditsScreen();
  if (GameScreen == 9) PreLevelScreen();
  if (GameScreen == 10) InGameScreen();
  if (GameScreen == 55) NameEntryScreen();

  if (SideMenuVisible) SideMenuPass();
  if (LogoFade != 100.0f) {
    AdvanceLogoFade();
    DrawLogo();
  }
  DrawCursor();
  CursorOverButton = false;
  if (Gfx->IsDebugMode()) DrawDebugReadout();
  ParticleFX(false, 0, 0, 0, 0, 0, 0, 200, true);
  Gfx->EndFrame();
}

}  // namespace pikora
