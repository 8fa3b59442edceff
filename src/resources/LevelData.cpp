#include "resources/LevelData.h"

#include <charconv>
#include <cmath>

#include "app/Random.h"
#include "engine/ComponentError.h"
#include "resources/Options.h"
#include "resources/Packs.h"
#include "resources/modINI.h"

namespace pikora {

namespace {

std::string Trimmed(const std::string& Text) {
  const char* Blank = " \t\r\n";
  const size_t First = Text.find_first_not_of(Blank);
  if (First == std::string::npos) return {};
  return Text.substr(First, Text.find_last_not_of(Blank) - First + 1);
}

constexpr const char* EdgesInReadingOrder[] = {"Bottom", "Top", "Left", "Right"};

}  // namespace

bool ParseLevelCount(const std::string& Text, int32_t& Count) {
  const std::string T = Trimmed(Text);
  if (T.empty() || T.size() > 4) return false;
  int32_t Value = 0;
  const auto [End, Error] = std::from_chars(T.data(), T.data() + T.size(), Value);
  if (Error != std::errc() || End != T.data() + T.size() || Value < 1 || Value > MaxLevels) return false;
  Count = Value;
  return true;
}

bool ParseEdge(const std::string& Text, float& Value) {
  std::string T = Trimmed(Text);
  if (!T.empty() && T.front() == '+') T.erase(0, 1);
  for (char& C : T)
    if (C == ',') C = '.';
  if (T.empty()) return false;
  float Parsed = 0;
  const auto [End, Error] = std::from_chars(T.data(), T.data() + T.size(), Parsed, std::chars_format::fixed);
  if (Error != std::errc() || End != T.data() + T.size() || !std::isfinite(Parsed)) return false;
  Value = Parsed;
  return true;
}

std::string EdgeKey(int K, const char* Edge) { return std::to_string(K) + Edge; }

std::string ExpandLineBreaks(const std::string& Text) {
  std::string Out;
  Out.reserve(Text.size());
  for (size_t I = 0; I < Text.size();) {
    if (Text.compare(I, 3, "[e]") == 0) {
      Out += "\r\n";
      I += 3;
    } else {
      Out += Text[I++];
    }
  }
  return Out;
}

void StartPack() {
  bool IsVertical = false;
  ConvertBoolean(Files->ReadINI("General", "Vertical", PackInfoFile(SelectedPack), 0), IsVertical);
  Vertical = IsVertical;
  CurrentPackFile = PackList.at(static_cast<size_t>(SelectedPack));
  PackMessage.clear();

  Score = 0;
  Level = 1.0f;
  LevelText = "1";
  JokerAvailable = true;
  EndSoundPending = true;

  ChooseLevel();

  LevelFade = 0;
  JokerFade = 100.0f;
  PackCompleted = false;
  GameScreen = 9;
  LevelCompleteShown = false;
  NextLevelClicked = false;
}

void ChooseLevel() {
  int32_t Count = 0;
  const std::string Text = Files->ReadINI("General", "NumOfLevels", PackInfoFile(SelectedPack), 0);
  if (!ParseLevelCount(Text, Count))
    RaiseError("ChooseLevel", "NumOfLevels \"" + Text + "\" of " + PackInfoFile(SelectedPack) + " is not 1 to 50");
  NumOfLevels = Count;

  // One draw among the unplayed levels: no retries, and with every level played the
  // run starts over instead of drawing forever.
  int32_t Unplayed = 0;
  for (int32_t N = 1; N <= NumOfLevels; ++N)
    if (!LevelPlayed[N]) ++Unplayed;
  if (Unplayed == 0) {
    for (int32_t N = 1; N <= NumOfLevels; ++N) LevelPlayed[N] = false;
    Unplayed = NumOfLevels;
  }
  Randomize();
  int32_t Pick = static_cast<int32_t>(Int(Rnd() * Unplayed + 1));
  if (Pick > Unplayed) Pick = Unplayed;  // a float draw just below 1 can round up

  int32_t Chosen = 0;
  for (int32_t N = 1; N <= NumOfLevels; ++N)
    if (!LevelPlayed[N] && --Pick == 0) {
      Chosen = N;
      break;
    }

  LevelPlayed[Chosen] = true;
  PictureName = std::to_string(Chosen);
  LoadPicInfo();
}

void LoadPicInfo() {
  Files->OpenArchive("\\packs\\" + CurrentPackFile, 0, ArchivePassword, 0);
  // Another pack's copy must never stand in for this one's.
  DeleteGameFile("picinfo.ini", true);
  Files->ExtractFile("picinfo.ini", "", 0);

  const std::string File = GamePath("picinfo.ini");
  for (int K = 1; K <= 5; ++K) {
    float* Edges[] = {&Differences[K].Bottom, &Differences[K].Top, &Differences[K].Left, &Differences[K].Right};
    for (int E = 0; E < 4; ++E) {
      const std::string Key = EdgeKey(K, EdgesInReadingOrder[E]);
      const std::string Text = GetINIValue(PictureName, Key, File);
      if (!ParseEdge(Text, *Edges[E]))
        RaiseError("LoadPicInfo", "[" + PictureName + "] " + Key + " \"" + Text + "\" of picinfo.ini is no number");
    }
  }
}

void DrawPictureInfo() {
  PackInfoText = ExpandLineBreaks(Files->ReadINI(PictureName, "PicInfo", "picinfo.ini", 0));
  const uint32_t Colour = ColourARGB(255, 230, 255, 255);
  if (Vertical)
    Gfx->DrawText("HighScores", 10, 125, 140, 200, PackInfoText, Colour, 0);
  else
    Gfx->DrawText("HighScores", 10, 150, 220, 200, PackInfoText, Colour, 0);
}

}  // namespace pikora
