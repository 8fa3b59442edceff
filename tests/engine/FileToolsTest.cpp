// The real file tools on real ZIP and INI files in a temporary game folder: archives, INI files
// read and written like the Windows profile functions, and the ten-place high-score table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "engine/IniText.h"
#include "engine/ZipError.h"
#include "support/GameFixture.h"

namespace fs = std::filesystem;

namespace pikora::test {
namespace {

// What Call throws as an Error, or "" when it throws nothing.
template <class Error>
std::string ErrorOf(const std::function<void()>& Call) try { return Call(), ""; } catch (const Error& E) { return E.what(); }

class FileToolsTest : public ::testing::Test {
 protected:
  TempFolder Game;
  std::shared_ptr<FileTools> Files = MakeZipFileTools(Game.Path.string(), nullptr);

  void Open(const std::string& Archive) { Files->OpenArchive(Archive, 0, ArchivePassword, 0); }
};

size_t OpenFiles() { return size_t(std::distance(fs::directory_iterator("/proc/self/fd"), {})); }

TEST_F(FileToolsTest, ExtractAddRemoveAndReopenRoundTrip) {
  const size_t Open0 = OpenFiles();
  MakeZip(Game / "packs" / "a.pkr", {{"packinfo.ini", "[General]\nNumOfLevels=2\n"}, {"1.jpg", "one"}, {"sub/", ""}, {"sub/2.jpg", "two"}});
  Open("\\packs\\a.pkr");
  Files->ExtractFile("packinfo.ini", "0packinfo.ini", 0);
  EXPECT_EQ(ReadFile(Game / "0packinfo.ini"), "[General]\nNumOfLevels=2\n");
  Files->ExtractFile("missing.ini", "", 0);  // silently nothing
  EXPECT_FALSE(fs::exists(Game / "missing.ini"));
  WriteFile(Game / "1.jpg", "an older file");
  Files->ExtractAll("", 0);
  EXPECT_EQ(ReadFile(Game / "1.jpg") + "|" + ReadFile(Game / "sub" / "2.jpg"), "one|two");

  WriteFile(Game / "0hscore.ini", "[scores]\n1_name=Ana\n1_score=500\n");
  Files->RemoveFromArchive("1.jpg", 0);
  Files->AddFileToArchive("0hscore.ini", "hscore.ini", 0);
  // Opening the next archive writes the changes.
  MakeZip(Game / "packs" / "b.pkr", {{"x", "y"}});
  Open("/packs/b.pkr");
  EXPECT_EQ(ZipEntries(Game / "packs" / "a.pkr"), (std::vector<std::string>{"packinfo.ini", "sub/", "sub/2.jpg", "hscore.ini"}));
  EXPECT_EQ(ZipEntry(Game / "packs" / "a.pkr", "hscore.ini"), "[scores]\n1_name=Ana\n1_score=500\n");

  // So does releasing the component.
  Files->AddFileToArchive("0hscore.ini", "hscore.ini", 0);
  Files.reset();
  EXPECT_EQ(ZipEntry(Game / "packs" / "b.pkr", "hscore.ini"), "[scores]\n1_name=Ana\n1_score=500\n");

  // An entry put back as it was leaves the archive's file alone.
  const auto Inode = [&] {
    struct stat St {};
    return ::stat((Game / "packs" / "b.pkr").c_str(), &St) == 0 ? St.st_ino : 0;
  };
  const auto Kept = Inode();
  Files = MakeZipFileTools(Game.Path.string(), nullptr);
  Open("/packs/b.pkr");
  Files->RemoveFromArchive("hscore.ini", 0);
  Files->AddFileToArchive("0hscore.ini", "hscore.ini", 0);
  Files.reset();
  EXPECT_EQ(Inode(), Kept) << "b.pkr was rewritten";
  EXPECT_EQ(OpenFiles(), Open0) << "a file opened to write an archive is left open";
}

std::string Noise(size_t Size) {
  std::mt19937 Random(7);
  std::string Bytes(Size, '\0');
  for (char& C : Bytes) C = char(Random());
  return Bytes;
}

TEST_F(FileToolsTest, AnInterruptedRewriteKeepsTheOldArchive) {
  const std::string Picture = Noise(256 << 10);
  MakeZip(Game / "packs" / "a.pkr", {{"hscore.ini", "[scores]\n1_name=Old\n1_score=1\n"}, {"1.jpg", Picture}});
  const std::string Before = ReadFile(Game / "packs" / "a.pkr");
  WriteFile(Game / "big.bin", Noise(1 << 20));
  const rlim_t Limit = 512 << 10;  // room for the old archive, not for the new one

  // A process that dies in the middle of writing.
  pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    rlimit L{Limit, Limit};
    setrlimit(RLIMIT_FSIZE, &L);
    auto Tools = MakeZipFileTools(Game.Path.string(), nullptr);
    Tools->OpenArchive("packs\\a.pkr", 0, ArchivePassword, 0);
    Tools->AddFileToArchive("big.bin", "2.jpg", 0);
    Tools->FlushArchive();
    _exit(0);
  }
  int Status = 0;
  ASSERT_EQ(waitpid(Child, &Status, 0), Child);
  ASSERT_TRUE(WIFSIGNALED(Status)) << "the rewrite was not interrupted";
  EXPECT_EQ(ReadFile(Game / "packs" / "a.pkr"), Before);

  // A write that fails here is reported, and leaves the old archive and no stray file.
  rlimit Old;
  getrlimit(RLIMIT_FSIZE, &Old);
  auto OldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit L{Limit, Old.rlim_max};
  setrlimit(RLIMIT_FSIZE, &L);
  Open("packs/a.pkr");
  Files->AddFileToArchive("big.bin", "2.jpg", 0);
  const std::string Message = ErrorOf<ComponentError>([&] { Files->FlushArchive(); });
  setrlimit(RLIMIT_FSIZE, &Old);
  signal(SIGXFSZ, OldHandler);
  EXPECT_NE(Message.find("a.pkr"), std::string::npos) << Message;
  EXPECT_EQ(ReadFile(Game / "packs" / "a.pkr"), Before);

  // The archive works on; the dead process's leftover stays, as the game cannot tell it from a
  // player's file.
  Open("packs/a.pkr");
  EXPECT_EQ(Files->ListFiles("packs", 0, true).size(), 2u);
  Files->ExtractFile("1.jpg", "", 0);
  EXPECT_EQ(ReadFile(Game / "1.jpg"), Picture);
}

TEST_F(FileToolsTest, PathsThatLeadOutOfTheGameFolderAreRefused) {
  MakeZip(Game / "outside.pkr", {{"hscore.ini", "[scores]\n"}});
  for (const std::string& Path : std::vector<std::string>{"/packs/..\\outside.pkr", "packs/../outside.pkr", "packs\\..\\..\\x.pkr",
                                  (Game / "packs" / ".." / "outside.pkr").string()}) {
    EXPECT_THROW(Open(Path), ComponentError) << Path;
    EXPECT_THROW(Files->WriteINI("a", "b", "c", Path), ComponentError) << Path;
  }
  EXPECT_EQ(ZipEntries(Game / "outside.pkr"), std::vector<std::string>{"hscore.ini"});
}

TEST_F(FileToolsTest, HostileArchivesWriteNothingOutsideAndFailClearly) {
  TempFolder Outside;
  auto Game2 = Outside / "game";
  fs::create_directories(Game2);
  auto Tools = MakeZipFileTools(Game2.string(), nullptr);
  MakeZip(Game2 / "evil.pkr", {{"../escaped.txt", "x"},
                               {"..\\escaped2.txt", "x"},
                               {"a/../../escaped3.txt", "x"},
                               {"/tmp/pikora-absolute-escape.txt", "x"},
                               {"C:escaped4.txt", "x"},
                               {"fine.txt", "ok"}});
  Tools->OpenArchive("evil.pkr", 0, ArchivePassword, 0);
  Tools->ExtractAll("", 0);
  Tools->ExtractFile("../escaped.txt", "", 0);
  std::set<std::string> Listing;
  for (const auto& E : fs::recursive_directory_iterator(Outside.Path)) Listing.insert(fs::relative(E.path(), Outside.Path).string());
  EXPECT_EQ(Listing, (std::set<std::string>{"game", "game/evil.pkr", "game/fine.txt"}));
  EXPECT_FALSE(fs::exists("/tmp/pikora-absolute-escape.txt"));

  // Truncated archive and a file that is no ZIP: the error names the file.
  std::string Bytes = ReadFile(Game2 / "evil.pkr");
  WriteFile(Game2 / "cut.pkr", Bytes.substr(0, Bytes.size() / 2));
  WriteFile(Game2 / "text.pkr", "just some text, no archive at all");
  for (const char* Name : {"cut.pkr", "text.pkr", "missing.pkr"})
    EXPECT_THAT(ErrorOf<ComponentError>([&] { Tools->OpenArchive(Name, 0, ArchivePassword, 0); }), ::testing::HasSubstr(Name));
  // A failed open leaves no current archive.
  EXPECT_THROW(Tools->ExtractAll("", 0), ComponentError);
  // A file that cannot be read (a folder) is an error, not a wait.
  Tools->OpenArchive("evil.pkr", 0, ArchivePassword, 0);
  EXPECT_THROW(Tools->AddFileToArchive(".", "x", 0), ComponentError);
}

// An open error's text carries the system's reason, in memory that libzip hands back.
TEST(ZipOpenErrorText, NamesTheReasonAndKeepsNoMemory) {
  EXPECT_THAT(ZipOpenError(ZIP_ER_NOZIP), ::testing::HasSubstr("Not a zip archive"));
  errno = ENOENT;
  EXPECT_THAT(ZipOpenError(ZIP_ER_OPEN), ::testing::HasSubstr("No such file"));
  const auto Before = long(mallinfo2().uordblks);
  for (int I = 0; I < 1000; ++I) ZipOpenError(ZIP_ER_OPEN);
  EXPECT_LT(long(mallinfo2().uordblks) - Before, 4096) << "bytes kept by 1000 texts";
}

TEST_F(FileToolsTest, AnEntryOver64MiBIsRefused) {
  std::string Big((64u << 20) + 1, 'a');  // compresses to almost nothing
  {
    int Error = 0;
    zip_t* Zip = zip_open((Game / "big.pkr").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &Error);
    ASSERT_NE(Zip, nullptr);
    zip_file_add(Zip, "big.bmp", zip_source_buffer(Zip, Big.data(), Big.size(), 0), 0);
    zip_file_add(Zip, "small.txt", zip_source_buffer(Zip, "s", 1, 0), 0);
    ASSERT_EQ(zip_close(Zip), 0);
  }
  Open("big.pkr");
  EXPECT_THROW(Files->ExtractFile("big.bmp", "", 0), ComponentError);
  EXPECT_THROW(Files->ExtractAll("", 0), ComponentError);
  EXPECT_FALSE(fs::exists(Game / "big.bmp") || fs::exists(Game / "small.txt"));
  Files->ExtractFile("small.txt", "", 0);
  EXPECT_EQ(ReadFile(Game / "small.txt"), "s");
}

TEST_F(FileToolsTest, EncryptedEntriesOpenWithTheGamesPassword) {
  {
    int Error = 0;
    zip_t* Zip = zip_open((Game / "locked.pkr").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &Error);
    ASSERT_NE(Zip, nullptr);
    zip_int64_t I = zip_file_add(Zip, "1.jpg", zip_source_buffer(Zip, "secret", 6, 0), 0);
    ASSERT_EQ(zip_file_set_encryption(Zip, zip_uint64_t(I), ZIP_EM_AES_256, ArchivePassword.c_str()), 0);
    zip_file_add(Zip, "plain.txt", zip_source_buffer(Zip, "plain", 5, 0), 0);
    ASSERT_EQ(zip_close(Zip), 0);
  }
  Open("locked.pkr");
  Files->ExtractAll("", 0);
  EXPECT_EQ(ReadFile(Game / "1.jpg") + "|" + ReadFile(Game / "plain.txt"), "secret|plain");
  Files->OpenArchive("locked.pkr", 0, "wrong one", 0);
  EXPECT_THROW(Files->ExtractFile("1.jpg", "again.jpg", 0), ComponentError);
  EXPECT_FALSE(fs::exists(Game / "again.jpg"));
}

TEST_F(FileToolsTest, ListFilesAndFileExists) {
  EXPECT_TRUE(Files->ListFiles("packs", 0, true).empty());
  for (const char* Name : {"b.pkr", "B.pkr", "a.pkr", "a b.pkr"}) WriteFile(Game / "packs" / Name, "x");
  fs::create_directories(Game / "packs" / "folder");
  EXPECT_EQ(Files->ListFiles("packs", 0, true), (std::vector<std::string>{"B.pkr", "a b.pkr", "a.pkr", "b.pkr"}));
  for (auto [Name, Exists] : {std::pair{"\\packs\\a.pkr", true}, {"/packs/a.pkr", true}, {"packs\\c.pkr", false},
                              {"packs", false}})
    EXPECT_EQ(Files->FileExists(Name), Exists) << Name;
}

struct MouseAt : RecordingGfxEngine {
  int32_t X = 0, Y = 0;
  void LastMousePosition(int32_t& OutX, int32_t& OutY) override { OutX = X, OutY = Y; }
};

TEST_F(FileToolsTest, IsMouseOverIncludesTheTopLeftEdgesOnly) {
  MouseAt Mouse;
  auto Tools = MakeZipFileTools(Game.Path.string(), &Mouse);
  auto Over = [&](int32_t X, int32_t Y) {
    Mouse.X = X, Mouse.Y = Y;
    return Tools->IsMouseOver(100, 200, 50, 18);
  };
  // (120, 218) is in the gap between rows 20 apart and 18 high.
  for (auto [X, Y, Inside] : {std::tuple{100, 200, true}, {149, 217, true}, {150, 210, false}, {120, 218, false},
                              {99, 210, false}, {120, 199, false}})
    EXPECT_EQ(Over(X, Y), Inside) << X << "," << Y;
}

class IniTest : public FileToolsTest {};

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
  EXPECT_TRUE(ini::IsValidUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF, the last code point
  EXPECT_FALSE(ini::IsValidUtf8("\xF4\x90\x80\x80"));  // one beyond it
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

class HighScoreTest : public FileToolsTest {
 protected:
  void Load(const std::string& File = "0hscore.ini") { Files->LoadHighScores(File, 10, 0, 0); }
  void Add(float Score, const std::string& Name) { Files->AddHighScore(Score, Name, {""}, 10); }
  // Places with a name, as "name score" joined by "|".
  static std::string Table(FileTools& F) {
    std::string T;
    for (int16_t P = 1; P <= 10 && !F.GetHighScoreName(P).empty(); ++P)
      T += (P > 1 ? "|" : "") + F.GetHighScoreName(P) + " " + std::to_string(int(F.GetHighScore(P)));
    return T;
  }
};

TEST_F(HighScoreTest, MissingAndEmptyFilesAreEmptyTables) {
  for (const char* Content : {(const char*)nullptr, "", "\x01\x02garbage\n[scores\n=\n"}) {
    if (Content) WriteFile(Game / "0hscore.ini", Content);
    Load();
    EXPECT_EQ(std::tuple(Files->GetHighScorePlace(0), Files->GetHighScoreName(1), Files->GetHighScore(10)),
              std::tuple(1, "", 0.0f)) << (Content ? Content : "no file");
  }
}

TEST_F(HighScoreTest, OrderTiesAndTheEleventhDropped) {
  Load();
  Add(300, "C");
  Add(500, "A");
  Add(300, "D");  // equal goes below
  Add(400, "B");
  EXPECT_EQ(std::tuple(Files->GetHighScorePlace(300), Files->GetHighScorePlace(301), Files->GetHighScorePlace(1000)),
            std::tuple(5, 3, 1));
  for (int I = 0; I < 6; ++I) Add(100, "E" + std::to_string(I));
  // Full: an equal score does not enter, a higher one pushes the last out.
  EXPECT_EQ(Files->GetHighScorePlace(100), 11);
  EXPECT_GT(Files->GetHighScorePlace(0), 10);
  Add(100, "late");
  EXPECT_EQ(Files->GetHighScoreName(10), "E5");
  Add(101, "F");
  EXPECT_EQ(Table(*Files), "A 500|B 400|C 300|D 300|F 101|E0 100|E1 100|E2 100|E3 100|E4 100");

  // Written as plain digits, place 1 readable directly, and read back by a new component.
  EXPECT_EQ(Files->ReadINI("scores", "1_name", "0hscore.ini") + " " + Files->ReadINI("scores", "1_score", "0hscore.ini"), "A 500");
  auto Fresh = MakeZipFileTools(Game.Path.string(), nullptr);
  Fresh->LoadHighScores("0hscore.ini", 10, 0, 0);
  EXPECT_EQ(Table(*Fresh), Table(*Files));
}

TEST_F(HighScoreTest, AHandMadeFileIsReadInScoreOrder) {
  WriteFile(Game / "0hscore.ini", "; my pack\n[Scores]\n1_name=Low\n1_score=10\n3_name=High\n3_score=+90\n4_score=junk\n");
  Load();
  EXPECT_EQ(Table(*Files), "High 90|Low 10") << "4_score has no name and no number";
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
  EXPECT_EQ(Table(*Fresh), "Eve  [scores]  1_score=999999 100|a=b ; [c] 50|" + std::string(100, 'x') + " 25|čiki 10");
}

TEST_F(HighScoreTest, ACachedTableSeesAChangedFile) {
  WriteFile(Game / "0hscore.ini", "[scores]\n1_name=A\n1_score=5\n");
  Load();
  EXPECT_EQ(Files->GetHighScoreName(1), "A");
  WriteFile(Game / "tmp.ini", "[scores]\n1_name=B\n1_score=7\n");
  std::filesystem::rename(Game / "tmp.ini", Game / "0hscore.ini");
  LetTheCacheLook();
  Load();
  EXPECT_EQ(Files->GetHighScoreName(1), "B");
  EXPECT_THROW(MakeZipFileTools(Game.Path.string(), nullptr)->AddHighScore(1, "x", {""}, 10), ComponentError);
}

}  // namespace
}  // namespace pikora::test
