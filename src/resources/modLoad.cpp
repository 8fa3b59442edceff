#include "resources/modLoad.h"

#include <filesystem>

#include "engine/ComponentError.h"

namespace pikora {

namespace {

const char* const PicturesArchive = "\\game data\\pictures.pkr";

struct FontRow {
  const char* Name;
  const char* Face;
  int32_t Size;
  bool Bold;
  bool Italic;
};
// "Curier New" is the face name the game has always asked for; the engine finds the nearest match.
constexpr FontRow FontTable[] = {
    {"small", "Verdana", 8, false, false},          {"titleS", "Verdana", 10, true, false},
    {"titleM", "Verdana", 15, true, false},         {"titleL", "Verdana", 20, true, false},
    {"highscores", "Curier New", 10, true, false},  {"highscoresbig", "Curier New", 20, true, false},
};

struct SoundRow {
  const char* Name;
  const char* File;
};
constexpr SoundRow SoundTable[] = {
    {"click", "\\sound\\click.wav"},
    {"1key", "\\sound\\1key.wav"},
    {"2key", "\\sound\\2key.wav"},
    {"3key", "\\sound\\3key.wav"},
    {"4key", "\\sound\\4key.wav"},
    {"levelcompleted", "\\sound\\levelcompleted.wav"},
    {"joker", "\\sound\\joker.wav"},
    {"packcompleted", "\\sound\\packcompleted.wav"},
    {"gameover", "\\sound\\gameover.wav"},
};

bool InGameFolder(const std::string& File) {
  std::error_code Error;
  return std::filesystem::is_regular_file(GamePath(File), Error);
}

// Unpacked pictures left by a run that died before deleting them.
void RemoveLeftoverPictures() {
  for (const auto& Entry : TextureTable) DeleteGameFile(Entry.File, true);
}

}  // namespace

void LoadTextures() {
  // A leftover of an earlier run must not stand in for a picture the archive lacks.
  RemoveLeftoverPictures();
  Files->OpenArchive(PicturesArchive, 0, ArchivePassword, 0);
  Files->ExtractAll("", 0);
  try {
    for (const auto& Entry : TextureTable)
      if (!InGameFolder(Entry.File))
        RaiseError("LoadTextures", std::string("\"") + Entry.File + "\" is missing from \"game data\\pictures.pkr\"");
    std::vector<std::string> Names;
    for (const auto& Entry : TextureTable) Names.push_back(Entry.File);
    Gfx->PrefetchPictures(Names);
    for (const auto& Entry : TextureTable) Gfx->LoadTexture(*Entry.Slot, Entry.File, Entry.ColourKey);
  } catch (...) {
    // The program stops here; it still leaves no unpacked pictures behind.
    RemoveLeftoverPictures();
    DeleteGameFile("picinfo.ini", true);
    throw;
  }
  DeleteExtractedTextures();
}

void LoadFonts() {
  for (const auto& Row : FontTable) Gfx->CreateFont(Row.Name, Row.Face, Row.Size, Row.Bold, Row.Italic);
}

void ReleaseTextures() {
  for (const auto& Entry : TextureTable) Entry.Slot->reset();
}

void DeleteExtractedTextures() {
  for (const auto& Entry : TextureTable) DeleteGameFile(Entry.File);
  // A copy left by an earlier run, if any.
  DeleteGameFile("picinfo.ini", true);
}

void LoadSounds() {
  for (const auto& Row : SoundTable) Gfx->LoadSound(Row.Name, Row.File);
  Music->Load("\\sound\\music.wma");
  ApplyMusicOption();
}

void ApplyMusicOption() {
  if (GameOptions.Music)
    Music->Play(false);
  else
    Music->Stop(true);
  Music->SetVolume(95);
}

void MusicUpkeep() {
  const int32_t Position = Music->GetPosition();
  const int32_t Length = Music->GetLength();
  if (Position >= Length && GameOptions.Music) Music->Play(true);
}

}  // namespace pikora
