#include "support/GameFixture.h"

#include <zip.h>

#include <fstream>
#include <random>
#include <sstream>

#include "app/Random.h"
#include "app/frmMain.h"
#include "app/modMain.h"
#include "engine/ComponentError.h"
#include "engine/Components.h"

namespace fs = std::filesystem;

namespace pikora::test {

TempFolder::TempFolder() {
  std::random_device Rd;
  Path = fs::temp_directory_path() / ("pikora-test-" + std::to_string(Rd()) + std::to_string(Rd()));
  fs::create_directories(Path);
}

TempFolder::~TempFolder() {
  std::error_code Error;
  fs::remove_all(Path, Error);
}

void WriteFile(const fs::path& Path, const std::string& Content) {
  fs::create_directories(Path.parent_path());
  std::ofstream Out(Path, std::ios::binary);
  Out << Content;
}

std::string ReadFile(const fs::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

void MakeZip(const fs::path& Archive, const std::vector<std::pair<std::string, std::string>>& Entries) {
  fs::create_directories(Archive.parent_path());
  int Error = 0;
  zip_t* Zip = zip_open(Archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &Error);
  ASSERT_NE(Zip, nullptr);
  for (const auto& [Name, Content] : Entries) {
    // libzip does not take over an empty buffer, so an empty entry gets none.
    void* Copy = Content.empty() ? nullptr : malloc(Content.size());
    if (Copy) memcpy(Copy, Content.data(), Content.size());
    zip_source_t* Source = zip_source_buffer(Zip, Copy, Content.size(), Copy != nullptr);
    ASSERT_GE(zip_file_add(Zip, Name.c_str(), Source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8), 0);
  }
  ASSERT_EQ(zip_close(Zip), 0);
}

std::string TinyBmp(int Width, int Height) {
  const int Row = (Width * 3 + 3) / 4 * 4;
  std::string B(54 + size_t(Row) * Height, '\x40');
  auto Put = [&](size_t At, uint32_t V, int Bytes) {
    for (int I = 0; I < Bytes; ++I) B[At + I] = char((V >> (8 * I)) & 255);
  };
  B[0] = 'B', B[1] = 'M';
  Put(2, uint32_t(B.size()), 4), Put(6, 0, 4), Put(10, 54, 4), Put(14, 40, 4), Put(18, uint32_t(Width), 4);
  Put(22, uint32_t(Height), 4), Put(26, 1, 2), Put(28, 24, 2), Put(30, 0, 4), Put(34, uint32_t(Row * Height), 4);
  Put(38, 2835, 4), Put(42, 2835, 4), Put(46, 0, 4), Put(50, 0, 4);
  return B;
}

std::vector<std::string> ZipEntries(const fs::path& Archive) {
  std::vector<std::string> Names;
  int Error = 0;
  zip_t* Zip = zip_open(Archive.c_str(), ZIP_RDONLY, &Error);
  if (!Zip) return Names;
  for (zip_int64_t I = 0; I < zip_get_num_entries(Zip, 0); ++I) Names.push_back(zip_get_name(Zip, I, 0));
  zip_discard(Zip);
  return Names;
}

std::string ZipEntry(const fs::path& Archive, const std::string& Entry) {
  int Error = 0;
  zip_t* Zip = zip_open(Archive.c_str(), ZIP_RDONLY, &Error);
  if (!Zip) return {};
  std::string Content;
  if (zip_file_t* File = zip_fopen(Zip, Entry.c_str(), 0)) {
    char Buffer[4096];
    zip_int64_t N;
    while ((N = zip_fread(File, Buffer, sizeof Buffer)) > 0) Content.append(Buffer, size_t(N));
    zip_fclose(File);
  }
  zip_discard(Zip);
  return Content;
}

GameTest::GameTest() {
  ResetGlobals();
  frmMain::Reset();
  SeedRandom(12345);
  MessageBoxesEnabled = false;
  AppPath = Folder.Path.string();
  Engine = std::make_shared<RecordingGfxEngine>();
  MusicRec = std::make_shared<RecordingMusicPlayer>();
  Factory.MakeGfx = [this] { return Engine; };
  Factory.MakeMusic = [this](const std::string&) { return MusicRec; };
  Factory.MakeFiles = MakeZipFileTools;
  fs::create_directories(Folder / "packs");
  std::vector<std::pair<std::string, std::string>> Pictures;
  for (const auto& Entry : TextureTable) Pictures.emplace_back(Entry.File, std::string("stand-in ") + Entry.File);
  MakeZip(Folder / "game data" / "pictures.pkr", Pictures);
  for (const char* Name : {"click", "1key", "2key", "3key", "4key", "levelcompleted", "joker", "packcompleted",
                           "gameover"})
    WriteFile(Folder / "sound" / (std::string(Name) + ".wav"), "RIFF stand-in");
  WriteFile(Folder / "sound" / "music.wma", "stand-in");
  Engine->OnFrame = [this](int32_t Frame, RecordingGfxEngine&) {
    if (auto It = Actions.find(Frame); It != Actions.end())
      for (auto& Fn : It->second) Fn();
  };
}

void GameTest::MakePack(const std::string& FileName, int Levels, bool IsVertical, const std::string& Extension,
                        const std::vector<std::pair<std::string, int>>& Scores) {
  std::vector<std::pair<std::string, std::string>> Entries;
  Entries.emplace_back("packinfo.ini", "[General]\nNumOfLevels=" + std::to_string(Levels) +
                                           "\nVertical=" + (IsVertical ? "True" : "False") +
                                           "\nPackInfo=Paket " + FileName + "[e]drugi red\n");
  std::string PicInfo;
  for (int N = 1; N <= Levels; ++N) {
    PicInfo += "[" + std::to_string(N) + "]\n";
    for (int K = 1; K <= 5; ++K) {
      const std::string Key = std::to_string(K);
      PicInfo += Key + "Left=" + std::to_string(10 * K) + "\n" + Key + "Right=" + std::to_string(10 * K + 8) + "\n" +
                 Key + "Top=" + std::to_string(10 * K) + "\n" + Key + "Bottom=" + std::to_string(10 * K + 8) + "\n";
    }
    PicInfo += "PicInfo=Slika " + std::to_string(N) + "[e]opis\n";
    Entries.emplace_back(std::to_string(N) + Extension, TinyBmp(8, 8));
    Entries.emplace_back(std::to_string(N) + "x" + Extension, TinyBmp(8, 8));
  }
  Entries.emplace_back("picinfo.ini", PicInfo);
  std::string HighScores = "[scores]\n";
  for (size_t I = 0; I < Scores.size(); ++I)
    HighScores += std::to_string(I + 1) + "_name=" + Scores[I].first + "\n" + std::to_string(I + 1) +
                  "_score=" + std::to_string(Scores[I].second) + "\n";
  Entries.emplace_back("hscore.ini", HighScores);
  MakeZip(Folder / "packs" / FileName, Entries);
}

GameTest::~GameTest() {
  Gfx.reset();
  Files.reset();
  Music.reset();
  ResetGlobals();
  frmMain::Reset();
  AppPath.clear();
  Factory = {MakeSdlGfxEngine, MakeZipFileTools, MakeFfmpegMusicPlayer};
}

void GameTest::UseRealData(bool WithPacks) {
  const fs::path Data = fs::path(PIKORA_SOURCE_DIR) / "data";
  for (const char* Sub : {"game data", "sound"})
    fs::copy(Data / Sub, Folder / Sub, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  if (WithPacks)
    fs::copy(Data / "packs", Folder / "packs", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void GameTest::WriteOptions(bool Screen, bool Music, bool Sound, bool Particle) {
  auto B = [](bool V) { return V ? "True" : "False"; };
  WriteFile(Folder / "game data" / "options.ini", std::string("[Options]\nScreen=") + B(Screen) + "\nMusic=" +
                                                      B(Music) + "\nSound=" + B(Sound) + "\nParticle=" + B(Particle) +
                                                      "\n");
}

int GameTest::RunFrames(int32_t Frames) {
  Engine->CloseAtFrame = Frames;
  return Main();
}

}  // namespace pikora::test
