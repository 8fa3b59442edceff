#pragma once
// Runs the real game headless: recording engine and music player, real file tools on a
// temporary game folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/modDeclares.h"
#include "engine/RecordingGfxEngine.h"
#include "engine/RecordingMusicPlayer.h"

namespace pikora::test {

// A fresh temporary folder, removed again at the end of the test.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  std::filesystem::path Path;
  std::filesystem::path operator/(const std::string& Name) const { return Path / Name; }
};

void WriteFile(const std::filesystem::path& Path, const std::string& Content);
std::string ReadFile(const std::filesystem::path& Path);
// Makes a ZIP archive from name/content pairs (with libzip, stored entries).
void MakeZip(const std::filesystem::path& Archive, const std::vector<std::pair<std::string, std::string>>& Entries);
// An uncompressed 24-bit BMP of one colour.
std::string TinyBmp(int Width, int Height);
// Entry names of a ZIP archive, and one entry's content ("" when missing).
std::vector<std::string> ZipEntries(const std::filesystem::path& Archive);
std::string ZipEntry(const std::filesystem::path& Archive, const std::string& Entry);

class GameTest : public ::testing::Test {
 protected:
  GameTest();
  ~GameTest() override;

  // The game folder: "game data" (pictures.pkr, options.ini), "sound", "packs". By default
  // stand-in data for the recording engine, which only checks that files exist.
  TempFolder Folder;
  std::shared_ptr<RecordingGfxEngine> Engine;
  std::shared_ptr<RecordingMusicPlayer> MusicRec;

  // Copies the committed game data (pictures, sounds, options) into the game folder.
  void UseRealData(bool WithPacks = false);
  // A pack archive in "packs": Levels levels of five rectangles each (level n, difference k:
  // Left 10k, Right 10k+8, Top 10k, Bottom 10k+8), pictures n.ext and nx.ext,
  // and a high-score table of the given entries (place order). The pictures are small BMPs whatever the extension: the game goes by content.
  void MakePack(const std::string& FileName, int Levels, bool Vertical, const std::string& Extension = ".jpg",
                const std::vector<std::pair<std::string, int>>& Scores = {});
  // Writes options.ini with the four options.
  void WriteOptions(bool Screen, bool Music, bool Sound, bool Particle);
  // Runs Main until the scripted close (CloseAtFrame) ends it; returns its exit status.
  int RunFrames(int32_t Frames);
  // Runs Fn at the start of Frame, before that frame's input is polled and its screens drawn.
  void At(int32_t Frame, std::function<void()> Fn) { Actions[Frame].push_back(std::move(Fn)); }
  std::map<int32_t, std::vector<std::function<void()>>> Actions;
};

}  // namespace pikora::test
