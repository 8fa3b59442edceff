#include "scores/modKeys.h"

#include <cctype>

#include "app/Random.h"
#include "scores/HighScores.h"

namespace pikora {

namespace {

constexpr size_t MaxNameLength = 8;

struct NameKey {
  int32_t ScanCode;
  const char* Token;
};

// In the order they are applied; "-" stands for Backspace.
constexpr NameKey NameKeys[] = {
    {11, "0"}, {2, "1"},  {3, "2"},  {4, "3"},  {5, "4"},  {6, "5"},  {7, "6"},  {8, "7"},  {9, "8"},
    {10, "9"}, {30, "A"}, {48, "B"}, {46, "C"}, {32, "D"}, {18, "E"}, {33, "F"}, {34, "G"}, {35, "H"},
    {23, "I"}, {36, "J"}, {37, "K"}, {38, "L"}, {50, "M"}, {49, "N"}, {24, "O"}, {25, "P"}, {16, "Q"},
    {19, "R"}, {31, "S"}, {20, "T"}, {22, "U"}, {47, "V"}, {17, "W"}, {45, "X"}, {21, "Y"}, {44, "Z"},
    {Key::Space, " "}, {Key::Backspace, "-"},
};

}  // namespace

void ReadNameKeys() {
  // Both are asked every frame. The engine reports a key in the frame of its press only,
  // so an Enter still held from an earlier screen stores nothing.
  const bool Escape = Gfx->KeyDown(Key::Escape);
  const bool Enter = Gfx->KeyDown(Key::Enter);
  if (Escape || Enter) SaveResult();

  for (const auto& K : NameKeys) {
    if (Gfx->KeyDown(K.ScanCode)) {
      std::string Token = K.Token;
      AddNameKey(Token);
    }
  }
}

void AddNameKey(std::string& Key) {
  Randomize();
  const int N = static_cast<int>(Int(Rnd() * 4.0)) + 1;
  if (GameOptions.Sound) Gfx->PlaySound(std::to_string(N) + "key", 0, 100, 0, 0);

  if (Key == "-" && !PlayerName.empty()) PlayerName.pop_back();

  for (char& C : Key)
    C = static_cast<char>(PlayerName.empty() ? std::toupper(static_cast<unsigned char>(C))
                                             : std::tolower(static_cast<unsigned char>(C)));

  if (PlayerName.size() < MaxNameLength && Key != "-") PlayerName += Key;
}

}  // namespace pikora
