#pragma once
// File tools that hold nothing: for tests of the frame loop that need no files.
#include "engine/FileTools.h"

namespace pikora::test {

class NullFileTools : public FileTools {
 public:
  void Configure(int32_t) override {}
  void OpenArchive(const std::string&, int32_t, const std::string&, int32_t) override {}
  void ExtractAll(const std::string&, int32_t) override {}
  void ExtractFile(const std::string&, const std::string&, int32_t) override {}
  void AddFileToArchive(const std::string&, const std::string&, int32_t) override {}
  void RemoveFromArchive(const std::string&, int32_t) override {}
  void FlushArchive() override {}
  std::vector<std::string> ListFiles(const std::string&, int32_t, bool) override { return {}; }
  bool FileExists(const std::string&) override { return false; }
  std::string ReadINI(const std::string&, const std::string&, const std::string&, int32_t) override { return {}; }
  void WriteINI(const std::string&, const std::string&, const std::string&, const std::string&, int32_t) override {}
  void LoadHighScores(const std::string&, int32_t, int32_t, int32_t) override {}
  void AddHighScore(float, const std::string&, const std::vector<std::string>&, int32_t) override {}
  int16_t GetHighScorePlace(float) override { return 11; }
  float GetHighScore(int16_t) override { return 0; }
  std::string GetHighScoreName(int16_t) override { return {}; }
  bool IsMouseOver(float, float, float, float) override { return false; }
};

}  // namespace pikora::test
