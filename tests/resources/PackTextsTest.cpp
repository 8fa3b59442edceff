// What a pack's texts mean: INI values, edges, level counts, titles, and the check of a whole pack.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "resources/LevelData.h"
#include "resources/PackCheck.h"
#include "resources/Packs.h"
#include "resources/modINI.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

TEST(GetINIValue, MatchesSectionAndKeyWithoutCaseAndTrimsTheValue) {
  TempFolder Folder;
  const auto File = (Folder / "picinfo.ini").string();
  WriteFile(File,
            "\xEF\xBB\xBF[General]\r\n; a comment\r\nkey=general\r\n[ 3 ]\r\n  2Left =  12,5 \r\n;2Top=1\r\n"
            "2top=40\r\n2TOP=99\r\nEmpty=\r\n");
  EXPECT_EQ(GetINIValue("3", "2left", File), "12,5");
  EXPECT_EQ(GetINIValue("3", "2Top", File), "40") << "the first of two equal keys counts";
  EXPECT_EQ(GetINIValue("general", "KEY", File), "general");
  EXPECT_EQ(GetINIValue("3", "Empty", File), "");
  EXPECT_EQ(GetINIValue("3", "key", File), "") << "keys belong to their own section";
  EXPECT_EQ(GetINIValue("4", "2Left", File), "");
  EXPECT_EQ(GetINIValue("3", "2Left", (Folder / "missing.ini").string()), "");
}

TEST(GetINIValue, KeepsAtMost254CharactersAndReportsTheCountCopied) {
  TempFolder Folder;
  const auto File = (Folder / "long.ini").string();
  WriteFile(File, "[1]\nPicInfo=" + std::string(300, 'a') + "\n");
  EXPECT_EQ(GetINIValue("1", "PicInfo", File), std::string(254, 'a'));

  char Buffer[8];
  EXPECT_EQ(GetPrivateProfileStringA("1", "PicInfo", "", Buffer, sizeof Buffer, File.c_str()), 7u);
  EXPECT_STREQ(Buffer, "aaaaaaa");
  EXPECT_EQ(GetPrivateProfileStringA("1", "Nothing", "default", Buffer, sizeof Buffer, File.c_str()), 7u);
  EXPECT_STREQ(Buffer, "default");
  // No room, room for the terminator only, and no section or key: the default, cut to fit.
  EXPECT_EQ(GetPrivateProfileStringA("1", "PicInfo", "", Buffer, 0, File.c_str()), 0u);
  EXPECT_STREQ(Buffer, "default");
  EXPECT_EQ(GetPrivateProfileStringA("1", "PicInfo", "", Buffer, 1, File.c_str()), 0u);
  EXPECT_STREQ(Buffer, "");
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, "PicInfo", "dflt", Buffer, sizeof Buffer, File.c_str()), 4u);
  EXPECT_STREQ(Buffer, "dflt");
  EXPECT_EQ(GetPrivateProfileStringA("1", nullptr, "dflt", Buffer, sizeof Buffer, File.c_str()), 4u);
}

TEST(LevelDataText, EdgesTakeEitherDecimalSeparatorAndNothingElse) {
  float V = -1;
  for (auto [Text, Want] : std::vector<std::pair<const char*, float>>{
           {"12", 12}, {" 12.5 ", 12.5f}, {"12,25", 12.25f}, {"-3", -3}, {"+3", 3}}) {
    EXPECT_TRUE(ParseEdge(Text, V)) << Text;
    EXPECT_EQ(V, Want) << Text;
  }
  for (const char* Bad : {"", " ", "abc", "12px", "1.2.3", "1,2,3", "inf", "nan", "1e400", "--1"})
    EXPECT_FALSE(ParseEdge(Bad, V)) << Bad;
}

TEST(LevelDataText, LevelCountIsAWholeNumberFrom1To50) {
  int32_t N = 0;
  EXPECT_TRUE(ParseLevelCount("1", N) && N == 1);
  EXPECT_TRUE(ParseLevelCount(" 50 ", N) && N == 50);
  for (const char* Bad : {"0", "51", "-1", "3.0", "3,5", "", "ten", "99999999999"})
    EXPECT_FALSE(ParseLevelCount(Bad, N)) << Bad;
}

TEST(LevelDataText, LineMarksAndPackTitles) {
  EXPECT_EQ(ExpandLineBreaks("Prvi[e]drugi[e][e]"), "Prvi\r\ndrugi\r\n\r\n");
  EXPECT_EQ(ExpandLineBreaks("bez [E] oznake"), "bez [E] oznake") << "the mark is case-sensitive";
  EXPECT_EQ(PackTitle("Priroda.pkr"), "Priroda");
  EXPECT_EQ(PackTitle("abcd"), "");
  EXPECT_EQ(PackTitle("abc"), "abc");
  EXPECT_EQ(PackTitle(""), "");
}

// Entries of a one-level pack; a test replaces some.
std::map<std::string, std::string> GoodPack() {
  std::string PicInfo = "; level one\n[1]\n";
  for (int K = 1; K <= 5; ++K)
    for (const char* E : {"Left", "Right", "Top", "Bottom"}) PicInfo += std::to_string(K) + E + "=" + std::to_string(K) + "\n";
  return {{"packinfo.ini", "[General]\nNumOfLevels=1\nVertical=False\n"},
          {"picinfo.ini", PicInfo},
          {"1.jpg", TinyBmp(8, 8)},
          {"1x.jpg", TinyBmp(8, 8)}};
}

std::vector<PackProblem> Check(const std::map<std::string, std::string>& Entries, bool Decode = false) {
  TempFolder Folder;
  MakeZip(Folder / "p.pkr", {Entries.begin(), Entries.end()});
  const auto FromFile = CheckPack((Folder / "p.pkr").string(), Decode);
  const auto FromMemory = CheckPackData(ReadFile(Folder / "p.pkr"), "p.pkr", Decode);
  EXPECT_EQ(FromFile.size(), FromMemory.size());
  return FromFile;
}

TEST(PackCheck, NamesTheEntryAndTheLineOfEveryProblem) {
  std::string Broken = GoodPack()["picinfo.ini"];
  Broken.replace(Broken.find("3Top=3"), 6, "3Top=x");
  // A JPEG frame header with nothing decodable behind it.
  const std::string Damaged("\xFF\xD8\xFF\xC0\0\x0B\x08\0\x08\0\x08\x01\x01\x11\0junk", 19);
  using Row = std::tuple<std::string, std::string, bool, std::string, int, std::string>;
  for (const auto& [Entry, Content, Decode, Named, Line, Says] : std::vector<Row>{
           {"", "", false, "", 0, ""},
           {"packinfo.ini", "[General]\nVertical=False\n\nNumOfLevels=abc\n", false, "packinfo.ini", 4, "NumOfLevels"},
           {"packinfo.ini", "[general]\nnumoflevels=1\nVertical=Maybe\n", false, "packinfo.ini", 3, "Vertical"},
           {"picinfo.ini", Broken, false, "picinfo.ini", 13, "[1] 3Top \"x\""},
           {"picinfo.ini", "[1]\n1Left=1\n", false, "picinfo.ini", 1, "[1] lacks 1Right"},
           {"picinfo.ini", "[2]\n", false, "picinfo.ini", 0, "[1]"},
           {"1x.jpg", "GIF89a", false, "1x.jpg", 0, "not a JPEG"},
           {"1x.jpg", Damaged, false, "", 0, ""},
           {"1x.jpg", Damaged, true, "1x.jpg", 0, "cannot be decoded"}}) {
    auto Entries = GoodPack();
    if (!Entry.empty()) Entries[Entry] = Content;
    const auto Problems = Check(Entries, Decode);
    if (Named.empty() && Says.empty()) {
      EXPECT_TRUE(Problems.empty()) << Entry << ": " << (Problems.empty() ? "" : DescribePackProblem(Problems[0]));
      continue;
    }
    ASSERT_FALSE(Problems.empty()) << Says;
    EXPECT_EQ(Problems[0].Entry, Named);
    EXPECT_EQ(Problems[0].Line, Line) << Says;
    EXPECT_NE(DescribePackProblem(Problems[0]).find(Says), std::string::npos) << DescribePackProblem(Problems[0]);
  }
}

// Archivers write entries in any order; each entry of a good pack may come first.
TEST(PackCheck, AGoodPackPassesWhicheverEntryComesFirst) {
  const auto Good = GoodPack();
  std::vector<std::pair<std::string, std::string>> Entries(Good.begin(), Good.end());
  for (size_t K = 0; K < Entries.size(); ++K) {
    std::rotate(Entries.begin(), Entries.begin() + 1, Entries.end());
    TempFolder Folder;
    MakeZip(Folder / "p.pkr", Entries);
    EXPECT_TRUE(CheckPack((Folder / "p.pkr").string(), false).empty()) << Entries.front().first << " first";
  }
}

TEST(PackCheck, ListsAtMostItsLimitAndKeepsReportsOnOneLine) {
  auto Entries = GoodPack();
  Entries["packinfo.ini"] = "[General]\nNumOfLevels=50\nVertical=False\n";
  EXPECT_EQ(Check(Entries).size(), MaxPackProblems);
  EXPECT_EQ(DescribePackProblem({"a\nb.ini", 3, std::string(500, 'x') + "\r"}).find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(PrintableText("ab\xC4\x8D", 3), "ab...") << "never half a character";
  EXPECT_EQ(PrintableText("a\xE2\x82\xAC!", 3), "a...") << "nor two thirds of one";
  EXPECT_EQ(CheckPackData("not a zip", "a\\b.pkr").size(), 2u) << "the name and the content";
}

}  // namespace
}  // namespace pikora::test
