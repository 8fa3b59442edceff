#include "app/SideMenu.h"

#include <cmath>

#include "app/Input.h"
#include "app/Particles.h"
#include "app/Random.h"

namespace pikora {

namespace {

struct MenuRow {
  const char* Name;
  const char* Caption;
  float Y;
};
constexpr MenuRow MenuRows[] = {
    {"Menu_New", "Nova Igra", 15},   {"Menu_Scores", "Top Lista", 52}, {"Menu_Options", "Postavke", 89},
    {"Menu_Help", "Pomoc", 126},     {"Menu_Credits", "Zasluge", 163}, {"Menu_Exit", "Izlaz", 200},
};

void TakeMenuAction(size_t Index) {
  if (Index <= 4)
    GameScreen = int16_t(Index + 1);
  else
    GameRunning = false;
}

}  // namespace

void BuildMenu() {
  for (size_t I = 0; I < std::size(MenuRows); ++I) {
    MenuItem& Item = MenuItems[I];
    Item.Name = MenuRows[I].Name;
    Item.Caption = MenuRows[I].Caption;
    Item.X = 19;
    Item.Y = MenuRows[I].Y;
    Item.Width = 120;
    Item.Height = 25;
    Item.SrcX = 0;
    Item.SrcY = 0;
    Item.Glow = 0;
  }
}

void DrawMenuBackground() {
  SideMenuVisible = true;
  Gfx->DrawSprite(TexBackground, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600, -1, -1);
  Gfx->DrawSprite(TexSky, -100, -225, 512, 512, float(FrameCounter / 4.0), 30, 0, 0, 1024, 1024, -1, -1);
  Gfx->DrawSprite(TexSideMenu, 0, 0, 256, 512, 0, 50, 0, 0, 0, 0, -1, -1);
  if (!GameOptions.Particle) return;
  for (int16_t Index = 0; Index <= 5; ++Index) {
    const float R1 = Rnd();
    const float R2 = Rnd();
    const float R3 = Rnd();
    const float Y = float(10 + 37 * Index);
    const float VX = float(Int(2 * R1) + 1);
    const float VY = float(Int(3 * R2) + 1);
    if (Index == 5)
      ParticleFX(true, 6, 125, Y, VX, VY, 2, 5 * R3 + 15, true);
    else if (Index == GameScreen - 1)
      ParticleFX(true, 4, 125, Y, VX, VY, 2, 5 * R3 + 25, true);
    else
      ParticleFX(true, 7, 125, Y, VX, VY, 2, 5 * R3 + 15, true);
  }
}

void DrawTitleBanner(const Texture& Banner) {
  Gfx->DrawSprite(Banner, 240, 0, 512, 128, float(std::sin(FrameCounter / 10.0)), 70, 0, 0, 0, 0, -1, -1);
}

void DrawMenuItem(MenuItem& Item, const Texture& ButtonTexture, const std::string& FontName) {
  if (IsMouseIn(Item.X, Item.Y, Item.Width, Item.Height)) {
    if (Item.Glow < 85) Item.Glow += 5;
    HoveredMenuItem = Item.Name;
  } else {
    if (Item.Glow == 0) Item.Glow = 40;
    if (Item.Glow > 40) Item.Glow -= 1;
    if (HoveredMenuItem == Item.Name) HoveredMenuItem.clear();
  }
  Gfx->DrawSprite(ButtonTexture, Item.X, Item.Y, Item.Width, Item.Height, float(std::sin(FrameCounter / 15.0)),
                  Item.Glow, float(Item.SrcX), float(Item.SrcY), 0, 0, -1, -1);
  Gfx->DrawText(FontName, float(Round(Item.X)), float(Round(Item.Y)), float(Round(Item.Width)),
                float(Round(Item.Height)), Item.Caption, ColourARGB(255, 255, 255, 255), 5);
  if (!MouseState.Button) return;
  // Every item makes the test against the name hovered at this moment, so a click in the
  // frame the cursor left a button still reaches that button through the items before it.
  for (size_t Index = 0; Index <= 5; ++Index)
    if (HoveredMenuItem == MenuItems[Index].Name) TakeMenuAction(Index);
}

void SideMenuPass() {
  const int32_t Current = GameScreen - 1;
  if (Current >= 0 && Current < int32_t(MenuItems.size())) {
    const MenuItem& Item = MenuItems[size_t(Current)];
    const uint32_t Rim = ColourARGB(255, 255, 50, 50);
    constexpr float Offsets[4][2] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
    for (const auto& Offset : Offsets)
      Gfx->DrawText("titleS", Item.X + Offset[0], Item.Y + Offset[1], 120, 25, Item.Caption, Rim, 5);
  }
  for (auto& Item : MenuItems)
    if (!Item.Name.empty()) DrawMenuItem(Item, TexButton, "titleS");
}

}  // namespace pikora
