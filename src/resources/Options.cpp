#include "resources/Options.h"

#include <cctype>

namespace pikora {

namespace {

const char* const OptionsFile = "\\game data\\options.ini";

std::string Trim(const std::string& Text) {
  size_t First = 0, Last = Text.size();
  while (First < Last && std::isspace(static_cast<unsigned char>(Text[First]))) ++First;
  while (Last > First && std::isspace(static_cast<unsigned char>(Text[Last - 1]))) --Last;
  return Text.substr(First, Last - First);
}

bool EqualsNoCase(const std::string& A, const char* B) {
  size_t I = 0;
  for (; I < A.size() && B[I]; ++I)
    if (std::tolower(static_cast<unsigned char>(A[I])) != std::tolower(static_cast<unsigned char>(B[I]))) return false;
  return I == A.size() && !B[I];
}

// A plain decimal number: optional sign, digits with an optional fraction, optional exponent.
// (strtod would also take "inf", "nan", hexadecimal and a locale's decimal comma.)
// NonZero tells whether any digit of the mantissa is not 0: the exponent cannot make it zero.
bool IsDecimalNumber(const std::string& Text, bool& NonZero) {
  size_t I = 0;
  NonZero = false;
  auto Digit = [&] { return I < Text.size() && std::isdigit(static_cast<unsigned char>(Text[I])); };
  if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) ++I;
  size_t Digits = 0;
  for (; Digit(); ++I, ++Digits) NonZero |= Text[I] != '0';
  if (I < Text.size() && Text[I] == '.') {
    ++I;
    for (; Digit(); ++I, ++Digits) NonZero |= Text[I] != '0';
  }
  if (Digits == 0) return false;
  if (I < Text.size() && (Text[I] == 'e' || Text[I] == 'E')) {
    ++I;
    if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) ++I;
    size_t ExponentDigits = 0;
    for (; Digit(); ++I) ++ExponentDigits;
    if (ExponentDigits == 0) return false;
  }
  return I == Text.size();
}

// A missing file or key, or a value that is no Boolean, keeps the option's default.
void ReadOption(const char* Key, bool& Field) {
  bool Value;
  if (ConvertBoolean(Files->ReadINI("Options", Key, OptionsFile, 0), Value)) Field = Value;
}

}  // namespace

void LoadOptions() {
  const Options Defaults;
  GameOptions.Screen = Defaults.Screen;
  GameOptions.Music = Defaults.Music;
  GameOptions.Sound = Defaults.Sound;
  GameOptions.Particle = Defaults.Particle;
  ReadOption("Screen", GameOptions.Screen);
  ReadOption("Music", GameOptions.Music);
  ReadOption("Sound", GameOptions.Sound);
  ReadOption("Particle", GameOptions.Particle);
}

void SaveOptions() {
  auto Word = [](bool Value) { return Value ? "True" : "False"; };
  Files->WriteINI("Options", "Screen", Word(GameOptions.Screen), OptionsFile, 0);
  Files->WriteINI("Options", "Music", Word(GameOptions.Music), OptionsFile, 0);
  Files->WriteINI("Options", "Sound", Word(GameOptions.Sound), OptionsFile, 0);
  Files->WriteINI("Options", "Particle", Word(GameOptions.Particle), OptionsFile, 0);
}

bool ConvertBoolean(const std::string& Text, bool& Value) {
  const std::string Word = Trim(Text);
  if (EqualsNoCase(Word, "True")) {
    Value = true;
    return true;
  }
  if (EqualsNoCase(Word, "False")) {
    Value = false;
    return true;
  }
  bool NonZero;
  if (!IsDecimalNumber(Word, NonZero)) return false;
  Value = NonZero;
  return true;
}

}  // namespace pikora
