#include "resources/Packs.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "engine/ComponentError.h"
#include "game/modGame.h"
#include "resources/LevelData.h"
#include "resources/Options.h"
#include "resources/PackCheck.h"
#include "resources/modINI.h"

namespace pikora {

namespace {

// A scratch copy made while comparing a pack's table; never kept.
std::string ScoreCheckFile(int Index) { return std::to_string(Index) + "hscore.old"; }

[[noreturn]] void Unplayable(const std::string& Reason) { RaiseError("FindPacks", Reason); }

void Warn(const std::string& Text) { std::cerr << "Pikora: " << Text << std::endl; }

// The whole content of a game-folder file; false when it cannot be read.
bool ReadGameFile(const std::string& RelativePath, std::string& Content) {
  std::ifstream In(GamePath(RelativePath), std::ios::binary);
  if (!In) return false;
  std::stringstream Whole;
  Whole << In.rdbuf();
  Content = Whole.str();
  return true;
}

// Makes the working files of one pack once it has passed the check; throws when it cannot be
// played.
void ScanPack(const std::string& FileName, int Index) {
  const std::string Info = PackInfoFile(Index);
  const std::string Scores = PackScoreFile(Index);
  // A stale copy from an interrupted run would hide a missing entry.
  DeleteGameFile(Info, true);
  DeleteGameFile(Scores, true);

  const std::vector<PackProblem> Problems = CheckPack(GamePath("packs/" + FileName));
  if (!Problems.empty()) {
    std::string Reason = DescribePackProblem(Problems.front());
    if (Problems.size() > 1) Reason += " (and " + std::to_string(Problems.size() - 1) + " more)";
    Unplayable(Reason);
  }
  Files->OpenArchive("/packs/" + FileName, 0, ArchivePassword, 0);
  Files->ExtractFile("packinfo.ini", Info, 0);
  if (!Files->FileExists(Info)) Unplayable("no packinfo.ini");
  Files->ExtractFile("hscore.ini", Scores, 0);
}

}  // namespace

std::string PackTitle(const std::string& FileName) {
  return FileName.size() >= 4 ? FileName.substr(0, FileName.size() - 4) : FileName;
}

std::string PackInfoFile(int Index) { return std::to_string(Index) + "packinfo.ini"; }
std::string PackScoreFile(int Index) { return std::to_string(Index) + "hscore.ini"; }

void FindPacks() {
  Gfx->DrawSprite(TexBrightLogo, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600, -1, -1);
  Gfx->DrawBitmapText(TexFontDefault, "UCITAVANJE", 5, 5, 1.0f, 0, 100, 255, 255, 255);
  Gfx->EndFrame();

  PackList.clear();
  std::vector<std::string> Found;
  try {
    Found = Files->ListFiles("packs", 0, true);
  } catch (const ComponentError& Error) {
    Warn(std::string("no packs: ") + Error.what());
    return;
  }

  // Only the kept packs enter PackList, and a pack's working files carry its index there.
  for (const std::string& FileName : Found) {
    const int Index = static_cast<int>(PackList.size());
    try {
      ScanPack(FileName, Index);
      PackList.push_back(FileName);
    } catch (const std::exception& Error) {
      DeleteGameFile(PackInfoFile(Index), true);
      DeleteGameFile(PackScoreFile(Index), true);
      Warn("pack \"" + PrintableText(FileName) + "\" left out: " + Error.what());
    }
  }
}

void LoadLevelPictures() {
  Gfx->DrawText("titleL", 340, 100, 240, 50, "...UCITAVAM...", ColourARGB(255, 255, 255, 255), 5);
  Gfx->DoEvents();
  ReleaseLevelPictures();

  const std::string Names[] = {PictureName + ".jpg", PictureName + "x.jpg", PictureName + ".bmp",
                               PictureName + "x.bmp"};
  // The start-up check reads only the pictures' headers: the rest can still be damaged.
  std::string Entry;
  try {
    Files->OpenArchive("\\packs\\" + CurrentPackFile, 0, ArchivePassword, 0);
    for (const std::string& Name : Names) Files->ExtractFile(Entry = Name, "", 0);

    // The .jpg pair only when both are there: a lone n.jpg beside a .bmp pair is no pair.
    const bool Jpg = Files->FileExists(Names[0]) && Files->FileExists(Names[1]);
    const std::string Extension = Jpg ? ".jpg" : ".bmp";
    Gfx->LoadTexture(OriginalPicture, Entry = PictureName + Extension, 0);
    Gfx->LoadTexture(ModifiedPicture, Entry = PictureName + "x" + Extension, 0);
  } catch (const ComponentError& Error) {
    for (const std::string& Name : Names) DeleteGameFile(Name, true);
    Warn("pack \"" + PrintableText(CurrentPackFile) + "\": level picture \"" + Entry +
         "\" cannot be shown, the run ends: " + PrintableText(Error.what(), 300));
    PackMessage = "Paket \"" + PackTitle(CurrentPackFile) + "\" je neispravan: slika " + Entry + " se ne moze prikazati.";
    EndGame();
    GameScreen = 1;
    return;
  }
  for (const std::string& Name : Names) DeleteGameFile(Name, true);

  GameScreen = 10;
  TimeUsed = 0;
  LevelRunning = true;
}

void ReleaseLevelPictures() {
  OriginalPicture.reset();
  ModifiedPicture.reset();
}

void StorePackScores() {
  for (PackIndex = 0; PackIndex < static_cast<int>(PackList.size()); ++PackIndex) {
    const std::string& FileName = PackList[static_cast<size_t>(PackIndex)];
    const std::string Info = PackInfoFile(PackIndex);
    const std::string Scores = PackScoreFile(PackIndex);
    DeleteGameFile(Info, true);

    std::string Table;
    if (!ReadGameFile(Scores, Table)) {
      Warn("high scores of pack \"" + FileName + "\" not stored: working file " + Scores + " is missing");
      continue;
    }
    // Rewriting a big archive takes long: only a changed table goes back into it.
    const std::string Old = ScoreCheckFile(PackIndex);
    DeleteGameFile(Old, true);
    Files->OpenArchive("/packs/" + FileName, 0, ArchivePassword, 0);
    Files->ExtractFile("hscore.ini", Old, 0);
    std::string Stored;
    const bool HadTable = ReadGameFile(Old, Stored);
    DeleteGameFile(Old, true);
    if (!HadTable || Stored != Table) {
      if (HadTable) Files->RemoveFromArchive("hscore.ini", 0);
      Files->AddFileToArchive(Scores, "hscore.ini", 0);
      // The archive may read the file only when it is written: write it before the file goes.
      Files->FlushArchive();
    }
    DeleteGameFile(Scores);
  }
  DeleteGameFile("picinfo.ini", true);
}

}  // namespace pikora
