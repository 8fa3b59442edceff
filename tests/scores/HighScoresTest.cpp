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
  struct Row {
    double Y;
    std::string Place, Name, Score;
    uint32_t Colour;
    bool operator==(const Row&) const = default;
  };
  // The ladder's rows as drawn: three texts each.
  std::vector<Row> Ladder(int32_t AtFrame) {
    const auto Texts = Engine->CallsIn(AtFrame, "DrawText");
    std::vector<Row> Rows;
    for (size_t I = 0; I + 2 < Texts.size(); I += 3)
      Rows.push_back({Texts[I][1], Texts[I].Text, Texts[I + 1].Text, Texts[I + 2].Text, uint32_t(Texts[I][4])});
    return Rows;
  }
  std::shared_ptr<TableFiles> Table = OpenWithTable();
};

TEST_F(HighScoresTest, WorkingFileCarriesThePackIndexWithoutLeadingZeros) {
  SelectedPack = 0;
  EXPECT_EQ(HighScoreFile(), "0hscore.ini");
  SelectedPack = 12;
  EXPECT_EQ(HighScoreFile(), "12hscore.ini");
}

TEST_F(HighScoresTest, LadderShowsTheNeighboursTheScoreWouldPushDown) {
  const uint32_t C1 = ColourARGB(150, 100, 255, 100), C2 = ColourARGB(200, 150, 255, 150),
                 C3 = ColourARGB(200, 255, 255, 255), C4 = ColourARGB(200, 255, 150, 150),
                 C5 = ColourARGB(175, 255, 100, 100);
  Vertical = false;

  Score = 1500;  // p = 1
  EXPECT_EQ(Ladder(Frame([] { DrawPlaceLadder(); })),
            (std::vector<Row>{{480, "1.", "VI", "1500", C3}, {495, "2.", "N1", "1000", C4},
                              {510, "3.", "N2", "900", C5}}));
  Score = 950;  // p = 2
  EXPECT_EQ(Ladder(Frame([] { DrawPlaceLadder(); })),
            (std::vector<Row>{{465, "1.", "N1", "1000", C2}, {480, "2.", "VI", "950", C3},
                              {495, "3.", "N2", "900", C4}, {510, "4.", "N3", "800", C5}}));
  Score = 250;  // p = 9
  EXPECT_EQ(Ladder(Frame([] { DrawPlaceLadder(); })),
            (std::vector<Row>{{450, "7.", "N7", "400", C1}, {465, "8.", "N8", "300", C2},
                              {480, "9.", "VI", "250", C3}, {495, "10.", "N9", "200", C4}}));
  Score = 150;  // p = 10
  EXPECT_EQ(Ladder(Frame([] { DrawPlaceLadder(); })),
            (std::vector<Row>{{450, "8.", "N8", "300", C1}, {465, "9.", "N9", "200", C2},
                              {480, "10.", "VI", "150", C3}}));
  Score = 50;  // p = 11: below the whole table
  EXPECT_EQ(Ladder(Frame([] { DrawPlaceLadder(); })),
            (std::vector<Row>{{450, "9.", "N9", "200", C1}, {465, "10.", "N10", "100", C2},
                              {480, "11.", "VI", "50", C3}}));
}

TEST_F(HighScoresTest, CheckHighScoreAsksForANameOnlyForPlacesOneToTen) {
  Score = 150;
  Frame([] {
    DrawPlaceLadder();
    CheckHighScore();
  });
  EXPECT_EQ(GameScreen, 55);

  GameScreen = 10;
  Score = 50;
  Frame([] {
    DrawPlaceLadder();
    CheckHighScore();
  });
  EXPECT_EQ(GameScreen, 2) << "the run ends on the high-score screen";
  EXPECT_EQ(Table->Log.size(), 2u) << "no load of its own";
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

class SaveResultTest : public ResultsTest {};

TEST_F(SaveResultTest, StoredResultIsInThePackArchiveBeforeShutdown) {
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
