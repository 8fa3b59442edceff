// Every screen's whole frame, call by call, against a reviewed transcript in tests/transcripts.
// PIKORA_UPDATE_TRANSCRIPTS=1 rewrites them; the change is then reviewed as a git diff.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "game/GameScreen.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

std::string Number(double V) {
  char Text[32];
  if (V == std::floor(V) && std::fabs(V) < 1e12)
    std::snprintf(Text, sizeof Text, "%.0f", V);
  else
    std::snprintf(Text, sizeof Text, "%.7g", V);
  return Text;
}

// One call a line; colours as their four components.
std::string Transcript(const std::vector<RecordedCall>& Calls) {
  std::ostringstream Out;
  for (const auto& C : Calls) {
    Out << C.Op;
    if (!C.Name.empty()) Out << ' ' << C.Name;
    if (!C.Text.empty() || C.Op == "DrawText" || C.Op == "DrawBitmapText") {
      std::string Text = C.Text;
      for (size_t At; (At = Text.find("\r\n")) != std::string::npos;) Text.replace(At, 2, "\\n");
      Out << " \"" << Text << '"';
    }
    for (size_t I = 0; I < C.Num.size(); ++I) {
      if (C.Op == "DrawText" && I == 4) {
        const auto A = uint32_t(C.Num[I]);
        Out << " argb(" << (A >> 24) << ',' << ((A >> 16) & 255) << ',' << ((A >> 8) & 255) << ',' << (A & 255) << ')';
      } else {
        Out << ' ' << Number(C.Num[I]);
      }
    }
    Out << '\n';
  }
  return Out.str();
}

void ExpectTranscript(const std::string& Name, const std::string& Actual) {
  const auto File = std::filesystem::path(PIKORA_SOURCE_DIR) / "tests" / "transcripts" / (Name + ".txt");
  if (std::getenv("PIKORA_UPDATE_TRANSCRIPTS")) {
    WriteFile(File, Actual);
    return;
  }
  EXPECT_EQ(ReadFile(File), Actual) << File.string() << "\n(PIKORA_UPDATE_TRANSCRIPTS=1 rewrites it; review the diff)";
}

double FixedClock() { return 1.0; }

struct Scenario {
  const char* Name;
  int32_t Capture;  // the frame compared
  std::function<void(class TranscriptTest&)> Script;
};

class TranscriptTest : public GameTest, public ::testing::WithParamInterface<Scenario> {
 public:
  TranscriptTest() { ClockSeconds = FixedClock; }
  ~TranscriptTest() override { ClockSeconds = Saved; }
  using GameTest::At;

  void Click(int32_t Frame, int32_t X, int32_t Y) { Engine->Click(Frame, X, Y); }
  void Move(int32_t Frame, int32_t X, int32_t Y) { Engine->MoveMouse(Frame, X, Y); }
  void Key(int32_t Frame, int32_t Code) { Engine->Press(Frame, Code); }
  void Debug() { Engine->DebugMode = true; }
  void Menu(int32_t Frame, int Item) { Click(Frame, 79, 27 + 37 * Item); }
  void Row(int32_t Frame, int Pack, bool Press = true) {
    Press ? Click(Frame, 500, 184 + 20 * Pack) : Move(Frame, 500, 184 + 20 * Pack);
  }
  // A landscape pack (row 0) and a portrait one (row 1), each with a short table.
  void Packs(int Levels = 3) {
    MakePack("Alfa.pkr", Levels, false, ".jpg", {{"Ana", 900}, {"Ivo", 40}});
    MakePack("Priroda.pkr", Levels, true, ".bmp", {{"Mara", 1200}});
  }
  // From the new-game screen into the pre-level screen of a pack (frame 4) and its level (frame 5).
  void StartLevel(bool Portrait, int Levels = 3) {
    Packs(Levels);
    Portrait_ = Portrait;
    Menu(2, 0);
    Row(4, Portrait ? 1 : 0);
    Click(5, Portrait ? 460 : 530, 445);
  }
  // A click on difference K of the level, on the original picture.
  void Find(int32_t Frame, int K) {
    At(Frame, [this, Frame, K] {
      const auto& D = Differences[size_t(K)];
      Click(Frame, (Portrait_ ? 185 : 350) + int(D.Left) + 2, (Portrait_ ? 100 : 29) + int(D.Top) + 2);
    });
  }
  bool Portrait_ = true;

 private:
  double (*Saved)() = ClockSeconds;
};

TEST_P(TranscriptTest, FrameMatchesItsReviewedTranscript) {
  const Scenario& S = GetParam();
  WriteOptions(true, true, true, true);
  S.Script(*this);
  ASSERT_EQ(RunFrames(S.Capture + 1), 0);
  ExpectTranscript(S.Name, Transcript(Engine->CallsIn(S.Capture)));
}

// Level fade ends 100 frames after START (frame 5); finds count from frame 105.
const Scenario Scenarios[] = {
    {"credits-first-frame", 1, [](TranscriptTest& T) { T.Move(1, 300, 200); }},
    {"help-debug-hover", 4,
     [](TranscriptTest& T) {
       T.Debug();
       T.Menu(2, 3);
     }},
    {"new-game-hover", 4,
     [](TranscriptTest& T) {
       T.Packs();
       T.Menu(2, 0);
       T.Row(4, 1, false);
     }},
    {"high-scores-hover", 4,
     [](TranscriptTest& T) {
       T.Packs();
       T.Menu(2, 1);
       T.Row(4, 1, false);
     }},
    {"options-notice", 5,
     [](TranscriptTest& T) {
       T.Menu(2, 2);
       T.Click(4, 650, 167);  // "puni ekran"
       T.Click(5, 650, 217);  // music "NE"
     }},
    {"pre-level-landscape", 4, [](TranscriptTest& T) { T.StartLevel(false); }},
    {"pre-level-portrait-start", 5, [](TranscriptTest& T) { T.StartLevel(true); }},
    {"in-game-landscape-fading", 39, [](TranscriptTest& T) { T.StartLevel(false); }},
    {"in-game-portrait-find", 110,
     [](TranscriptTest& T) {
       T.Debug();
       T.StartLevel(true);
       T.At(108, [] { TimeUsed = 120; });
       T.Find(109, 2);
       T.Find(110, 4);
     }},
    {"in-game-landscape-miss-and-joker", 111,
     [](TranscriptTest& T) {
       T.Debug();
       T.StartLevel(false);
       T.Find(109, 3);
       T.Click(110, 600, 400);
       T.Key(111, Key::Space);
     }},
    {"level-complete-portrait", 110,
     [](TranscriptTest& T) {
       T.StartLevel(true);
       for (int K = 1; K <= 5; ++K) T.Find(105 + K, K);
     }},
    {"level-complete-landscape-next", 112,
     [](TranscriptTest& T) {
       T.StartLevel(false);
       for (int K = 1; K <= 5; ++K) T.Find(105 + K, K);
       T.Click(112, 600, 585);
     }},
    {"pack-complete-landscape", 110,
     [](TranscriptTest& T) {
       T.StartLevel(false, 1);
       for (int K = 1; K <= 5; ++K) T.Find(105 + K, K);
     }},
    {"pack-complete-portrait", 112,
     [](TranscriptTest& T) {
       T.StartLevel(true, 1);
       for (int K = 1; K <= 5; ++K) T.Find(105 + K, K);
     }},
    {"game-over-portrait", 107,
     [](TranscriptTest& T) {
       T.StartLevel(true);
       T.Find(106, 1);
       T.At(107, [] { TimeUsed = 406; });
     }},
    {"game-over-landscape-to-name-entry", 109,
     [](TranscriptTest& T) {
       T.StartLevel(false);
       T.Find(106, 5);
       T.At(107, [] { TimeUsed = 406; });
       T.Click(109, 530, 445);
     }},
    {"name-entry-typing", 111,
     [](TranscriptTest& T) {
       T.StartLevel(false);
       T.Find(106, 5);
       T.At(107, [] { TimeUsed = 406; });
       T.Click(109, 530, 445);
       T.Key(110, 50);  // M
       T.Key(111, 23);  // I
       T.Move(111, 400, 300);
     }},
};

INSTANTIATE_TEST_SUITE_P(Screens, TranscriptTest, ::testing::ValuesIn(Scenarios), [](const auto& Info) {
  std::string Name;
  for (const char* C = Info.param.Name; *C; ++C)
    if (*C != '-') Name += *C;
  return Name;
});

}  // namespace
}  // namespace pikora::test
