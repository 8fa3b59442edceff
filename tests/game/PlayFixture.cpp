#include "PlayFixture.h"

namespace pikora::test {

PlayTest::PlayTest() {
  Engine->RequireFiles = false;
  WriteOptions(true, false, true, false);
  // The run's pack, found at start-up; its working files are stored back at shutdown.
  MakePack("Zivotinje.pkr", 3, true);
}

void PlayTest::StartRun(int32_t Frame, bool IsVertical) {
  Portrait = IsVertical;
  At(Frame, [IsVertical] {
    PackList = {"Zivotinje.pkr"};
    SelectedPack = 0;
    Vertical = IsVertical;
    NumOfLevels = 3;
    NumOfLevelsText = "3";
    CurrentPackFile = "Zivotinje.pkr";
    PictureName = "1";
    LevelPlayed = {};
    LevelPlayed[1] = true;
    for (int K = 1; K <= 5; ++K) Differences[K] = {float(10 * K), float(10 * K + 8), float(10 * K), float(10 * K + 8)};
    Score = 0;
    Level = 1;
    LevelText = "1";
    JokerAvailable = true;
    JokerFade = 100;
    EndSoundPending = true;
    LevelFade = 0;
    PackCompleted = false;
    LevelCompleteShown = false;
    NextLevelClicked = false;
    GameOptions.Sound = true;
    GameOptions.Particle = false;
    GameScreen = 9;
  });
}

void PlayTest::PlayLevel(int32_t Frame, float Fade) {
  At(Frame, [Fade] {
    auto Picture = [](const char* Name) {
      auto T = std::make_shared<TextureObject>();
      T->Name = Name;
      return T;
    };
    OriginalPicture = Picture("1.jpg");
    ModifiedPicture = Picture("1x.jpg");
    GameScreen = 10;
    TimeUsed = 0;
    LevelRunning = true;
    LevelFade = Fade;
  });
}

int PlayTest::FoundCount() {
  int N = 0;
  for (int K = 1; K <= 5; ++K) N += Differences[K].Found;
  return N;
}

}  // namespace pikora::test
