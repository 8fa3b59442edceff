#include "soak/RandomInput.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "app/modDeclares.h"

namespace pikora::test {

namespace {

// Set-1 scan codes of the keys a player types: digits, then the letters.
constexpr std::array<int32_t, 36> TypedKeys{2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 16, 17, 18, 19, 20, 21, 22, 23,
                                            24, 25, 30, 31, 32, 33, 34, 35, 36, 37, 38, 44, 45, 46, 47, 48, 49, 50};

struct Point {
  int32_t X, Y;
};

Point PictureOffset(bool Original) {
  if (Vertical) return {Original ? 185 : 471, 100};
  return {350, Original ? 29 : 315};
}

}  // namespace

void RandomInputEngine::BeginFrame(int32_t R, int32_t G, int32_t B) {
  Log.Screens.insert(GameScreen);
  ParticleDraws = PaleLayerDraws = 0;
  Real->BeginFrame(R, G, B);
}

void RandomInputEngine::EndFrame() {
  Log.Screens.insert(GameScreen);
  const int32_t Drawn = ParticleDraws - PaleLayerDraws;
  int32_t Live = 0;
  bool UnknownKind = false;
  for (const ParticleSlot& P : Particles)
    if (P.Life >= 1) {
      ++Live;
      UnknownKind |= P.Kind < 0 || P.Kind > 7;
    }
  Log.MostParticlesDrawn = std::max(Log.MostParticlesDrawn, Drawn);
  Log.MostParticlesLive = std::max(Log.MostParticlesLive, Live);
  if (Drawn > int32_t(Particles.size()) || UnknownKind) ++Log.ParticleFaults;
  ++Log.FramesOn[GameScreen];
  const bool Over = GameScreen == 10 && TimeUsed > 406;
  Log.LevelsWon += LevelCompleteShown && !WasWon;
  Log.PacksCompleted += PackCompleted && !WasPackDone;
  Log.GamesOver += Over && !WasOver;
  WasWon = LevelCompleteShown, WasPackDone = PackCompleted, WasOver = Over;
  ++Log.Frames;
  Real->EndFrame();
}

void RandomInputEngine::DrawSprite(const Texture& Tex, float X, float Y, float TexWidth, float TexHeight, float Angle,
                                   int32_t Opacity, float SrcX, float SrcY, float Width, float Height, float CentreX,
                                   float CentreY) {
  if (Tex && Tex == TexParticles) {
    ++ParticleDraws;
    if (Tint == std::array<int32_t, 3>{255, 248, 170}) ++PaleLayerDraws;
  }
  Real->DrawSprite(Tex, X, Y, TexWidth, TexHeight, Angle, Opacity, SrcX, SrcY, Width, Height, CentreX, CentreY);
}

bool RandomInputEngine::KeyDown(int32_t ScanCode) {
  Plan();
  return PlannedKey != 0 && ScanCode == PlannedKey;
}

void RandomInputEngine::GetMouseState(MouseStateRecord& State, int32_t Reserved) {
  Plan();
  (void)Reserved;
  State.X = MouseX;
  State.Y = MouseY;
  State.Button = Click;
}

void RandomInputEngine::LastMousePosition(int32_t& X, int32_t& Y) {
  Plan();
  X = MouseX;
  Y = MouseY;
}

void RandomInputEngine::PushEvent(uint32_t Type, SDL_Scancode Code) {
  SDL_Event Event{};
  Event.type = Type;
  if (Type == SDL_KEYDOWN) {
    Event.key.keysym.scancode = Code;
    Event.key.state = SDL_PRESSED;
  }
  SDL_PushEvent(&Event);
}

void RandomInputEngine::Aim(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) {
  // The engine keeps the pointer on the surface; so does the player.
  X0 = std::clamp(X0, 0, 799), X1 = std::clamp(X1, X0, 799);
  Y0 = std::clamp(Y0, 0, 599), Y1 = std::clamp(Y1, Y0, 599);
  MouseX = Pick(X0, X1);
  MouseY = Pick(Y0, Y1);
}

void RandomInputEngine::Plan() {
  if (PlannedFor == Log.Frames) return;
  PlannedFor = Log.Frames;
  Log.Screens.insert(GameScreen);
  Click = false;
  PlannedKey = 0;
  if (Log.Frames >= Log.Stop) {
    PlannedKey = Key::Escape;  // on the name entry this stores the result, then quits
    // A game deaf to Escape still has to let the window close.
    if ((Log.Frames - Log.Stop) % 100 == 99) PushEvent(SDL_QUIT);
    if (Log.Frames - Log.Stop > 1000) throw std::runtime_error("the game does not end on Escape or a close request");
    return;
  }
  Log.NameEntries += GameScreen == 55 && LastScreen != 55;
  if (GameScreen == 9 && LastScreen != 9) {
    // A new run may get a sharp-eyed player who sees the pack through; otherwise each level
    // gets a fairly good, a careless, or a hopeless one.
    // Whole packs only once every screen has been seen: a short run must still see them all.
    if (LastScreen != 10) SharpRun = Chance(0.4) && Log.Screens.size() >= 8;
    const double R = std::uniform_real_distribution<double>(0, 1)(Rng);
    Skill = SharpRun ? 0.97 : R < 0.55 ? 0.9 : R < 0.9 ? 0.3 : 0.0;
  }
  LastScreen = GameScreen;

  const double R = std::uniform_real_distribution<double>(0, 1)(Rng);
  if (R < 0.06) {
    AimAtScreen();
    Click = true;
  } else if (R < 0.08) {
    Click = true;
  } else if (R < 0.11) {
    AimAtScreen();
  } else if (R < 0.12) {
    Aim(0, 0, 799, 599);
  } else if (R < 0.40) {
    Aim(MouseX - 6, MouseY - 6, MouseX + 6, MouseY + 6);
  }
  if (Click) ++Log.Clicks;
  ChooseKey();
  if (PlannedKey) ++Log.Keys;

  if (Chance(1.0 / 10000)) {
    PushEvent(SDL_QUIT);  // the window's close button
    ++Log.Closes;
  }
  if (Chance(1.0 / 12000)) {
    PushEvent(SDL_KEYDOWN, SDL_SCANCODE_F12);  // the engine's debug switch
    ++Log.DebugToggles;
  }
}

void RandomInputEngine::ChooseKey() {
  if (GameScreen == 55) {
    if (!Chance(0.12)) return;
    const double R = std::uniform_real_distribution<double>(0, 1)(Rng);
    PlannedKey = R < 0.7    ? TypedKeys[size_t(Pick(0, TypedKeys.size() - 1))]
                 : R < 0.8  ? Key::Space
                 : R < 0.9  ? Key::Backspace
                 : R < 0.98 ? Key::Enter
                            : Key::Escape;
    return;
  }
  if (Chance(SharpRun && GameScreen >= 9 ? 1.0 / 30000 : 1.0 / 2500)) {
    PlannedKey = Key::Escape;
    ++Log.Escapes;
  } else if (Chance(0.01)) {
    const double R = std::uniform_real_distribution<double>(0, 1)(Rng);
    do PlannedKey = TypedKeys[size_t(Pick(0, TypedKeys.size() - 1))];
    while (PlannedKey == Key::S);
    if (R >= 0.5) PlannedKey = R < 0.7 ? Key::Space : R < 0.8 ? Key::Backspace : R < 0.9 ? Key::Enter : Key::J;
  } else if (Chance(1.0 / 25000)) {
    PlannedKey = Key::S;
  }
}

void RandomInputEngine::AimAtScreen() {
  switch (GameScreen) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      AimAtMenu();
      return;
    case 9: {
      const double R = std::uniform_real_distribution<double>(0, 1)(Rng);
      const int32_t StartX = Vertical ? 340 : 410;
      if (R < 0.75)
        Aim(StartX + 1, 421, StartX + 239, 469);
      else if (R < 0.8)
        AimAtLevel();  // exit and joker sit where they do in the level
      else
        Aim(0, 0, 799, 599);
      return;
    }
    case 10:
      AimAtLevel();
      return;
    case 55:
      if (Chance(0.6))
        Aim(341, 289, 459, 312);  // "UNESI"
      else
        Aim(0, 0, 799, 599);
      return;
    default:
      Aim(0, 0, 799, 599);
  }
}

void RandomInputEngine::AimAtMenu() {
  const double R = std::uniform_real_distribution<double>(0, 1)(Rng);
  if (R < 0.01) {
    Aim(19, 200, 139, 225);  // "Izlaz"
  } else if (R < 0.45) {
    const int32_t Item = Pick(0, 4);
    Aim(19, 15 + 37 * Item, 139, 40 + 37 * Item);
  } else if (R < 0.85 && (GameScreen == 1 || GameScreen == 2) && !PackList.empty()) {
    const int32_t Row = Pick(0, int32_t(PackList.size()) - 1);
    const int32_t Left = GameScreen == 1 ? 360 : 405, Width = GameScreen == 1 ? 305 : 190;
    Aim(Left + 1, 175 + 20 * Row + 1, Left + Width - 1, 175 + 20 * Row + 17);
  } else if (R < 0.85 && GameScreen == 3) {
    const int32_t Y = 157 + 50 * Pick(0, 3), X = Chance(0.5) ? 320 : 600;
    Aim(X, Y, X + 100, Y + 20);
  } else {
    Aim(0, 0, 799, 599);
  }
}

void RandomInputEngine::AimAtLevel() {
  const double R = std::uniform_real_distribution<double>(0, 1)(Rng);
  const int32_t ButtonX = Vertical ? 340 : 410;  // the result button of both overlays
  const bool Over = LevelCompleteShown || TimeUsed > 406;
  if (R < (SharpRun ? 0.0005 : 0.03)) {
    if (Vertical)
      Aim(671, 566, 759, 583);  // "I Z L A Z"
    else
      Aim(709, 580, 797, 597);
  } else if (R < 0.08) {
    if (Vertical)
      Aim(414, 566, 502, 583);  // the joker
    else
      Aim(161, 293, 229, 310);
  } else if (Over && R < 0.85) {
    if (LevelCompleteShown && !PackCompleted && Level <= NumOfLevels) {
      const int32_t Y0 = Vertical ? 565 : 579;
      // Its hot area runs under "I Z L A Z", which wins there: a player aims at the button itself.
      Aim(561, Y0 + 1, Vertical ? 651 : 700, Y0 + 18);  // "SLJEDECI NIVO"
    } else {
      Aim(ButtonX + 1, 421, ButtonX + 239, 469);  // "UNESI REZULTAT"
    }
  } else if (!Over && R < 0.08 + 0.92 * Skill) {
    std::vector<int32_t> Unfound;
    for (int32_t I = 1; I <= 5; ++I)
      if (!Differences[size_t(I)].Found) Unfound.push_back(I);
    if (Unfound.empty()) return AimAtLevel();
    const Difference& D = Differences[size_t(Unfound[size_t(Pick(0, int32_t(Unfound.size()) - 1))])];
    const Point Off = PictureOffset(Chance(0.5));
    const auto Lo = [](float V) { return int32_t(std::ceil(V)); };
    const auto Hi = [](float V, float Floor) { return std::max(int32_t(std::floor(V)), int32_t(std::ceil(Floor))); };
    Aim(Off.X + Lo(D.Left), Off.Y + Lo(D.Top), Off.X + Hi(D.Right, D.Left), Off.Y + Hi(D.Bottom, D.Top));
    ++Log.DifferenceAims;
  } else if (R < 0.97) {
    const Point Off = PictureOffset(Chance(0.5));
    Aim(Off.X, Off.Y, Off.X + (Vertical ? 256 : 380), Off.Y + (Vertical ? 380 : 256));
  } else {
    Aim(0, 0, 799, 599);
  }
}

}  // namespace pikora::test
