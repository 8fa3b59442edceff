#include <gtest/gtest.h>

#include "scores/HighScores.h"
#include "scores/ResultsFixture.h"

namespace pikora::test {
namespace {

TEST(ScoreTextTest, WholeScoresArePlainDigitsAndLargeOnesKeepSevenDigits) {
  EXPECT_EQ(ScoreText(0), "0");
  EXPECT_EQ(ScoreText(387), "387");
  EXPECT_EQ(ScoreText(9999999), "9999999");
  EXPECT_EQ(ScoreText(-42), "-42");
  EXPECT_EQ(ScoreText(12345678), "1.234568E+07");
  EXPECT_EQ(ScoreText(2.5f), "2.5");
}

class HighScoresTest : public ResultsTest {
 protected:
  // The ladder's rows as drawn, three texts each: the transcripts prove where and in which colour.
  std::string Ladder(int32_t AtFrame) {
    std::string Out;
    const auto Texts = Engine->CallsIn(AtFrame, "DrawText");
    for (size_t I = 0; I < Texts.size(); ++I) Out += Texts[I].Text + (I % 3 == 2 ? "|" : " ");
    return Out;
  }
  std::shared_ptr<TableFiles> Table = OpenWithTable();
};

TEST_F(HighScoresTest, LadderShowsTheNeighboursTheScoreWouldPushDown) {
  Vertical = false;
  for (const auto& [Scored, Rows] : std::vector<std::pair<float, std::string>>{
           {1500, "1. VI 1500|2. N1 1000|3. N2 900|"},
           {950, "1. N1 1000|2. VI 950|3. N2 900|4. N3 800|"},
           {250, "7. N7 400|8. N8 300|9. VI 250|10. N9 200|"},
           {150, "8. N8 300|9. N9 200|10. VI 150|"},
           {50, "9. N9 200|10. N10 100|11. VI 50|"}}) {  // place 11: below the whole table
    Score = Scored;
    EXPECT_EQ(Ladder(Frame([] { DrawPlaceLadder(); })), Rows);
  }
}

TEST_F(HighScoresTest, SavingStoresTheResultAndWritesTheTableIntoThePackArchiveAtOnce) {
  PackList = {"alpha.pkr", "beta.pkr"};
  SelectedPack = 1;
  Score = 950;
  PlayerName = "";
  GameScreen = 55;
  Frame([] { SaveResult(); });
  EXPECT_EQ(PlayerName, "Igrac X");
  EXPECT_EQ(Table->Log, (std::vector<std::string>{"Load 1hscore.ini 10", "Add 950 Igrac X 1 10",
                                                  "OpenArchive \\packs\\beta.pkr", "Remove hscore.ini",
                                                  "AddFile 1hscore.ini hscore.ini", "Flush"}));
  EXPECT_EQ(Table->Table[1].first, "Igrac X");
  EXPECT_EQ(GameScreen, 2);
}

TEST_F(HighScoresTest, StoredResultIsInThePackArchiveBeforeShutdown) {
  OpenWithPack(2, false, {{"Ana", 900}, {"Ivo", 10}});
  Score = 500;
  PlayerName = "Mia";
  GameScreen = 55;
  Frame([] { SaveResult(); });
  const std::string Table = ZipEntry(Folder / "packs" / "p.pkr", "hscore.ini");
  ASSERT_NE(Table.find("Mia"), std::string::npos) << Table;
  EXPECT_LT(Table.find("Ana"), Table.find("Mia"));
  EXPECT_LT(Table.find("Mia"), Table.find("Ivo"));
  EXPECT_EQ(ZipEntries(Folder / "packs" / "p.pkr").size(), 7u) << "the pictures stay";
  EXPECT_EQ(Files->ReadINI("scores", "1_name", "0hscore.ini"), "Ana");
}

}  // namespace
}  // namespace pikora::test
