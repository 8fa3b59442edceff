#pragma once
// The one place where the pack tool meets the game's own pack reading and file tools: what the
// game accepts is decided by the game's pack check, so the tool and the game never disagree.
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace pikora::packtool {

enum class Severity { Error, Warning };

struct Finding {
  Severity Kind = Severity::Error;
  std::string Entry;  // empty: the archive as a whole
  int Line = 0;       // line of an INI entry, 0 when none applies
  std::string Text;
};

struct Rect {
  float Left = 0, Right = 0, Top = 0, Bottom = 0;
};

struct LevelData {
  int Number = 0;
  std::array<Rect, 5> Rects{};
  std::array<int, 5> RectLines{};  // picinfo.ini line of each difference's first edge
  std::string Text;                // PicInfo as written, "[e]" kept
  std::string Original, Modified;  // entry names
  std::string OriginalBytes, ModifiedBytes;
};

struct PackData {
  int Levels = 0;
  bool Vertical = false;
  std::string Info;
  std::vector<LevelData> LevelList;  // the levels the game would play, in order
  std::vector<Finding> Findings;     // what the game refuses, and what it would silently ignore
};

// The game's check of a pack (its problems are the errors), and the levels as a run reads
// them. Never throws for anything inside the file.
PackData ReadPack(const std::string& Path);

// Writes an archive of (entry name, file path) pairs through the game's file tools, replacing
// Path only once it is complete. Throws std::runtime_error when it cannot.
void WritePack(const std::vector<std::pair<std::string, std::string>>& Entries, const std::string& Path);

// A scratch folder of its own, removed with everything in it.
struct ScratchFolder {
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string Path;
};

}  // namespace pikora::packtool
