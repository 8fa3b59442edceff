// options.ini: reading, defaults and saving.
#include <gtest/gtest.h>

#include "resources/Options.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

TEST(ConvertBooleanTest, WordsInAnyCaseAndNumbers) {
  struct Case {
    const char* Text;
    bool Converts;
    bool Value;
  };
  for (const Case& C : std::vector<Case>{{"True", true, true},      {"TRUE", true, true},     {"true", true, true},
                                         {" fAlSe ", true, false},  {"False", true, false},   {"1", true, true},
                                         {"-1", true, true},        {"0", true, false},       {"-0.00", true, false},
                                         {"2.5", true, true},       {"0e7", true, false},     {"1e-400", true, true},
                                         {"+3", true, true},        {".5", true, true},       {"", false, false},
                                         {"yes", false, false},     {"Truee", false, false},  {"0x1", false, false},
                                         {"1,5", false, false},     {"inf", false, false},    {"nan", false, false},
                                         {"-", false, false},       {"1e", false, false},     {"T rue", false, false}}) {
    bool Value = !C.Value;
    EXPECT_EQ(ConvertBoolean(C.Text, Value), C.Converts) << '"' << C.Text << '"';
    if (C.Converts) {
      EXPECT_EQ(Value, C.Value) << '"' << C.Text << '"';
    }
  }
}

class OptionsTest : public GameTest {
 protected:
  std::filesystem::path OptionsFile() const { return Folder / "game data" / "options.ini"; }
  void Write(const std::string& Content) { WriteFile(OptionsFile(), Content); }
  std::vector<bool> Read() { return {GameOptions.Screen, GameOptions.Music, GameOptions.Sound, GameOptions.Particle}; }
  // The full-screen flag handed to Initialise.
  double FullScreenFlag() const { return Engine->CallsOf("Initialise").at(0)[2]; }
};

TEST_F(OptionsTest, ReadsWordsAndNumbersAndStartsFullScreenWhenScreenIsFalse) {
  Write("[Options]\nScreen=false\nMusic=0\nSound=TRUE\nParticle=-1\n");
  ASSERT_EQ(RunFrames(1), 0);
  EXPECT_EQ(Read(), (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(FullScreenFlag(), -1);
}

TEST_F(OptionsTest, MissingFileKeepsEveryDefaultAndWritesNothing) {
  std::filesystem::remove(OptionsFile());
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(Read(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(FullScreenFlag(), 0);
  EXPECT_FALSE(std::filesystem::exists(OptionsFile()));
}

TEST_F(OptionsTest, MissingKeyOrUnreadableValueKeepsThatOptionsDefault) {
  Write("[Options]\nScreen=False\nMusic=perhaps\nParticle=\n");
  const std::string Before = ReadFile(OptionsFile());
  ASSERT_EQ(RunFrames(2), 0);
  EXPECT_EQ(Read(), (std::vector<bool>{false, true, true, true}));
  EXPECT_EQ(ReadFile(OptionsFile()), Before);
}

TEST_F(OptionsTest, SaveWritesAllFourKeysAsTrueOrFalse) {
  Write("[Options]\nScreen=1\nMusic=FALSE\nSound=0\n");
  Files = MakeZipFileTools(Folder.Path.string(), nullptr);
  LoadOptions();
  SaveOptions();
  Files.reset();
  const std::string Saved = ReadFile(OptionsFile());
  for (const char* Line : {"Screen=True", "Music=False", "Sound=False", "Particle=True"})
    EXPECT_NE(Saved.find(Line), std::string::npos) << Line << " in\n" << Saved;
  for (const char* Old : {"=1", "FALSE", "=0"}) EXPECT_EQ(Saved.find(Old), std::string::npos) << Old;
}

}  // namespace
}  // namespace pikora::test
