// Costs of the file tools' calls the game makes every frame, and of storing a high score
// back into a large pack at shutdown.
#include <chrono>
#include <cstdio>
#include <random>

#include "engine/Components.h"
#include "support/GameFixture.h"

using namespace pikora;
using namespace pikora::test;
using Clock = std::chrono::steady_clock;

template <typename Fn>
double MicrosecondsPerCall(int Calls, Fn&& Call) {
  for (int I = 0; I < Calls / 10; ++I) Call();  // warm up
  auto Start = Clock::now();
  for (int I = 0; I < Calls; ++I) Call();
  return std::chrono::duration<double, std::micro>(Clock::now() - Start).count() / Calls;
}

int main() {
  TempFolder Game;
  auto Files = MakeZipFileTools(Game.Path.string(), nullptr);

  WriteFile(Game / "0packinfo.ini", "[General]\r\nNumOfLevels=20\r\nVertical=False\r\nPackInfo=Jedan paket[e]slika\r\n");
  volatile size_t Sink = 0;
  double Ini = MicrosecondsPerCall(200000, [&] { Sink = Sink + Files->ReadINI("General", "PackInfo", "0packinfo.ini").size(); });

  std::string Table = "[scores]\r\n";
  for (int P = 1; P <= 10; ++P)
    Table += std::to_string(P) + "_name=Igrac " + std::to_string(P) + "\r\n" + std::to_string(P) + "_score=" +
             std::to_string(10000 - 500 * P) + "\r\n";
  WriteFile(Game / "0hscore.ini", Table);
  double Scores = MicrosecondsPerCall(200000, [&] {
    Files->LoadHighScores("0hscore.ini", 10, 0, 0);
    Sink = Sink + size_t(Files->GetHighScorePlace(7777));
  });

  // A 20 MB pack of incompressible pictures; the shutdown sequence with one changed entry.
  std::mt19937 Random(1);
  std::vector<std::pair<std::string, std::string>> Entries{{"hscore.ini", Table}};
  for (int Level = 1; Level <= 20; ++Level)
    for (const char* Suffix : {".jpg", "x.jpg"}) {
      std::string Picture(500 * 1024, '\0');
      for (char& C : Picture) C = char(Random());
      Entries.emplace_back(std::to_string(Level) + Suffix, std::move(Picture));
    }
  MakeZip(Game / "packs" / "big.pkr", Entries);
  Files->OpenArchive("\\packs\\big.pkr", 0, ArchivePassword, 0);
  Files->ExtractFile("hscore.ini", "0hscore.ini", 0);
  Files->LoadHighScores("0hscore.ini", 10, 0, 0);
  Files->AddHighScore(9999, "Brzi", {""}, 10);
  auto Start = Clock::now();
  Files->OpenArchive("/packs/big.pkr", 0, ArchivePassword, 0);
  Files->RemoveFromArchive("hscore.ini", 0);
  Files->AddFileToArchive("0hscore.ini", "hscore.ini", 0);
  Files->FlushArchive();
  double Rewrite = std::chrono::duration<double, std::milli>(Clock::now() - Start).count();

  Start = Clock::now();
  Files->OpenArchive("/packs/big.pkr", 0, ArchivePassword, 0);
  Files->RemoveFromArchive("hscore.ini", 0);
  Files->AddFileToArchive("0hscore.ini", "hscore.ini", 0);
  Files->FlushArchive();
  double Unchanged = std::chrono::duration<double, std::milli>(Clock::now() - Start).count();

  std::printf("cached ReadINI:                         %8.2f us per call (goal < 5)\n", Ini);
  std::printf("LoadHighScores + GetHighScorePlace:     %8.2f us per pair (goal < 5)\n", Scores);
  std::printf("store a changed hscore.ini, 20 MB pack: %8.1f ms\n", Rewrite);
  std::printf("store an unchanged hscore.ini, same:    %8.1f ms (not rewritten)\n", Unchanged);
  return Sink == 0;
}
