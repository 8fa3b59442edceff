// The ten-place high-score table on hscore.ini.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

class HighScoreTest : public ::testing::Test {
 protected:
  TempFolder Game;
  std::shared_ptr<FileTools> Files = MakeZipFileTools(Game.Path.string(), nullptr);

  void Load(const std::string& File = "0hscore.ini") { Files->LoadHighScores(File, 10, 0, 0); }
  void Add(float Score, const std::string& Name) { Files->AddHighScore(Score, Name, {""}, 10); }
  std::vector<std::pair<std::string, float>> Table() {
    std::vector<std::pair<std::string, float>> T;
    for (int16_t P = 1; P <= 10; ++P) T.emplace_back(Files->GetHighScoreName(P), Files->GetHighScore(P));
    return T;
  }
};

TEST_F(HighScoreTest, MissingAndEmptyFilesAreEmptyTables) {
  Load("nothing.ini");
  EXPECT_EQ(Files->GetHighScorePlace(0), 1);
  EXPECT_EQ(Files->GetHighScoreName(1), "");
  EXPECT_EQ(Files->GetHighScore(10), 0.0f);
  WriteFile(Game / "0hscore.ini", "");
  Load();
  EXPECT_EQ(Files->GetHighScorePlace(100), 1);
  WriteFile(Game / "0hscore.ini", "\x01\x02garbage\n[scores\n=\n");
  Load();
  EXPECT_EQ(Files->GetHighScorePlace(100), 1);
}

TEST_F(HighScoreTest, OrderTiesAndTheEleventhDropped) {
  Load();
  Add(300, "C");
  Add(500, "A");
  Add(300, "D");  // equal goes below
  Add(400, "B");
  EXPECT_EQ(Files->GetHighScorePlace(300), 5);
  EXPECT_EQ(Files->GetHighScorePlace(301), 3);
  EXPECT_EQ(Files->GetHighScorePlace(1000), 1);
  for (int I = 0; I < 6; ++I) Add(100, "E" + std::to_string(I));
  auto T = Table();
  EXPECT_EQ(T[0], std::make_pair(std::string("A"), 500.0f));
  EXPECT_EQ(T[2], std::make_pair(std::string("C"), 300.0f));
  EXPECT_EQ(T[3], std::make_pair(std::string("D"), 300.0f));
  EXPECT_EQ(T[9], std::make_pair(std::string("E5"), 100.0f));
  // Full: an equal score does not enter, a higher one pushes the last out.
  EXPECT_EQ(Files->GetHighScorePlace(100), 11);
  EXPECT_GT(Files->GetHighScorePlace(0), 10);
  Add(100, "late");
  EXPECT_EQ(Files->GetHighScoreName(10), "E5");
  Add(101, "F");
  EXPECT_EQ(Files->GetHighScoreName(5), "F");
  EXPECT_EQ(Files->GetHighScoreName(10), "E4");

  // Written as plain digits, place 1 readable directly, and read back by a new component.
  EXPECT_EQ(Files->ReadINI("scores", "1_name", "0hscore.ini"), "A");
  EXPECT_EQ(Files->ReadINI("scores", "1_score", "0hscore.ini"), "500");
  auto Fresh = MakeZipFileTools(Game.Path.string(), nullptr);
  Fresh->LoadHighScores("0hscore.ini", 10, 0, 0);
  EXPECT_EQ(Fresh->GetHighScoreName(5), "F");
  EXPECT_EQ(Fresh->GetHighScoreName(10), "E4");
  EXPECT_EQ(Fresh->GetHighScore(1), 500.0f);
}

TEST_F(HighScoreTest, AHandMadeFileIsReadInScoreOrder) {
  WriteFile(Game / "0hscore.ini", "; my pack\n[Scores]\n1_name=Low\n1_score=10\n3_name=High\n3_score=+90\n4_score=junk\n");
  Load();
  EXPECT_EQ(Files->GetHighScoreName(1), "High");
  EXPECT_EQ(Files->GetHighScoreName(2), "Low");
  EXPECT_EQ(Files->GetHighScoreName(3), "");  // a name without a valid score... still a place? no name, no score
  EXPECT_EQ(Files->GetHighScorePlace(50), 2);
  Add(50, "Mid");
  EXPECT_NE(ReadFile(Game / "0hscore.ini").find("; my pack"), std::string::npos);
  EXPECT_EQ(Files->ReadINI("scores", "2_name", "0hscore.ini"), "Mid");
}

TEST_F(HighScoreTest, HostileNamesCannotBreakTheFile) {
  Load();
  Add(100, "Eve\r\n[scores]\r\n1_score=999999");
  Add(50, "a=b ; [c]");
  Add(25, std::string(300, 'x'));
  Add(10, "\xE8iki");  // Windows-1250 bytes from somewhere
  auto Fresh = MakeZipFileTools(Game.Path.string(), nullptr);
  Fresh->LoadHighScores("0hscore.ini", 10, 0, 0);
  EXPECT_EQ(Fresh->GetHighScore(1), 100.0f);
  EXPECT_EQ(Fresh->GetHighScoreName(1), "Eve  [scores]  1_score=999999");
  EXPECT_EQ(Fresh->GetHighScoreName(2), "a=b ; [c]");
  EXPECT_EQ(Fresh->GetHighScoreName(3).size(), 100u);
  EXPECT_EQ(Fresh->GetHighScoreName(4), "čiki");
  EXPECT_EQ(Fresh->GetHighScoreName(5), "");
}

TEST_F(HighScoreTest, ACachedTableSeesAChangedFile) {
  WriteFile(Game / "0hscore.ini", "[scores]\n1_name=A\n1_score=5\n");
  Load();
  EXPECT_EQ(Files->GetHighScoreName(1), "A");
  WriteFile(Game / "tmp.ini", "[scores]\n1_name=B\n1_score=7\n");
  std::filesystem::rename(Game / "tmp.ini", Game / "0hscore.ini");
  std::this_thread::sleep_for(std::chrono::milliseconds(3));  // noticed within a millisecond
  Load();
  EXPECT_EQ(Files->GetHighScoreName(1), "B");
  EXPECT_THROW(MakeZipFileTools(Game.Path.string(), nullptr)->AddHighScore(1, "x", {""}, 10), ComponentError);
}

}  // namespace
}  // namespace pikora::test
