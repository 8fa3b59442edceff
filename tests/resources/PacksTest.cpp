// The pack scan, starting a pack and its level data, and storing the scores, on real archives.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>

#include "resources/LevelData.h"
#include "resources/Packs.h"
#include "support/PackScript.h"

namespace fs = std::filesystem;

namespace pikora::test {
namespace {

class PacksTest : public PackScriptTest {
 protected:
  // Runs the frames, which must end well, and returns what the game wrote to stderr.
  std::string RunWarned(int32_t Frames) {
    testing::internal::CaptureStderr();
    const int Status = RunFrames(Frames);
    const std::string Err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Status, 0) << Err;
    return Err;
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

// The loading frame the scan draws is in the credits transcript.
TEST_F(PacksTest, WorkingFilesAreNumberedByListIndexAndSelectedPackOneMeansTheSecondPack) {
  MakePack("a.pkr", 2, false);
  MakePack("b.pkr", 3, true);
  std::set<std::string> During;
  std::string Info0, Info1;
  At(2, [&] {
    During = GameFolderFiles();
    Info0 = ReadFile(Folder / "0packinfo.ini");
    Info1 = ReadFile(Folder / "1packinfo.ini");
    SelectedPack = 1;
    StartPack();
    EXPECT_EQ(std::tuple(CurrentPackFile, NumOfLevels, Vertical), std::tuple("b.pkr", 3, true));
  });
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(PackList, (std::vector<std::string>{"a.pkr", "b.pkr"}));
  EXPECT_EQ(During, (std::set<std::string>{"0hscore.ini", "0packinfo.ini", "1hscore.ini", "1packinfo.ini"}));
  EXPECT_NE(Info0.find("Paket a.pkr"), std::string::npos);
  EXPECT_NE(Info1.find("Paket b.pkr"), std::string::npos);
  for (const auto& Name : GameFolderFiles()) EXPECT_EQ(Name.find(".ini"), std::string::npos) << Name << " left behind";
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
  MakePack("l-badedge.pkr", 2, false);
  std::string PicInfo = ZipEntry(Folder / "packs" / "l-badedge.pkr", "picinfo.ini");
  MakeVariant("l-badedge.pkr", "picinfo.ini", PicInfo.replace(PicInfo.rfind("3Top=30"), 7, "3Top=abc"));  // level 2
  MakeVariant("m-noedge.pkr", "picinfo.ini", "[1]\n1Left=1\n");
  MakeVariant("n-huge.pkr", "packinfo.ini", "[General]\nNumOfLevels=2\nVertical=True\n");
  // Its headers claim an uncompressed size of 3 GiB, far beyond what the file tools unpack.
  PatchEntry(Folder / "packs" / "n-huge.pkr", "packinfo.ini", 22, 24, std::string("\0\0\0\xC0", 4));
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
  const std::string Err = RunWarned(2);

  EXPECT_EQ(Kept, (std::vector<std::string>{"a.pkr", "z.pkr"}));
  EXPECT_EQ(std::tuple(GameScreen, CurrentPackFile), std::tuple(9, "z.pkr"));
  for (const char* Bad : {"b-junk", "c-cut", "d-empty", "e-noinfo", "f-nopicinfo", "g-zero", "h-many", "i-vertical",
                          "j-nopicture", "k-mixed", "l-badedge", "m-noedge", "n-huge", "o-giant", "p-notpicture",
                          "q-method", "r-crc", "s-scores", "t\\back"}) {
    size_t Lines = 0;
    std::istringstream In(Err);
    for (std::string Line; std::getline(In, Line);)
      if (Line.find(Bad) != std::string::npos) ++Lines;
    EXPECT_EQ(Lines, 1u) << Bad << " in:\n" << Err;
  }
  EXPECT_TRUE(Err.find("\"a.pkr\"") == std::string::npos && Err.find("\"z.pkr\"") == std::string::npos) << Err;
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
    EXPECT_EQ(std::tuple(OriginalPicture->Name, ModifiedPicture->Name, GameScreen, TimeUsed, LevelRunning),
              std::tuple("1.bmp", "1x.bmp", 10, 0, true));
    for (const char* Name : {"1.bmp", "1x.bmp", "1.jpg", "1x.jpg"}) EXPECT_FALSE(fs::exists(Folder / Name)) << Name;
  });
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_FALSE(OriginalPicture) << "released at shutdown";
  EXPECT_FALSE(fs::exists(Folder / "picinfo.ini")) << "the level data's working file is removed at shutdown";
}

// a is unchanged, b's working file is gone before shutdown (a warning, the packs after it are
// still stored), c has a new table.
TEST_F(PacksTest, AtShutdownChangedTablesGoBackIntoTheirArchivesAndUnchangedArchivesAreNotRewritten) {
  MakePack("a.pkr", 2, false, ".jpg", {{"Ana", 500}});
  MakePack("b.pkr", 2, false, ".jpg", {{"Ivo", 300}});
  MakePack("c.pkr", 2, false, ".jpg", {{"Eva", 100}});
  const auto A = Folder / "packs" / "a.pkr";
  const auto Past = fs::last_write_time(A) - std::chrono::hours(1);
  fs::last_write_time(A, Past);
  auto Inode = [&] {
    struct stat S {};
    return stat(A.c_str(), &S) == 0 ? S.st_ino : 0;
  };
  const auto Before = Inode();
  const std::string ATable = ZipEntry(A, "hscore.ini");
  const std::string NewTable = "[scores]\n1_name=Mara\n1_score=900\n2_name=Eva\n2_score=100\n";
  At(2, [&] {
    fs::remove(Folder / "1hscore.ini");
    WriteFile(Folder / "2hscore.ini", NewTable);
  });
  const std::string Err = RunWarned(3);

  EXPECT_NE(Err.find("b.pkr"), std::string::npos);
  EXPECT_NE(ZipEntry(Folder / "packs" / "b.pkr", "hscore.ini").find("Ivo"), std::string::npos);
  EXPECT_EQ(ZipEntry(Folder / "packs" / "c.pkr", "hscore.ini"), NewTable);
  EXPECT_EQ(ZipEntry(A, "hscore.ini"), ATable);
  EXPECT_TRUE(Inode() == Before && fs::last_write_time(A) == Past) << "a.pkr was rewritten";
  for (const char* Name : {"0hscore.ini", "2hscore.ini", "0packinfo.ini", "1packinfo.ini", "2packinfo.ini", "picinfo.ini"})
    EXPECT_FALSE(fs::exists(Folder / Name)) << Name;
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
  const std::string Err = RunWarned(3);
  EXPECT_EQ(std::count(Err.begin(), Err.end(), '\n'), 1) << Err;
  EXPECT_NE(Err.find("\"b.pkr\""), std::string::npos) << Err;
  EXPECT_NE(Err.find("1x.jpg"), std::string::npos) << Err;
  const auto Texts = Engine->CallsIn(2, "DrawText");
  EXPECT_TRUE(std::any_of(Texts.begin(), Texts.end(), [](const auto& T) { return T.Text.find("1x.jpg") != std::string::npos; }))
      << "the pack list says why";
}

TEST_F(PacksTest, FilesBesidePacksAreNeverRemovedWhateverTheirNames) {
  MakePack("Selo.pkr", 1, false);
  const std::vector<std::string> Mine = {"Selo.pkr.readme", "Selo.pkr.notes1", "Selo.pkr.A1b2C3"};
  for (const auto& Name : Mine) WriteFile(Folder / "packs" / Name, "mine");
  At(2, [&] { WriteFile(Folder / "0hscore.ini", "[scores]\n1_name=Ana\n1_score=5\n"); });
  RunWarned(2);
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
  const std::string Err = RunWarned(2);
  EXPECT_NE(Err.find("outside.pkr"), std::string::npos);
  EXPECT_EQ(ReadFile(Folder / "outside.pkr"), Before);
}

TEST_F(PacksTest, NoPacksFolderGivesAnEmptyListAndTheGameRuns) {
  fs::remove_all(Folder / "packs");
  RunWarned(2);
  EXPECT_TRUE(PackList.empty());
}

class LevelDataTest : public PackScriptTest {};

TEST_F(LevelDataTest, StartPackResetsTheRunAndShowsThePreLevelScreen) {
  MakePack("a.pkr", 4, true);
  At(2, [&] {
    Score = 77, Level = 3, LevelText = "3", LevelFade = 50, JokerFade = 0;
    JokerAvailable = EndSoundPending = false;
    PackCompleted = LevelCompleteShown = NextLevelClicked = true;
    SelectedPack = 0;
    StartPack();
    EXPECT_EQ(std::tuple(Score, Level, LevelText, LevelFade, JokerFade), std::tuple(0, 1, "1", 0, 100));
    EXPECT_EQ(std::tuple(JokerAvailable, EndSoundPending, PackCompleted, LevelCompleteShown, NextLevelClicked),
              std::tuple(true, true, false, false, false));
    EXPECT_EQ(std::tuple(GameScreen, Vertical, NumOfLevels, CurrentPackFile), std::tuple(9, true, 4, "a.pkr"));
  });
  ASSERT_EQ(RunFrames(2), 0);
}

TEST_F(LevelDataTest, EachLevelIsChosenOnceInARunAndAFullyPlayedPackStillChooses) {
  MakePack("one.pkr", 1, false);
  MakePack("six.pkr", 6, false);
  std::vector<std::string> Chosen;
  At(2, [&] {
    SelectedPack = 0;
    StartPack();
    EXPECT_EQ(PictureName, "1");
    LevelPlayed = {};
    SelectedPack = 1;
    StartPack();
    // The sixth choice comes with every level played: it must not hang.
    for (int I = 0; I < 6; ++I, ChooseLevel()) Chosen.push_back(PictureName);
    EXPECT_TRUE(std::stoi(PictureName) >= 1 && std::stoi(PictureName) <= 6) << PictureName;
  });
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(std::set<std::string>(Chosen.begin(), Chosen.end()),
            (std::set<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST_F(LevelDataTest, RectanglesAreReadNumberFirstAndAcceptADecimalComma) {
  std::string PicInfo = "[1]\n";
  for (int K = 1; K <= 5; ++K) {
    const std::string N = std::to_string(K);
    PicInfo += N + "Left=" + N + "0,5\n" + N + "Right=" + N + "8.25\n" + N + "Top=" + N + "1\n" + N + "Bottom=" + N +
               "9\n";
  }
  MakeZip(Folder / "packs" / "a.pkr", {{"packinfo.ini", "[General]\nNumOfLevels=1\nVertical=False\nPackInfo=x\n"},
                                       {"picinfo.ini", PicInfo + "PicInfo=Jedan[e]dva\n"},
                                       {"hscore.ini", "[scores]\n"},
                                       {"1.jpg", TinyBmp(8, 8)},
                                       {"1x.jpg", TinyBmp(8, 8)}});
  At(2, [&] {
    SelectedPack = 0;
    Differences[3].Found = true;
    StartPack();
    const auto& D = Differences[3];
    EXPECT_EQ(std::tuple(D.Left, D.Right, D.Top, D.Bottom), std::tuple(30.5f, 38.25f, 31, 39));
    EXPECT_FLOAT_EQ(Differences[5].Left, 50.5f);
    EXPECT_TRUE(Differences[3].Found) << "Found flags are not this code's business";
  });
  ASSERT_EQ(RunFrames(2), 0);
}

}  // namespace
}  // namespace pikora::test
