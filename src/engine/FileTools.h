#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pikora {

// Archives (.pkr = ZIP), INI files, the per-pack high-score table and a mouse-over test.
// Paths are relative to the game folder; a leading "\" or "/" also means the game folder,
// and "\" is a separator anywhere. Every failing operation throws ComponentError.
class FileTools {
 public:
  virtual ~FileTools() = default;

  virtual void Configure(int32_t Value) = 0;

  virtual void OpenArchive(const std::string& Path, int32_t Reserved1, const std::string& Password,
                           int32_t Reserved2) = 0;
  virtual void ExtractAll(const std::string& Destination, int32_t Reserved) = 0;
  virtual void ExtractFile(const std::string& Entry, const std::string& Destination, int32_t Reserved) = 0;
  virtual void AddFileToArchive(const std::string& File, const std::string& Entry, int32_t Reserved) = 0;
  virtual void RemoveFromArchive(const std::string& Entry, int32_t Reserved) = 0;
  // Writes pending archive changes now (also done by the next OpenArchive and on destruction).
  virtual void FlushArchive() = 0;

  virtual std::vector<std::string> ListFiles(const std::string& Folder, int32_t Reserved, bool FilesOnly) = 0;
  virtual bool FileExists(const std::string& Path) = 0;

  virtual std::string ReadINI(const std::string& Section, const std::string& Key, const std::string& File,
                              int32_t Reserved = 0) = 0;
  virtual void WriteINI(const std::string& Section, const std::string& Key, const std::string& Value,
                        const std::string& File, int32_t Reserved = 0) = 0;

  virtual void LoadHighScores(const std::string& File, int32_t Places, int32_t Reserved1, int32_t Reserved2) = 0;
  virtual void AddHighScore(float Score, const std::string& Name, const std::vector<std::string>& Extra,
                            int32_t Places) = 0;
  virtual int16_t GetHighScorePlace(float Score) = 0;
  virtual float GetHighScore(int16_t Place) = 0;
  virtual std::string GetHighScoreName(int16_t Place) = 0;

  virtual bool IsMouseOver(float X, float Y, float Width, float Height) = 0;
};

// The value ReadINI gives for Section/Key of a file holding Bytes ("" when there is none), for
// checks that hold the file in memory.
std::string IniFileValue(const std::string& Bytes, const std::string& Section, const std::string& Key);

// The fixed text the game passes to OpenArchive: the password of encrypted entries.
inline const std::string ArchivePassword = "pikora ok";

}  // namespace pikora
