#pragma once
// The game's shared records and module-level globals.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Colour.h"
#include "engine/Components.h"

namespace pikora {

// ---- Numbers -------------------------------------------------------------------------
// Conversions to integers round halves to the even neighbour...
inline int32_t Round(double Value) { return static_cast<int32_t>(std::nearbyint(Value)); }
// ...except where the game floors (scores, random choices).
inline double Int(double Value) { return std::floor(Value); }

// ---- Frame and screens ---------------------------------------------------------------
extern bool GameRunning;
extern int32_t FrameCounter;
extern float LogoFade;
extern int16_t GameScreen;
extern bool SideMenuVisible;
extern bool CursorOverButton;

// ---- Side menu -----------------------------------------------------------------------
struct MenuItem {
  std::string Name;
  float X = 0, Y = 0;
  float Height = 0;
  float Width = 0;
  int16_t SrcX = 0, SrcY = 0;
  std::string Caption;
  int16_t Glow = 0;
};
extern std::array<MenuItem, 51> MenuItems;
extern std::string HoveredMenuItem;

// ---- Input and particles -------------------------------------------------------------
extern MouseStateRecord MouseState;

struct ParticleSlot {
  int16_t Life = 0;
  int16_t Kind = 0;
  float X = 0, Y = 0;
  float VX = 0, VY = 0;
  float Spin = 0;
  float Angle = 0;
  bool FadeOut = false;
};
extern std::array<ParticleSlot, 151> Particles;

// ---- Packs ---------------------------------------------------------------------------
extern int16_t SelectedPack;
extern int16_t PackIndex;
// The first pack row shown on the pack screens; lists longer than the panels scroll.
extern int16_t PackScroll;
extern uint32_t PackRowColour;
extern std::string NumOfLevelsText;
extern std::string PackInfoText;
extern std::vector<std::string> PackList;
// Why the last run ended before its level could be shown; the pack list says it until the
// next run starts.
extern std::string PackMessage;

// ---- Textures (in load order) ---------------------------------------------------------
extern Texture TexBackGameH, TexBackGameV, TexGameMask, TexBackground, TexSky, TexMouse, TexButton,
    TexBrightLogo, TexProgressRoom, TexProgressBar, TexProgressBarIn, TexParticles, TexSideMenu,
    TexNewGameSelection, TexHighScores, TexPackInfo, TexClue, TexClueSelection, TexHighScorePacks, TexHelp,
    TexMenuNewGame, TexMenuHighScores, TexMenuOptions, TexMenuHelp, TexMenuName, TexFontDefault;

struct TextureEntry {
  const char* File;
  uint32_t ColourKey;
  Texture* Slot;
};
// The 26 interface pictures of pictures.pkr, in load order.
extern const std::array<TextureEntry, 26> TextureTable;

extern Texture OriginalPicture;
extern Texture ModifiedPicture;

// ---- Options -------------------------------------------------------------------------
struct Options {
  bool Screen = true;  // True: in a window
  bool Music = true;
  bool Sound = true;
  bool Particle = true;
  bool ScreenChanged = false;
  bool ScreenAtStart = true;
};
extern Options GameOptions;

// ---- The running pack and level ------------------------------------------------------
struct Difference {
  float Left = 0, Right = 0, Top = 0, Bottom = 0;
  bool Found = false;
};
extern std::array<Difference, 6> Differences;
extern std::array<bool, 51> LevelPlayed;
extern int32_t NumOfLevels;
extern bool Vertical;
extern std::string CurrentPackFile;
extern std::string PictureName;

extern float Score;
extern float Level;
extern std::string LevelText;
extern float TimeUsed;
extern bool LevelRunning;
extern bool LevelCompleteShown;
extern bool CursorOnOriginal;
extern int32_t PictureOffsetX, PictureOffsetY;
extern float LevelFade;
extern bool JokerAvailable;
extern float JokerFade;
extern bool PackCompleted;
extern bool NextLevelClicked;
extern bool EndSoundPending;
extern std::string PlayerName;

// Puts every global back to its value at program load (tests run Main more than once).
void ResetGlobals();

// ---- The game folder -----------------------------------------------------------------
// The folder of the executable, without a trailing separator.
extern std::string AppPath;
// A path of the game folder; "\" separators and a leading separator are accepted.
std::string GamePath(const std::string& RelativePath);
// Deletes a working file of the game folder; a failure is a run-time error unless ignored.
void DeleteGameFile(const std::string& RelativePath, bool IgnoreErrors = false);

}  // namespace pikora
