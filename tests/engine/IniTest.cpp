// ReadINI and WriteINI behave like the Windows profile functions.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "engine/IniText.h"
#include "support/GameFixture.h"

namespace fs = std::filesystem;

namespace pikora::test {
namespace {

class IniTest : public ::testing::Test {
 protected:
  TempFolder Game;
  std::shared_ptr<FileTools> Files = MakeZipFileTools(Game.Path.string(), nullptr);
};

TEST_F(IniTest, NamesMatchWithoutCaseValuesAreTrimmedMissingPiecesReadEmpty) {
  WriteFile(Game / "game data" / "options.ini", "; options\r\n[Options]\r\n  Music =  True  \r\nSound=False\r\n");
  EXPECT_EQ(Files->ReadINI("options", "MUSIC", "game data\\options.ini"), "True");
  EXPECT_EQ(Files->ReadINI("Options", "sound", "\\game data\\options.ini"), "False");
  EXPECT_EQ(Files->ReadINI("Options", "Screen", "game data\\options.ini"), "");
  EXPECT_EQ(Files->ReadINI("Other", "Music", "game data\\options.ini"), "");
  EXPECT_EQ(Files->ReadINI("Options", "Music", "nowhere.ini"), "");
  // The first of two equal keys counts, as on Windows.
  WriteFile(Game / "twice.ini", "[a]\nk=first\nk=second\n");
  EXPECT_EQ(Files->ReadINI("A", "K", "twice.ini"), "first");
}

TEST_F(IniTest, WriteKeepsCommentsOrderAndOtherKeys) {
  WriteFile(Game / "o.ini", "; made by hand\r\n[Options]\r\n; the screen\r\nScreen=True\r\nMusic=True\r\n\r\n[Other]\r\nx=1\r\n");
  Files->WriteINI("options", "music", "False", "o.ini");
  Files->WriteINI("Options", "Particle", "True", "o.ini");
  Files->WriteINI("New", "Key", "v", "o.ini");
  EXPECT_EQ(ReadFile(Game / "o.ini"),
            "; made by hand\r\n[Options]\r\n; the screen\r\nScreen=True\r\nmusic=False\r\nParticle=True\r\n\r\n"
            "[Other]\r\nx=1\r\n[New]\r\nKey=v\r\n");
  EXPECT_EQ(Files->ReadINI("Options", "Music", "o.ini"), "False");
  // A missing file is created; a value can't add lines.
  Files->WriteINI("s", "k", "two\nlines", "fresh\\new.ini");
  EXPECT_EQ(ReadFile(Game / "fresh" / "new.ini"), "[s]\r\nk=two lines\r\n");
}

TEST_F(IniTest, AWindows1250FileIsConverted) {
  WriteFile(Game / "packinfo.ini", "[General]\nPackInfo=\xE8 \xE6 \xF0 \x9A \x9E \xC8 \xC6 \xD0 \x8A \x8E\n");
  EXPECT_EQ(Files->ReadINI("General", "PackInfo", "packinfo.ini"), "č ć đ š ž Č Ć Đ Š Ž");
  WriteFile(Game / "utf8.ini", "\xEF\xBB\xBF[General]\nPackInfo=čćđšž\n");
  EXPECT_EQ(Files->ReadINI("General", "PackInfo", "utf8.ini"), "čćđšž");
  WriteFile(Game / "utf8-3.ini", "[General]\nPackInfo=5 € – ok…\n");
  EXPECT_EQ(Files->ReadINI("General", "PackInfo", "utf8-3.ini"), "5 € – ok…") << "valid UTF-8 without a mark";
}

TEST_F(IniTest, AFullPathCountsOnlyInsideTheGameFolder) {
  TempFolder Outside;
  const auto Game2 = Outside / "game", Sibling = Outside / "gamex";
  WriteFile(Game2 / "in.ini", "[a]\nk=inside\n");
  WriteFile(Sibling / "in.ini", "[a]\nk=sibling\n");
  auto Tools = MakeZipFileTools(Game2.string() + "/", nullptr);
  EXPECT_EQ(Tools->ReadINI("a", "k", (Game2 / "in.ini").string()), "inside");
  EXPECT_EQ(Tools->ReadINI("a", "k", (Sibling / "in.ini").string()), "") << "gamex is not inside game";
  // A two-character folder with its trailing separator.
  const auto Cwd = fs::current_path();
  fs::current_path(Outside.Path);
  WriteFile(Outside / "g" / "in.ini", "[a]\nk=short\n");
  EXPECT_EQ(MakeZipFileTools("g/", nullptr)->ReadINI("a", "k", "g/in.ini"), "short");
  fs::current_path(Cwd);
}

TEST_F(IniTest, TheWholeCodePageMatchesIconv) {
  std::string All;
  for (int B = 0x80; B <= 0xFF; ++B)
    if (B != 0x81 && B != 0x83 && B != 0x88 && B != 0x90 && B != 0x98) All += char(B);
  TempFolder Tmp;
  WriteFile(Tmp / "in", All);
  ASSERT_EQ(std::system(("iconv -f CP1250 -t UTF-8 '" + (Tmp / "in").string() + "' > '" + (Tmp / "out").string() + "'").c_str()), 0);
  EXPECT_EQ(ini::Windows1250ToUtf8(All), ReadFile(Tmp / "out"));
  EXPECT_FALSE(ini::IsValidUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(ini::IsValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(ini::IsValidUtf8("\xE8"));
  EXPECT_TRUE(ini::IsValidUtf8("\xF0\x9F\x98\x80"));
}

// Changes made behind the component's back are noticed a millisecond later at the latest.
void LetTheCacheLook() { std::this_thread::sleep_for(std::chrono::milliseconds(3)); }

TEST_F(IniTest, ACachedReadSeesAChangedFile) {
  WriteFile(Game / "c.ini", "[a]\nk=1\n");
  EXPECT_EQ(Files->ReadINI("a", "k", "c.ini"), "1");
  // Same size, written within the same clock tick: replaced the way editors and the game do.
  WriteFile(Game / "c2.ini", "[a]\nk=2\n");
  fs::rename(Game / "c2.ini", Game / "c.ini");
  LetTheCacheLook();
  EXPECT_EQ(Files->ReadINI("a", "k", "c.ini"), "2");
  // Rewritten in place with another size.
  WriteFile(Game / "c.ini", "[a]\nk=three\n");
  LetTheCacheLook();
  EXPECT_EQ(Files->ReadINI("a", "k", "c.ini"), "three");
  fs::remove(Game / "c.ini");
  LetTheCacheLook();
  EXPECT_EQ(Files->ReadINI("a", "k", "c.ini"), "");
}

}  // namespace
}  // namespace pikora::test
