#include "app/modDeclares.h"

#include <filesystem>
#include <system_error>

#include "engine/ComponentError.h"

namespace pikora {

bool GameRunning;
int32_t FrameCounter;
float LogoFade;
int16_t GameScreen;
bool SideMenuVisible;
bool CursorOverButton;

std::array<MenuItem, 51> MenuItems;
std::string HoveredMenuItem;

MouseStateRecord MouseState;
std::array<ParticleSlot, 151> Particles;

int16_t SelectedPack;
int16_t PackIndex;
int16_t PackScroll;
uint32_t PackRowColour;
std::string NumOfLevelsText;
std::string PackInfoText;
std::vector<std::string> PackList;
std::string PackMessage;

Texture TexBackGameH, TexBackGameV, TexGameMask, TexBackground, TexSky, TexMouse, TexButton, TexBrightLogo,
    TexProgressRoom, TexProgressBar, TexProgressBarIn, TexParticles, TexSideMenu, TexNewGameSelection,
    TexHighScores, TexPackInfo, TexClue, TexClueSelection, TexHighScorePacks, TexHelp, TexMenuNewGame,
    TexMenuHighScores, TexMenuOptions, TexMenuHelp, TexMenuName, TexFontDefault;

constexpr uint32_t Magenta = 0xFF00FF;
const std::array<TextureEntry, 26> TextureTable{{
    {"back_game_h.jpg", 0, &TexBackGameH},
    {"back_game_v.jpg", 0, &TexBackGameV},
    {"gamemask.dds", 0, &TexGameMask},
    {"background.jpg", 0, &TexBackground},
    {"sky.jpg", 0, &TexSky},
    {"mouse.bmp", Magenta, &TexMouse},
    {"button.bmp", Magenta, &TexButton},
    {"brightlogo.jpg", 0, &TexBrightLogo},
    {"progressroom.dds", 0, &TexProgressRoom},
    {"progressbar.dds", 0, &TexProgressBar},
    {"progressbarin.dds", 0, &TexProgressBarIn},
    {"particles.png", 0, &TexParticles},
    {"sidemenu.dds", 0, &TexSideMenu},
    {"newgameselection.dds", 0, &TexNewGameSelection},
    {"highscores.dds", 0, &TexHighScores},
    {"packinfo.dds", 0, &TexPackInfo},
    {"clue.dds", 0, &TexClue},
    {"clueselection.dds", 0, &TexClueSelection},
    {"highscorepacks.dds", 0, &TexHighScorePacks},
    {"help.dds", 0, &TexHelp},
    {"menu_newgame.dds", 0, &TexMenuNewGame},
    {"menu_highscores.dds", 0, &TexMenuHighScores},
    {"menu_options.dds", 0, &TexMenuOptions},
    {"menu_help.dds", 0, &TexMenuHelp},
    {"menu_name.dds", 0, &TexMenuName},
    {"font_default.dds", 0, &TexFontDefault},
}};

Texture OriginalPicture;
Texture ModifiedPicture;

Options GameOptions;

std::array<Difference, 6> Differences;
std::array<bool, 51> LevelPlayed;
int32_t NumOfLevels;
bool Vertical;
std::string CurrentPackFile;
std::string PictureName;

float Score;
float Level;
std::string LevelText;
float TimeUsed;
bool LevelRunning;
bool LevelCompleteShown;
bool CursorOnOriginal;
int32_t PictureOffsetX, PictureOffsetY;
float LevelFade;
bool JokerAvailable;
float JokerFade;
bool PackCompleted;
bool NextLevelClicked;
bool EndSoundPending;
std::string PlayerName;

std::string AppPath;

void ResetGlobals() {
  GameRunning = false;
  FrameCounter = 0;
  LogoFade = 0;
  GameScreen = 0;
  SideMenuVisible = false;
  CursorOverButton = false;
  MenuItems = {};
  HoveredMenuItem.clear();
  MouseState = {};
  Particles = {};
  SelectedPack = 0;
  PackIndex = 0;
  PackScroll = 0;
  PackRowColour = 0;
  NumOfLevelsText.clear();
  PackInfoText.clear();
  PackList.clear();
  PackMessage.clear();
  for (const auto& Entry : TextureTable) Entry.Slot->reset();
  OriginalPicture.reset();
  ModifiedPicture.reset();
  GameOptions = {};
  Differences = {};
  LevelPlayed = {};
  NumOfLevels = 0;
  Vertical = false;
  CurrentPackFile.clear();
  PictureName.clear();
  Score = 0;
  Level = 0;
  LevelText.clear();
  TimeUsed = 0;
  LevelRunning = false;
  LevelCompleteShown = false;
  CursorOnOriginal = false;
  PictureOffsetX = PictureOffsetY = 0;
  LevelFade = 0;
  JokerAvailable = false;
  JokerFade = 0;
  PackCompleted = false;
  NextLevelClicked = false;
  EndSoundPending = false;
  PlayerName.clear();
}

std::string GamePath(const std::string& RelativePath) {
  std::string Path = RelativePath;
  for (char& C : Path)
    if (C == '\\') C = '/';
  while (!Path.empty() && Path.front() == '/') Path.erase(0, 1);
  return AppPath.empty() ? Path : AppPath + "/" + Path;
}

void DeleteGameFile(const std::string& RelativePath, bool IgnoreErrors) {
  std::error_code Error;
  const bool Removed = std::filesystem::remove(GamePath(RelativePath), Error);
  if (IgnoreErrors) return;
  if (Error) RaiseError("Kill", RelativePath + ": " + Error.message());
  if (!Removed) RaiseError("Kill", RelativePath + ": file not found");
}

}  // namespace pikora
