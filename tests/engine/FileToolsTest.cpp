// The real file tools on real ZIP and INI files in a temporary game folder.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "support/GameFixture.h"

namespace fs = std::filesystem;

namespace pikora::test {
namespace {

class FileToolsTest : public ::testing::Test {
 protected:
  TempFolder Game;
  std::shared_ptr<FileTools> Files = MakeZipFileTools(Game.Path.string(), nullptr);

  void Open(const std::string& Archive) { Files->OpenArchive(Archive, 0, ArchivePassword, 0); }
  // Files and folders in the temp folder's parent that were not there before: nothing may
  // escape the game folder.
  std::vector<std::string> Listing(const fs::path& Folder) {
    std::vector<std::string> Names;
    for (const auto& E : fs::recursive_directory_iterator(Folder)) Names.push_back(fs::relative(E.path(), Folder).string());
    std::sort(Names.begin(), Names.end());
    return Names;
  }
};

TEST_F(FileToolsTest, ExtractAddRemoveAndReopenRoundTrip) {
  MakeZip(Game / "packs" / "a.pkr", {{"packinfo.ini", "[General]\nNumOfLevels=2\n"}, {"1.jpg", "one"}, {"sub/", ""}, {"sub/2.jpg", "two"}});
  Open("\\packs\\a.pkr");
  Files->ExtractFile("packinfo.ini", "0packinfo.ini", 0);
  EXPECT_EQ(ReadFile(Game / "0packinfo.ini"), "[General]\nNumOfLevels=2\n");
  Files->ExtractFile("missing.ini", "", 0);  // silently nothing
  EXPECT_FALSE(fs::exists(Game / "missing.ini"));
  WriteFile(Game / "1.jpg", "an older file");
  Files->ExtractAll("", 0);
  EXPECT_EQ(ReadFile(Game / "1.jpg"), "one");
  EXPECT_EQ(ReadFile(Game / "sub" / "2.jpg"), "two");

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
}

TEST_F(FileToolsTest, AnUnchangedArchiveIsNotRewritten) {
  MakeZip(Game / "p.pkr", {{"hscore.ini", "[scores]\n1_name=A\n1_score=5\n"}, {"1.jpg", "pic"}});
  auto Before = fs::last_write_time(Game / "p.pkr");
  auto InodeBefore = fs::status(Game / "p.pkr").permissions();
  (void)InodeBefore;
  Open("p.pkr");
  Files->ExtractFile("hscore.ini", "0hscore.ini", 0);
  // The shutdown sequence with a table nobody changed.
  Files->RemoveFromArchive("hscore.ini", 0);
  Files->AddFileToArchive("0hscore.ini", "hscore.ini", 0);
  Files->FlushArchive();
  EXPECT_EQ(fs::last_write_time(Game / "p.pkr"), Before);
  EXPECT_EQ(ZipEntries(Game / "p.pkr"), (std::vector<std::string>{"hscore.ini", "1.jpg"}));
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
  std::string Message;
  try {
    Files->FlushArchive();
  } catch (const ComponentError& Error) {
    Message = Error.what();
  }
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
  EXPECT_EQ(Listing(Outside.Path), (std::vector<std::string>{"game", "game/evil.pkr", "game/fine.txt"}));
  EXPECT_FALSE(fs::exists("/tmp/pikora-absolute-escape.txt"));

  // Truncated archive and a file that is no ZIP: the error names the file.
  std::string Bytes = ReadFile(Game2 / "evil.pkr");
  WriteFile(Game2 / "cut.pkr", Bytes.substr(0, Bytes.size() / 2));
  WriteFile(Game2 / "text.pkr", "just some text, no archive at all");
  for (const char* Name : {"cut.pkr", "text.pkr", "missing.pkr"}) {
    try {
      Tools->OpenArchive(Name, 0, ArchivePassword, 0);
      ADD_FAILURE() << Name << " opened";
    } catch (const ComponentError& Error) {
      EXPECT_NE(std::string(Error.what()).find(Name), std::string::npos) << Error.what();
    }
  }
  // A failed open leaves no current archive.
  EXPECT_THROW(Tools->ExtractAll("", 0), ComponentError);
  // A file that cannot be read (a folder) is an error, not a wait.
  Tools->OpenArchive("evil.pkr", 0, ArchivePassword, 0);
  EXPECT_THROW(Tools->AddFileToArchive(".", "x", 0), ComponentError);
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
  EXPECT_FALSE(fs::exists(Game / "big.bmp"));
  EXPECT_FALSE(fs::exists(Game / "small.txt"));
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
  EXPECT_EQ(ReadFile(Game / "1.jpg"), "secret");
  EXPECT_EQ(ReadFile(Game / "plain.txt"), "plain");
  Files->OpenArchive("locked.pkr", 0, "wrong one", 0);
  EXPECT_THROW(Files->ExtractFile("1.jpg", "again.jpg", 0), ComponentError);
  EXPECT_FALSE(fs::exists(Game / "again.jpg"));
}

TEST_F(FileToolsTest, ListFilesAndFileExists) {
  EXPECT_TRUE(Files->ListFiles("packs", 0, true).empty());
  for (const char* Name : {"b.pkr", "B.pkr", "a.pkr", "a b.pkr"}) WriteFile(Game / "packs" / Name, "x");
  fs::create_directories(Game / "packs" / "folder");
  EXPECT_EQ(Files->ListFiles("packs", 0, true), (std::vector<std::string>{"B.pkr", "a b.pkr", "a.pkr", "b.pkr"}));
  EXPECT_TRUE(Files->FileExists("\\packs\\a.pkr"));
  EXPECT_TRUE(Files->FileExists("/packs/a.pkr"));
  EXPECT_FALSE(Files->FileExists("packs\\c.pkr"));
  EXPECT_FALSE(Files->FileExists("packs"));
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
  EXPECT_TRUE(Over(100, 200));
  EXPECT_TRUE(Over(149, 217));
  EXPECT_FALSE(Over(150, 210));
  EXPECT_FALSE(Over(120, 218));  // the gap between rows 20 apart and 18 high
  EXPECT_FALSE(Over(99, 210));
  EXPECT_FALSE(Over(120, 199));
}

}  // namespace
}  // namespace pikora::test
