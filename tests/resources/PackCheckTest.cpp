#include <gtest/gtest.h>

#include <tuple>

#include "resources/PackCheck.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

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

TEST(PackCheck, ListsAtMostItsLimitAndKeepsReportsOnOneLine) {
  auto Entries = GoodPack();
  Entries["packinfo.ini"] = "[General]\nNumOfLevels=50\nVertical=False\n";
  EXPECT_EQ(Check(Entries).size(), MaxPackProblems);
  EXPECT_EQ(DescribePackProblem({"a\nb.ini", 3, std::string(500, 'x') + "\r"}).find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(PrintableText("ab\xC4\x8D", 3), "ab...") << "never half a character";
  EXPECT_EQ(CheckPackData("not a zip", "a\\b.pkr").size(), 2u) << "the name and the content";
}

}  // namespace
}  // namespace pikora::test
