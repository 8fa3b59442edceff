#include <gtest/gtest.h>

#include "resources/LevelData.h"
#include "resources/Packs.h"
#include "resources/modINI.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

TEST(GetINIValue, MatchesSectionAndKeyWithoutCaseAndTrimsTheValue) {
  TempFolder Folder;
  const auto File = (Folder / "picinfo.ini").string();
  WriteFile(File,
            "\xEF\xBB\xBF; a comment\r\n[General]\r\nkey=general\r\n[ 3 ]\r\n  2Left =  12,5 \r\n;2Top=1\r\n"
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
  EXPECT_TRUE(ParseEdge("12", V));
  EXPECT_EQ(V, 12.0f);
  EXPECT_TRUE(ParseEdge(" 12.5 ", V));
  EXPECT_EQ(V, 12.5f);
  EXPECT_TRUE(ParseEdge("12,25", V));
  EXPECT_EQ(V, 12.25f);
  EXPECT_TRUE(ParseEdge("-3", V));
  EXPECT_EQ(V, -3.0f);
  EXPECT_TRUE(ParseEdge("+3", V));
  EXPECT_EQ(V, 3.0f);
  for (const char* Bad : {"", " ", "abc", "12px", "1.2.3", "1,2,3", "inf", "nan", "1e400", "--1"})
    EXPECT_FALSE(ParseEdge(Bad, V)) << Bad;
}

TEST(LevelDataText, LevelCountIsAWholeNumberFrom1To50) {
  int32_t N = 0;
  EXPECT_TRUE(ParseLevelCount("1", N));
  EXPECT_EQ(N, 1);
  EXPECT_TRUE(ParseLevelCount(" 50 ", N));
  EXPECT_EQ(N, 50);
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

}  // namespace
}  // namespace pikora::test
