#pragma once
// Drives the results screens frame by frame on the recording engine, with either the real
// file tools or a table held in memory whose places the test chooses.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Particles.h"
#include "engine/ComponentError.h"
#include "game/modGame.h"
#include "resources/Options.h"
#include "support/GameFixture.h"
#include "support/NullFileTools.h"

namespace pikora::test {

// A high-score table in memory; every file operation is logged.
class TableFiles : public NullFileTools {
 public:
  std::vector<std::pair<std::string, float>> Table;  // place order
  std::vector<std::string> Log;

  void LoadHighScores(const std::string& File, int32_t Places, int32_t, int32_t) override {
    Log.push_back("Load " + File + " " + std::to_string(Places));
  }
  int16_t GetHighScorePlace(float Score) override {
    int16_t Place = 1;
    for (const auto& Entry : Table)
      if (Entry.second >= Score) ++Place;
    return Place;
  }
  float GetHighScore(int16_t Place) override { return At(Place).second; }
  std::string GetHighScoreName(int16_t Place) override { return At(Place).first; }
  void AddHighScore(float Score, const std::string& Name, const std::vector<std::string>& Extra,
                    int32_t Places) override {
    Log.push_back("Add " + std::to_string(int(Score)) + " " + Name + " " + std::to_string(Extra.size()) + " " +
                  std::to_string(Places));
    Table.insert(Table.begin() + (GetHighScorePlace(Score) - 1), {Name, Score});
    if (Table.size() > 10) Table.resize(10);
  }
  void OpenArchive(const std::string& Path, int32_t, const std::string&, int32_t) override {
    Log.push_back("OpenArchive " + Path);
  }
  void RemoveFromArchive(const std::string& Entry, int32_t) override { Log.push_back("Remove " + Entry); }
  void AddFileToArchive(const std::string& File, const std::string& Entry, int32_t) override {
    Log.push_back("AddFile " + File + " " + Entry);
  }
  void FlushArchive() override { Log.push_back("Flush"); }
  void WriteINI(const std::string& Section, const std::string& Key, const std::string& Value,
                const std::string& File, int32_t) override {
    Log.push_back("WriteINI " + Section + " " + Key + "=" + Value + " " + File);
  }

 private:
  const std::pair<std::string, float>& At(int16_t Place) {
    if (Place < 1 || Place > static_cast<int16_t>(Table.size()))
      RaiseError("GetHighScore", "no place " + std::to_string(Place));
    return Table[static_cast<size_t>(Place - 1)];
  }
};


class ResultsTest : public GameTest {
 protected:
  // The components as Main would hold them, with the fonts, sounds and textures the
  // loaders would have registered.
  void Open(std::shared_ptr<FileTools> WithFiles) {
    Gfx = Engine;
    Files = std::move(WithFiles);
    Music = MusicRec;
    for (const char* Font : {"small", "titleS", "titleM", "titleL", "highscores", "highscoresbig"})
      Engine->CreateFont(Font, "DejaVu Sans", 16, false, false);
    Engine->RequireFiles = false;
    for (const char* Sound :
         {"click", "1key", "2key", "3key", "4key", "levelcompleted", "joker", "packcompleted", "gameover"})
      Engine->LoadSound(Sound, std::string("sound\\") + Sound + ".wav");
    for (const auto& Entry : TextureTable) {
      auto Object = std::make_shared<TextureObject>();
      Object->Name = Entry.File;
      *Entry.Slot = Object;
    }
    Engine->ClearCalls();
  }
  std::shared_ptr<TableFiles> OpenWithTable() {
    // Places 1 to 10 scored 1000, 900, ..., 100 and named N1 to N10.
    auto Table = std::make_shared<TableFiles>();
    for (int I = 1; I <= 10; ++I) Table->Table.emplace_back("N" + std::to_string(I), 1100.0f - 100.0f * I);
    Open(Table);
    return Table;
  }

  // The real file tools on one pack "p.pkr" whose working files are unpacked as at start.
  void OpenWithPack(int Levels, bool IsVertical, const std::vector<std::pair<std::string, int>>& Scores = {}) {
    MakePack("p.pkr", Levels, IsVertical, ".jpg", Scores);
    Open(MakeZipFileTools(AppPath, Engine.get()));
    PackList = {"p.pkr"};
    SelectedPack = 0;
    CurrentPackFile = "p.pkr";
    Vertical = IsVertical;
    Files->OpenArchive("\\packs\\p.pkr", 0, ArchivePassword, 0);
    Files->ExtractFile("packinfo.ini", "0packinfo.ini", 0);
    Files->ExtractFile("hscore.ini", "0hscore.ini", 0);
  }

  // One frame: poll the mouse as the loop does, then run Body between BeginFrame and EndFrame.
  int32_t Frame(const std::function<void()>& Body) {
    Engine->BeginFrame(0, 0, 0);
    Gfx->GetMouseState(MouseState, 0);
    ++FrameCounter;
    Body();
    Engine->EndFrame();
    return Engine->Frame();
  }

  std::vector<std::string> TextsOf(int32_t AtFrame) const {
    std::vector<std::string> Out;
    for (const auto& C : Engine->CallsIn(AtFrame, "DrawText")) Out.push_back(C.Text);
    return Out;
  }
  std::vector<std::string> SoundsPlayed() const {
    std::vector<std::string> Out;
    for (const auto& C : Engine->CallsOf("PlaySound")) Out.push_back(C.Name);
    return Out;
  }
};

}  // namespace pikora::test
