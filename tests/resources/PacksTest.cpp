#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <tuple>
#include <sstream>

#include "resources/LevelData.h"
#include "resources/Packs.h"
#include "support/PackScript.h"

namespace fs = std::filesystem;

namespace pikora::test {
namespace {

class PacksTest : public PackScriptTest {
 protected:
  // Makes the headers of one entry claim a size far beyond what the file tools unpack.
  static void ClaimEntrySize(const fs::path& Archive, const std::string& Entry, uint32_t Size) {
    std::string Bytes = ReadFile(Archive);
    auto Put32 = [&](size_t At) {
      for (int I = 0; I < 4; ++I) Bytes[At + I] = char((Size >> (8 * I)) & 255);
    };
    for (const auto& [Signature, NameAt, SizeAt] :
         {std::tuple<std::string, size_t, size_t>{std::string("PK\3\4", 4), 30, 22},
          std::tuple<std::string, size_t, size_t>{std::string("PK\1\2", 4), 46, 24}})
      for (size_t At = Bytes.find(Signature); At != std::string::npos; At = Bytes.find(Signature, At + 1))
        if (Bytes.compare(At + NameAt, Entry.size(), Entry) == 0) Put32(At + SizeAt);
    WriteFile(Archive, Bytes);
  }
  std::set<std::string> GameFolderFiles() {
    std::set<std::string> Names;
    for (const auto& E : fs::directory_iterator(Folder.Path))
      if (E.is_regular_file()) Names.insert(E.path().filename().string());
    return Names;
  }
  // A valid pack's entries with one entry replaced (or removed when Content is null).
  void MakeVariant(const std::string& FileName, const std::string& Entry, std::optional<std::string> Content,
                   int Levels = 2) {
    MakePack("template.tmp", Levels, false);
    std::vector<std::pair<std::string, std::string>> Entries;
    for (const auto& Name : ZipEntries(Folder / "packs" / "template.tmp"))
      if (Name != Entry) Entries.emplace_back(Name, ZipEntry(Folder / "packs" / "template.tmp", Name));
    if (Content) Entries.emplace_back(Entry, *Content);
    fs::remove(Folder / "packs" / "template.tmp");
    MakeZip(Folder / "packs" / FileName, Entries);
  }
  // Rewrites a field of an entry's local and central headers (offsets from each signature).
  static void PatchEntry(const fs::path& Archive, const std::string& Entry, size_t LocalAt, size_t CentralAt,
                         const std::string& Bytes) {
    std::string Zip = ReadFile(Archive);
    for (const auto& [Signature, NameAt, At] : {std::tuple<std::string, size_t, size_t>{std::string("PK\3\4", 4), 30, LocalAt},
                                                std::tuple<std::string, size_t, size_t>{std::string("PK\1\2", 4), 46, CentralAt}})
      for (size_t P = Zip.find(Signature); P != std::string::npos; P = Zip.find(Signature, P + 1))
        if (Zip.compare(P + NameAt, Entry.size(), Entry) == 0) Zip.replace(P + At, Bytes.size(), Bytes);
    WriteFile(Archive, Zip);
  }
};

TEST_F(PacksTest, ScanShowsItsLoadingFrameAfterTheFirstFrameAndNumbersWorkingFilesByListIndex) {
  MakePack("a.pkr", 2, false);
  MakePack("b.pkr", 3, true);
  std::set<std::string> During;
  At(2, [&] { During = GameFolderFiles(); });
  ASSERT_EQ(RunFrames(2), 0);

  const auto Frame1 = Engine->CallsIn(1);
  ASSERT_GE(Frame1.size(), 3u);
  const auto& Logo = Frame1[Frame1.size() - 3];
  EXPECT_EQ(Logo.Op, "DrawSprite");
  EXPECT_EQ(Logo.Name, "brightlogo.jpg");
  EXPECT_EQ(Logo[5], 100);
  EXPECT_EQ(Frame1[Frame1.size() - 2].Op, "DrawBitmapText");
  EXPECT_EQ(Frame1[Frame1.size() - 2].Text, "UCITAVANJE");
  EXPECT_EQ(Frame1.back().Op, "EndFrame");

  EXPECT_EQ(PackList, (std::vector<std::string>{"a.pkr", "b.pkr"}));
  EXPECT_TRUE(During.count("0packinfo.ini") && During.count("0hscore.ini"));
  EXPECT_TRUE(During.count("1packinfo.ini") && During.count("1hscore.ini"));
  EXPECT_FALSE(During.count("2packinfo.ini"));
  for (const auto& Name : GameFolderFiles()) EXPECT_EQ(Name.find(".ini"), std::string::npos) << Name << " left behind";
}

TEST_F(PacksTest, PackOrderGivesIndicesAndSelectedPackOneMeansTheSecondPack) {
  MakePack("a.pkr", 2, false);
  MakePack("b.pkr", 3, true);
  std::string Info0, Info1;
  At(2, [&] {
    EXPECT_EQ(PackList, (std::vector<std::string>{"a.pkr", "b.pkr"}));
    Info0 = ReadFile(Folder / "0packinfo.ini");
    Info1 = ReadFile(Folder / "1packinfo.ini");
    SelectedPack = 1;
    StartPack();
    EXPECT_EQ(CurrentPackFile, "b.pkr");
    EXPECT_EQ(NumOfLevels, 3);
    EXPECT_TRUE(Vertical);
  });
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_NE(Info0.find("Paket a.pkr"), std::string::npos);
  EXPECT_NE(Info1.find("Paket b.pkr"), std::string::npos);
}

TEST_F(PacksTest, UnreadableAndUnplayablePacksAreLeftOutWithOneWarningEachAndGoodOnesPlay) {
  MakePack("a.pkr", 2, false);
  WriteFile(Folder / "packs" / "b-junk.pkr", "this is no archive");
  MakePack("c-cut.pkr", 2, false);
  {
    const std::string Whole = ReadFile(Folder / "packs" / "c-cut.pkr");
    WriteFile(Folder / "packs" / "c-cut.pkr", Whole.substr(0, Whole.size() / 2));
  }
  WriteFile(Folder / "packs" / "d-empty.pkr", "");
  MakeVariant("e-noinfo.pkr", "packinfo.ini", std::nullopt);
  MakeVariant("f-nopicinfo.pkr", "picinfo.ini", std::nullopt);
  MakeVariant("g-zero.pkr", "packinfo.ini", "[General]\nNumOfLevels=0\nVertical=True\n");
  MakeVariant("h-many.pkr", "packinfo.ini", "[General]\nNumOfLevels=51\nVertical=True\n");
  MakeVariant("i-vertical.pkr", "packinfo.ini", "[General]\nNumOfLevels=2\nVertical=Maybe\n");
  MakeVariant("j-nopicture.pkr", "2x.jpg", std::nullopt);
  MakeVariant("k-mixed.pkr", "1x.jpg", std::nullopt);  // 1.jpg with no partner
  std::string PicInfo;
  for (int N = 1; N <= 2; ++N) {
    PicInfo += "[" + std::to_string(N) + "]\n";
    for (int K = 1; K <= 5; ++K)
      for (const char* E : {"Left", "Right", "Top", "Bottom"})
        PicInfo += std::to_string(K) + E + "=" + (N == 2 && K == 3 && std::string(E) == "Top" ? "abc" : "10,5") + "\n";
  }
  MakeVariant("l-badedge.pkr", "picinfo.ini", PicInfo);
  MakeVariant("m-noedge.pkr", "picinfo.ini", "[1]\n1Left=1\n");
  MakeVariant("n-huge.pkr", "packinfo.ini", "[General]\nNumOfLevels=2\nVertical=True\n");
  ClaimEntrySize(Folder / "packs" / "n-huge.pkr", "packinfo.ini", 3u << 30);
  std::string Giant = TinyBmp(8, 8);
  Giant.replace(18, 8, std::string("\xE8\xFD\0\0\xE8\xFD\0\0", 8));  // 65000 x 65000
  MakeVariant("o-giant.pkr", "2.jpg", Giant);
  MakeVariant("p-notpicture.pkr", "1x.jpg", "no picture at all");
  MakeVariant("q-method.pkr", "2x.jpg", TinyBmp(8, 8));
  PatchEntry(Folder / "packs" / "q-method.pkr", "2x.jpg", 8, 10, std::string("\x63\0", 2));
  MakeVariant("r-crc.pkr", "1.jpg", TinyBmp(8, 8));
  PatchEntry(Folder / "packs" / "r-crc.pkr", "1.jpg", 14, 16, "\1\2\3\4");
  MakeVariant("s-scores.pkr", "hscore.ini", "[scores]\n");
  PatchEntry(Folder / "packs" / "s-scores.pkr", "hscore.ini", 8, 10, std::string("\x63\0", 2));
  MakePack("t\\back.pkr", 1, true);
  MakePack("z.pkr", 1, true);

  std::vector<std::string> Kept;
  std::set<std::string> Files;
  At(2, [&] {
    Kept = PackList;
    Files = GameFolderFiles();
    SelectedPack = 1;
    StartPack();
  });
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunFrames(2), 0);
  const std::string Err = testing::internal::GetCapturedStderr();

  EXPECT_EQ(Kept, (std::vector<std::string>{"a.pkr", "z.pkr"}));
  EXPECT_EQ(GameScreen, 9);
  EXPECT_EQ(CurrentPackFile, "z.pkr");
  for (const char* Bad : {"b-junk", "c-cut", "d-empty", "e-noinfo", "f-nopicinfo", "g-zero", "h-many", "i-vertical",
                          "j-nopicture", "k-mixed", "l-badedge", "m-noedge", "n-huge", "o-giant", "p-notpicture",
                          "q-method", "r-crc", "s-scores", "t\\back"}) {
    size_t Lines = 0;
    std::istringstream In(Err);
    for (std::string Line; std::getline(In, Line);)
      if (Line.find(Bad) != std::string::npos) ++Lines;
    EXPECT_EQ(Lines, 1u) << Bad << " in:\n" << Err;
  }
  EXPECT_EQ(Err.find("\"a.pkr\""), std::string::npos);
  EXPECT_EQ(Err.find("\"z.pkr\""), std::string::npos);
  EXPECT_EQ(Files, (std::set<std::string>{"0packinfo.ini", "0hscore.ini", "1packinfo.ini", "1hscore.ini"}))
      << "no working files for left-out packs";
}

TEST_F(PacksTest, ABmpOnlyLevelLoadsAndItsExtractedFilesAreRemoved) {
  MakePack("a.pkr", 1, false, ".bmp");
  At(2, [&] {
    SelectedPack = 0;
    StartPack();
    LoadLevelPictures();
    ASSERT_TRUE(OriginalPicture && ModifiedPicture);
    EXPECT_EQ(OriginalPicture->Name, "1.bmp");
    EXPECT_EQ(ModifiedPicture->Name, "1x.bmp");
    EXPECT_EQ(GameScreen, 10);
    EXPECT_EQ(TimeUsed, 0);
    EXPECT_TRUE(LevelRunning);
    for (const char* Name : {"1.bmp", "1x.bmp", "1.jpg", "1x.jpg"}) EXPECT_FALSE(fs::exists(Folder / Name)) << Name;
  });
  ASSERT_EQ(RunFrames(2), 0);
  const auto Loading = Engine->TextsIn(2, "...UCITAVAM...");
  ASSERT_EQ(Loading.size(), 1u);
  EXPECT_EQ(Loading[0].Name, "titleL");
  EXPECT_EQ(Engine->CallsIn(2, "DoEvents").size(), 1u);
  EXPECT_FALSE(OriginalPicture) << "released at shutdown";
  EXPECT_FALSE(fs::exists(Folder / "picinfo.ini")) << "the level data's working file is removed at shutdown";
}

TEST_F(PacksTest, AHighScoreInTheWorkingFileIsInTheArchiveAfterShutdownAndUnchangedArchivesAreNotRewritten) {
  MakePack("a.pkr", 2, false, ".jpg", {{"Ana", 500}});
  MakePack("b.pkr", 2, false, ".jpg", {{"Ivo", 300}});
  const auto A = Folder / "packs" / "a.pkr";
  const auto Past = fs::last_write_time(A) - std::chrono::hours(1);
  fs::last_write_time(A, Past);
  struct stat Before {};
  ASSERT_EQ(stat(A.c_str(), &Before), 0);
  const std::string ATable = ZipEntry(A, "hscore.ini");

  const std::string NewTable = "[scores]\n1_name=Mara\n1_score=900\n2_name=Ivo\n2_score=300\n";
  At(2, [&] { WriteFile(Folder / "1hscore.ini", NewTable); });
  ASSERT_EQ(RunFrames(3), 0);

  EXPECT_EQ(ZipEntry(Folder / "packs" / "b.pkr", "hscore.ini"), NewTable);
  EXPECT_EQ(ZipEntry(A, "hscore.ini"), ATable);
  struct stat After {};
  ASSERT_EQ(stat(A.c_str(), &After), 0);
  EXPECT_EQ(After.st_ino, Before.st_ino) << "a.pkr was rewritten";
  EXPECT_EQ(fs::last_write_time(A), Past) << "a.pkr was rewritten";
  for (const char* Name : {"0hscore.ini", "1hscore.ini", "0packinfo.ini", "1packinfo.ini", "picinfo.ini"})
    EXPECT_FALSE(fs::exists(Folder / Name)) << Name;
}

TEST_F(PacksTest, AWorkingFileGoneBeforeShutdownSkipsThatPackWithAWarning) {
  MakePack("a.pkr", 2, false, ".jpg", {{"Ana", 500}});
  MakePack("b.pkr", 2, false, ".jpg", {{"Ivo", 300}});
  const std::string BTable = "[scores]\n1_name=Mara\n1_score=900\n";
  At(2, [&] {
    fs::remove(Folder / "0hscore.ini");
    WriteFile(Folder / "1hscore.ini", BTable);
  });
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunFrames(2), 0);
  const std::string Err = testing::internal::GetCapturedStderr();
  EXPECT_NE(Err.find("a.pkr"), std::string::npos);
  EXPECT_NE(ZipEntry(Folder / "packs" / "a.pkr", "hscore.ini").find("Ana"), std::string::npos);
  EXPECT_EQ(ZipEntry(Folder / "packs" / "b.pkr", "hscore.ini"), BTable) << "the other packs are still stored";
}

// Packs made on case-insensitive systems spell their entries as they like.
TEST_F(PacksTest, EntriesMatchInAnyLetterCaseAndAreUnpackedUnderTheNamesAskedFor) {
  MakePack("a.pkr", 1, false);
  std::string PicInfo = "[1]\n";
  for (int K = 1; K <= 5; ++K)
    for (const char* E : {"Left", "Right", "Top", "Bottom"}) PicInfo += std::to_string(K) + E + "=7\n";
  MakeZip(Folder / "packs" / "b.pkr", {{"PackInfo.INI", "[General]\nNumOfLevels=1\nVertical=False\n"},
                                       {"PicInfo.ini", PicInfo + "PicInfo=B\n"},
                                       {"1.JPG", TinyBmp(8, 8)},
                                       {"1X.Jpg", TinyBmp(8, 8)}});
  std::vector<float> Lefts;
  At(2, [&] {
    ASSERT_EQ(PackList, (std::vector<std::string>{"a.pkr", "b.pkr"}));
    for (int16_t Pack : {1, 0, 1}) {  // b first on a fresh start, then after a
      SelectedPack = Pack;
      StartPack();
      LoadLevelPictures();
      Lefts.push_back(Differences[1].Left);
      ASSERT_TRUE(OriginalPicture && ModifiedPicture);
      EXPECT_EQ(ModifiedPicture->Name, "1x.jpg");
      EXPECT_EQ(GameFolderFiles().count("PicInfo.ini"), 0u);
    }
  });
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(Lefts, (std::vector<float>{7, 10, 7}));
}

TEST_F(PacksTest, APictureThatFailsAtStartReturnsToThePackListWithAMessageAndPlaysOn) {
  MakePack("a.pkr", 1, false);
  // A JPEG frame header that passes the start-up check, with nothing decodable after it.
  const std::string Damaged("\xFF\xD8\xFF\xC0\0\x11\x08\0\x08\0\x08\x03\x01\x22\0\x02\x11\x01\x03\x11\x01junk", 25);
  MakeVariant("b.pkr", "1x.jpg", Damaged, 1);
  At(2, [&] {
    Engine->DecodePictures = true;  // the interface stand-ins are no pictures
    ASSERT_EQ(PackList.size(), 2u);
    SelectedPack = 1;
    StartPack();
    LoadLevelPictures();
    EXPECT_EQ(GameScreen, 1);
    EXPECT_FALSE(OriginalPicture || ModifiedPicture || LevelRunning || LevelPlayed[1]);
    EXPECT_EQ(GameFolderFiles().count("1.jpg") + GameFolderFiles().count("1x.jpg"), 0u);
  });
  At(3, [&] {
    SelectedPack = 0;
    StartPack();
    LoadLevelPictures();
    EXPECT_EQ(GameScreen, 10) << "another pack still plays";
  });
  testing::internal::CaptureStderr();
  const int Status = RunFrames(3);
  const std::string Err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(Status, 0) << Err;
  EXPECT_EQ(std::count(Err.begin(), Err.end(), '\n'), 1) << Err;
  EXPECT_NE(Err.find("\"b.pkr\""), std::string::npos) << Err;
  EXPECT_NE(Err.find("1x.jpg"), std::string::npos) << Err;
  bool Shown = false;
  for (const auto& Text : Engine->CallsIn(2, "DrawText")) Shown |= Text.Text.find("1x.jpg") != std::string::npos;
  EXPECT_TRUE(Shown) << "the pack list says why";
}

TEST_F(PacksTest, FilesBesidePacksAreNeverRemovedWhateverTheirNames) {
  MakePack("Selo.pkr", 1, false);
  const std::vector<std::string> Mine = {"Selo.pkr.readme", "Selo.pkr.notes1", "Selo.pkr.A1b2C3"};
  for (const auto& Name : Mine) WriteFile(Folder / "packs" / Name, "mine");
  At(2, [&] { WriteFile(Folder / "0hscore.ini", "[scores]\n1_name=Ana\n1_score=5\n"); });
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunFrames(2), 0);
  testing::internal::GetCapturedStderr();
  for (const auto& Name : Mine) EXPECT_EQ(ReadFile(Folder / "packs" / Name), "mine") << Name;
}

TEST_F(PacksTest, APackNameWithABackslashIsLeftOutAndNothingOutsidePacksIsWritten) {
  MakePack("outside.pkr", 1, false);
  fs::copy_file(Folder / "packs" / "outside.pkr", Folder / "packs" / "..\\outside.pkr");
  fs::rename(Folder / "packs" / "outside.pkr", Folder / "outside.pkr");
  const std::string Before = ReadFile(Folder / "outside.pkr");
  At(2, [&] {
    EXPECT_TRUE(PackList.empty());
    if (!PackList.empty()) WriteFile(Folder / "0hscore.ini", "[scores]\n1_name=Ana\n1_score=5\n");
  });
  testing::internal::CaptureStderr();
  ASSERT_EQ(RunFrames(2), 0);
  const std::string Err = testing::internal::GetCapturedStderr();
  EXPECT_NE(Err.find("outside.pkr"), std::string::npos);
  EXPECT_EQ(ReadFile(Folder / "outside.pkr"), Before);
}

TEST_F(PacksTest, NoPacksFolderGivesAnEmptyListAndTheGameRuns) {
  fs::remove_all(Folder / "packs");
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunFrames(2), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(PackList.empty());
}

}  // namespace
}  // namespace pikora::test
