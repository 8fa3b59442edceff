// The pack tool: every fault `check` knows, found in a pack made to have it; detected rectangles;
// photo packs that pass and play to their end; the command line's exit statuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "packtool/Check.h"
#include "packtool/Detect.h"
#include "packtool/GameRules.h"
#include "packtool/Sheet.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

using namespace packtool;
namespace fs = std::filesystem;
using Entries = std::map<std::string, std::string>;

// A busy picture of shapes, so that a moved rectangle lands on unchanged detail.
cv::Mat Scene(unsigned Seed, cv::Size Size = {380, 256}) {
  cv::Mat Picture(Size, CV_8UC3, cv::Scalar(120, 140, 110));
  cv::RNG Random(Seed);
  for (int I = 0; I < 60; ++I)
    cv::circle(Picture, {Random.uniform(0, Size.width), Random.uniform(0, Size.height)}, Random.uniform(4, 20),
               cv::Scalar(Random.uniform(60, 200), Random.uniform(60, 200), Random.uniform(60, 200)), cv::FILLED);
  return Picture;
}

// Paints a plain change of Side pixels in the middle of B.
void Paint(cv::Mat& Picture, const Box& B, int Side = 24, cv::Scalar Colour = {255, 0, 255}) {
  const cv::Point Centre((B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2);
  cv::rectangle(Picture, cv::Rect(Centre.x - Side / 2, Centre.y - Side / 2, Side, Side), Colour, cv::FILLED);
}

struct Level {
  cv::Mat A = Scene(7), B;
  std::vector<Box> Rects = {{20, 20, 69, 69}, {160, 20, 209, 69}, {300, 20, 349, 69}, {60, 160, 109, 209},
                            {220, 160, 269, 209}};
  std::string PackInfo = "[General]\nNumOfLevels=1\nVertical=False\nPackInfo=Proba\n";
  Level() {
    B = A.clone();
    for (const Box& R : Rects) Paint(B, R);
  }
};

std::string Bmp(const cv::Mat& Picture) {
  std::vector<uchar> Bytes;
  cv::imencode(".bmp", Picture, Bytes);
  return {Bytes.begin(), Bytes.end()};
}

// A JPEG whose header claims 65000 x 65000 pixels.
std::string GiantJpeg(const cv::Mat& Picture) {
  std::vector<uchar> Bytes;
  cv::imencode(".jpg", Picture, Bytes);
  std::string Jpeg(Bytes.begin(), Bytes.end());
  return Jpeg.replace(Jpeg.find("\xFF\xC0") + 5, 4, "\xFD\xE8\xFD\xE8");
}

Entries PackOf(const Level& L) {
  return {{"packinfo.ini", L.PackInfo},
          {"picinfo.ini", "[1]\n" + PicInfoLines(L.Rects) + "PicInfo=Pet razlika\n"},
          {"1.bmp", Bmp(L.A)},
          {"1x.bmp", Bmp(L.B)}};
}

// Entry "" is the whole file instead of an archive; entry "~flip" gives the offset of a byte
// damaged in the written archive.
std::vector<Finding> CheckEntries(Entries E, const fs::path& Where) {
  const std::string Flip = E.count("~flip") ? E["~flip"] : "";
  E.erase("~flip");
  if (E.count("")) WriteFile(Where, E.at(""));
  else MakeZip(Where, {E.begin(), E.end()});
  if (!Flip.empty()) {
    std::string Bytes = ReadFile(Where);
    Bytes.at(std::stoul(Flip)) ^= 0x55;
    WriteFile(Where, Bytes);
  }
  return CheckPack(ReadPack(Where.string()));
}

std::string Replaced(std::string Text, const std::string& Old, const std::string& New) {
  return Text.replace(Text.find(Old), Old.size(), New);
}

struct Fault {
  const char* Name;
  std::function<void(Level&)> OnLevel;
  std::function<void(Entries&)> OnEntries;
  Severity Kind;
  std::string Entry;
  int Line;
  std::string Says;
};

const Fault Faults[] = {
    {"not an archive", {}, [](Entries& E) { E = {{"", "no zip here"}}; }, Severity::Error, "", 0, "not a readable ZIP archive"},
    {"no packinfo.ini", {}, [](Entries& E) { E.erase("packinfo.ini"); }, Severity::Error, "packinfo.ini", 0, "missing"},
    {"no picinfo.ini", {}, [](Entries& E) { E.erase("picinfo.ini"); }, Severity::Error, "picinfo.ini", 0, "missing"},
    {"level count a word", [](Level& L) { L.PackInfo = Replaced(L.PackInfo, "=1", "=jedan"); }, {},
     Severity::Error, "packinfo.ini", 2, "NumOfLevels \"jedan\""},
    {"level count too high", [](Level& L) { L.PackInfo = Replaced(L.PackInfo, "=1", "=51"); }, {}, Severity::Error,
     "packinfo.ini", 2, "from 1 to 50"},
    {"layout a word", [](Level& L) { L.PackInfo = Replaced(L.PackInfo, "False", "Mozda"); }, {}, Severity::Error,
     "packinfo.ini", 3, "Vertical \"Mozda\""},
    {"no pack text", [](Level& L) { L.PackInfo = Replaced(L.PackInfo, "PackInfo=Proba\n", ""); }, {},
     Severity::Warning, "packinfo.ini", 1, "no PackInfo"},
    {"picture missing", {}, [](Entries& E) { E.erase("1x.bmp"); }, Severity::Error, "", 0, "level 1 lacks"},
    {"edge missing", {}, [](Entries& E) { E["picinfo.ini"] = Replaced(E["picinfo.ini"], "3Left=300\n", ""); },
     Severity::Error, "picinfo.ini", 1, "[1] lacks 3Left"},
    {"edge a word", {}, [](Entries& E) { E["picinfo.ini"] = Replaced(E["picinfo.ini"], "2Top=20", "2Top=vrh"); },
     Severity::Error, "picinfo.ini", 8, "\"vrh\" is not a number"},
    {"rectangle beyond the picture", [](Level& L) { L.Rects[0].Right = 400; }, {}, Severity::Error, "picinfo.ini", 2,
     "reaches outside"},
    {"rectangle inside out", [](Level& L) { L.Rects[1].Left = 230; }, {}, Severity::Error, "picinfo.ini", 6,
     "holds no pixel"},
    {"rectangle on nothing", [](Level& L) { L.Rects[2] = {300, 100, 349, 149}; }, {}, Severity::Error,
     "picinfo.ini", 10, "no visible change"},
    {"change outside", [](Level& L) { Paint(L.B, {150, 100, 170, 120}, 10); }, {}, Severity::Error, "picinfo.ini",
     0, "visible change outside"},
    {"changes outside beyond the three named",
     [](Level& L) {
       for (int X : {120, 150, 180, 240}) Paint(L.B, {X, 100, X + 20, 120}, 10);
     },
     {}, Severity::Error, "picinfo.ini", 0, "1 more visible change"},
    {"noise outside", [](Level& L) { L.B.at<cv::Vec3b>(5, 5)[0] ^= 4; }, {}, Severity::Warning, "picinfo.ini", 0,
     "not identical outside"},
    {"overlap", [](Level& L) { L.Rects[4].Left = 100; }, {}, Severity::Warning, "picinfo.ini", 18, "overlaps"},
    {"tiny", [](Level& L) { L.A(L.Rects[0].ToCv()).copyTo(L.B(L.Rects[0].ToCv())), Paint(L.B, L.Rects[0], 4); }, {},
     Severity::Warning, "picinfo.ini", 2, "tiny"},
    {"faint",
     [](Level& L) {
       L.A(L.Rects[1].ToCv()).copyTo(L.B(L.Rects[1].ToCv()));
       L.B(L.Rects[1].ToCv()) += cv::Scalar::all(25);
     },
     {}, Severity::Warning, "picinfo.ini", 6, "faint"},
    {"wrong size", [](Level& L) { cv::resize(L.A, L.A, {300, 200}), cv::resize(L.B, L.B, {300, 200}); }, {},
     Severity::Error, "1.bmp", 0, "needs 380 x 256"},
    {"portrait layout, landscape pictures", [](Level& L) { L.PackInfo = Replaced(L.PackInfo, "False", "True"); }, {},
     Severity::Error, "1.bmp", 0, "portrait pack needs 256 x 380"},
    {"damaged picture", {}, [](Entries& E) { E["1x.bmp"].resize(54); }, Severity::Error, "1x.bmp", 0, ""},
    {"giant header", {},
     [](Entries& E) { E["1.bmp"].replace(18, 8, std::string("\xE8\xFD\0\0\xE8\xFD\0\0", 8)); }, Severity::Error,
     "1.bmp", 0, "65000 x 65000"},
    {"giant JPEG header", {},
     [](Entries& E) { E = {{"1.jpg", GiantJpeg(Level().A)}, {"1x.jpg", E["1x.bmp"]}, {"packinfo.ini", E["packinfo.ini"]},
                           {"picinfo.ini", E["picinfo.ini"]}}; },
     Severity::Error, "1.jpg", 0, "65000 x 65000"},
    {"damaged entry", {}, [](Entries& E) { E["~flip"] = "200"; }, Severity::Error, "1.bmp", 0, "cannot be unpacked"},
    {"name in capitals", {}, [](Entries& E) { E["1X.BMP"] = E["1x.bmp"]; }, Severity::Warning, "1X.BMP", 0,
     "not used"},
    {"oversized picture", {}, [](Entries& E) { E["1.bmp"].resize(5 << 20); }, Severity::Error, "1.bmp", 0,
     "larger than 4 MiB"},
    {"not a picture", {}, [](Entries& E) { E["1.bmp"] = "hello"; }, Severity::Error, "1.bmp", 0, "not a JPEG"},
    {"stray entry", {}, [](Entries& E) { E["notes.txt"] = "x"; }, Severity::Warning, "notes.txt", 0, "not used"},
    {"entries in a folder", {},
     [](Entries& E) { E["pack/1.bmp"] = E["1.bmp"]; }, Severity::Warning, "pack/1.bmp", 0, "not in a folder"},
};

TEST(PackCheck, TheShippedPacksAndAWellMadePackPassWithoutAWord) {
  TempFolder Folder;
  for (const fs::directory_entry& Pack : fs::directory_iterator(fs::path(PIKORA_SOURCE_DIR) / "data" / "packs"))
    for (const Finding& F : CheckPack(ReadPack(Pack.path().string()))) ADD_FAILURE() << FormatFinding(Pack.path(), F);
  for (const Finding& F : CheckEntries(PackOf(Level()), Folder / "good.pkr")) ADD_FAILURE() << FormatFinding("good", F);
}

TEST(PackCheck, EachKindOfFaultIsFoundWhereItIs) {
  TempFolder Folder;
  for (const Fault& F : Faults) {
    Level L;
    if (F.OnLevel) F.OnLevel(L);
    Entries E = PackOf(L);
    if (F.OnEntries) F.OnEntries(E);
    const std::vector<Finding> Found = CheckEntries(E, Folder / "fault.pkr");
    const bool Hit = std::any_of(Found.begin(), Found.end(), [&](const Finding& G) {
      return G.Kind == F.Kind && G.Entry == F.Entry && G.Line == F.Line && G.Text.find(F.Says) != std::string::npos;
    });
    std::string All;
    for (const Finding& G : Found) All += "\n  " + FormatFinding("fault.pkr", G);
    EXPECT_TRUE(Hit) << F.Name << ": expected \"" << F.Says << "\" at " << F.Entry << ":" << F.Line << All;
    EXPECT_EQ(HasErrors(Found), F.Kind == Severity::Error) << F.Name << All;
  }
}

TEST(Detect, FindsPaintedChangesMergesCloseOnesAndRefusesTooFew) {
  const std::vector<Box> Known = {{30, 30, 49, 49}, {200, 40, 215, 60}, {320, 20, 339, 39}, {40, 200, 79, 219},
                                  {250, 180, 269, 229}};
  for (const bool Jpeg : {false, true}) {
    cv::Mat A = Scene(3), B = A.clone();
    for (const Box& K : Known) B(K.ToCv()) = cv::Scalar(255, 255, 255) - B(K.ToCv());
    if (Jpeg)
      for (cv::Mat* P : {&A, &B}) {
        std::vector<uchar> Bytes;
        cv::imencode(".jpg", *P, Bytes, {cv::IMWRITE_JPEG_QUALITY, 85});
        *P = cv::imdecode(Bytes, cv::IMREAD_COLOR);
      }
    const Detection Found = DetectDifferences(A, B);
    ASSERT_EQ(Found.Rects.size(), 5u) << Found.Problem;
    for (const Box& K : Known) {
      const bool Covered = std::any_of(Found.Rects.begin(), Found.Rects.end(), [&](const Box& R) {
        return R.Left <= K.Left && R.Right >= K.Right && R.Top <= K.Top && R.Bottom >= K.Bottom &&
               K.Left - R.Left <= 6 && R.Right - K.Right <= 6 && K.Top - R.Top <= 6 && R.Bottom - K.Bottom <= 6;
      });
      EXPECT_TRUE(Covered) << (Jpeg ? "jpeg " : "bmp ") << Describe(K) << " in " << PicInfoLines(Found.Rects);
    }
  }
  cv::Mat A = Scene(3), Seven = A.clone(), Three = A.clone();
  for (const Box& K : Known) Paint(Seven, K, 8);
  Paint(Seven, {60, 30, 69, 39}, 6), Paint(Seven, {200, 80, 215, 90}, 6);
  const Detection Merged = DetectDifferences(A, Seven);
  EXPECT_EQ(Merged.Regions.size(), 7u);
  ASSERT_EQ(Merged.Rects.size(), 5u);
  for (size_t K = 0; K < 3; ++K) Paint(Three, Known[K], 8);
  const Detection Refused = DetectDifferences(A, Three);
  EXPECT_TRUE(Refused.Rects.empty());
  EXPECT_NE(Refused.Problem.find("found 3 separate changes"), std::string::npos) << Refused.Problem;
  // A channel that moves by exactly the threshold is no change; one step more is.
  for (const int Step : {24, 25}) {
    cv::Mat Grey(A.size(), CV_8UC3, cv::Scalar(100, 100, 100)), Moved = Grey.clone();
    for (const Box& K : Known) Moved(K.ToCv()) = cv::Scalar(100, 100, 100 + Step);
    EXPECT_EQ(DetectDifferences(Grey, Moved).Rects.size(), Step > 24 ? 5u : 0u) << Step;
  }
}

TEST(PackCheck, FindingsReadLikeCompilerMessages) {
  EXPECT_EQ(FormatFinding("p.pkr", {Severity::Error, "picinfo.ini", 3, "bad"}), "p.pkr: picinfo.ini:3: error: bad");
  EXPECT_EQ(FormatFinding("p.pkr", {Severity::Warning, "1.bmp", 0, "odd"}), "p.pkr: 1.bmp: warning: odd");
  EXPECT_EQ(FormatFinding("p.pkr", {Severity::Error, "", 0, "no zip"}), "p.pkr: error: no zip");
}

TEST(ContactSheet, TextIsWrittenInAsciiLetters) {
  EXPECT_EQ(Ascii("\xC5\xA0uma\x80 \xC4\x91" "ak\x01\n"), "Suma? djak \n");
}

int Tool(const std::string& Arguments) {
  const int Status = std::system((std::string(PIKORA_PACK_TOOL) + " " + Arguments + " >/dev/null 2>&1").c_str());
  return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

// Real photographs become a pack that passes `check`, keeps every change inside its rectangle
// pixel for pixel, and plays to its end.
class PhotoPack : public GameTest {};

TEST_F(PhotoPack, RealPhotographsMakeAPackThatPassesAndPlaysToItsEnd) {
  const std::string Photos = std::string(PIKORA_PHOTOS_DIR) + "/";
  const fs::path Pack = Folder / "packs" / "Foto.pkr";
  fs::create_directories(Folder / "packs");
  ASSERT_EQ(Tool("photos " + Photos + "chelsea.png " + Photos + "coffee.png " + Photos + "astronaut.png -o '" +
                 Pack.string() + "' --name 'Tri fotografije'"),
            0);
  const PackData Data = ReadPack(Pack.string());
  ASSERT_EQ(Data.LevelList.size(), 3u);
  for (const Finding& F : CheckPack(Data)) ADD_FAILURE() << FormatFinding("Foto.pkr", F);
  for (const LevelData& L : Data.LevelList) {
    std::vector<Finding> Ignored;
    const cv::Mat Change = ChangeMap(DecodeLevelPicture(L.Original, L.OriginalBytes, false, Ignored),
                                     DecodeLevelPicture(L.Modified, L.ModifiedBytes, false, Ignored));
    cv::Mat Outside = Change.clone();
    for (const Rect& R : L.Rects) {
      const cv::Rect Box = PixelsOf(R).ToCv();
      Outside(Box).setTo(0);
      // Each change fades out within its rectangle: no square seam, the corners keep the photo.
      for (const cv::Point& At : {Box.tl(), cv::Point(Box.br().x - 4, Box.y), cv::Point(Box.x, Box.br().y - 4),
                                  Box.br() - cv::Point(4, 4)}) {
        double Most = 0;
        cv::minMaxLoc(Change(cv::Rect(At, cv::Size(4, 4))), nullptr, &Most);
        EXPECT_LE(Most, 24) << "level " << L.Number << " rectangle " << Describe(PixelsOf(R));
      }
    }
    EXPECT_EQ(cv::countNonZero(Outside), 0) << "level " << L.Number;
  }
  EXPECT_EQ(Tool("show '" + Pack.string() + "' -o '" + (Folder / "sheet.png").string() + "'"), 0);
  EXPECT_EQ(cv::imread((Folder / "sheet.png").string()).cols, 16 + 2 * (2 * 380 + 8 + 16));

  WriteOptions(true, false, false, false);
  int Started = 0;
  Engine->OnFrame = [&](int32_t Frame, RecordingGfxEngine& E) {
    if (Frame == 3) GameScreen = 1;
    if (Frame < 4) return;
    if (GameScreen == 1) E.Click(Frame, 510, 184);
    if (GameScreen == 9) E.Click(Frame, 530, 445), ++Started;
    if (GameScreen != 10) return;
    if (PackCompleted) GameRunning = false;
    else if (LevelCompleteShown) E.Click(Frame, 600, 585);
    else if (LevelRunning && LevelFade == 100)
      for (int K = 1; K <= 5; ++K)
        if (!Differences[K].Found) {
          E.Click(Frame, 350 + int(Differences[K].Left) + 4, 29 + int(Differences[K].Top) + 4);
          break;
        }
  };
  EXPECT_EQ(RunFrames(4000), 0);
  EXPECT_EQ(Started, 3);
  EXPECT_TRUE(PackCompleted);
}

TEST(PhotoPackMaking, PortraitPhotosPassAndAFlatPhotoIsRefused) {
  TempFolder Folder;
  const std::string Out = " -o '" + (Folder / "foto.pkr").string() + "' --name Foto";
  EXPECT_EQ(Tool("photos --portrait " + std::string(PIKORA_PHOTOS_DIR) + "/camera.png" + Out), 0);
  const PackData Portrait = ReadPack((Folder / "foto.pkr").string());
  EXPECT_TRUE(Portrait.Vertical);
  EXPECT_TRUE(CheckPack(Portrait).empty());
  cv::imwrite((Folder / "flat.png").string(), cv::Mat(600, 800, CV_8UC3, cv::Scalar(200, 160, 90)));
  EXPECT_EQ(Tool("photos " + (Folder / "flat.png").string() + Out), 1);
}

TEST(PackToolCommands, ExitZeroWhenFineOneOnProblemsTwoOnBadUsage) {
  TempFolder Folder;
  Level Warned;
  Warned.Rects[4].Left = 100;
  const Entries WarnedPack = PackOf(Warned);
  MakeZip(Folder / "warned.pkr", {WarnedPack.begin(), WarnedPack.end()});
  fs::create_directories(Folder / "src");
  for (const auto& [Name, Bytes] : PackOf(Level())) WriteFile(Folder / "src" / Name, Bytes);
  WriteFile(Folder / "junk.pkr", "junk");
  const std::string F = "'" + Folder.Path.string() + "/";
  const std::pair<std::string, int> Runs[] = {
      {"", 2}, {"frob", 2}, {"check", 2}, {"check --help", 0}, {"photos --help", 0}, {"check --bogus x", 2},
      {"photos a.png --name Foto", 2}, {"detect --pad many a b", 2}, {"build " + F + "src'", 2},
      {"check " + F + "junk.pkr'", 1}, {"check " + F + "warned.pkr'", 0}, {"check --strict " + F + "warned.pkr'", 1},
      {"build " + F + "src' -o " + F + "built.pkr'", 0}, {"check --strict " + F + "built.pkr'", 0},
      {"detect " + F + "src/1.bmp' " + F + "src/1x.bmp'", 0}, {"detect " + F + "src/1.bmp' " + F + "src/1.bmp'", 1},
      {"show " + F + "junk.pkr' -o " + F + "junk.png'", 1}};
  for (const auto& [Arguments, Status] : Runs) EXPECT_EQ(Tool(Arguments), Status) << Arguments;
  WriteFile(Folder / "src" / "picinfo.ini", "[1]\n");
  EXPECT_EQ(Tool("build " + F + "src' -o " + F + "refused.pkr'"), 1);
  EXPECT_FALSE(fs::exists(Folder / "refused.pkr")) << "a pack that fails the check is not written";
}

}  // namespace
}  // namespace pikora::test
