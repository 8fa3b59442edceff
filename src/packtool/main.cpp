// pikora-pack: checks, builds and shows picture packs, finds the differences of a pair and
// makes packs from photos. Exit status 0 fine, 1 problems found, 2 bad usage.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <opencv2/core/utils/logger.hpp>
#include <opencv2/imgcodecs.hpp>
#include <regex>
#include <string>
#include <vector>

#include "packtool/Check.h"
#include "packtool/Detect.h"
#include "packtool/GameRules.h"
#include "packtool/Photos.h"
#include "packtool/Sheet.h"
#include "resources/LevelData.h"

namespace fs = std::filesystem;
using namespace pikora::packtool;

namespace {

constexpr int Fine = 0, Problems = 1, BadUsage = 2;

const std::map<std::string, std::string> Usage = {
    {"", "usage: pikora-pack COMMAND [ARGS]   (pikora-pack COMMAND --help for one command)\n"
         "  check PACK.pkr...                   every rule of the game, and fair pictures\n"
         "  build FOLDER -o PACK.pkr            a folder of pack files becomes a checked pack\n"
         "  detect ORIGINAL MODIFIED            the five changed regions as picinfo.ini lines\n"
         "  show PACK.pkr -o SHEET.png          a contact sheet of every level\n"
         "  photos PHOTO... -o PACK.pkr --name NAME [--portrait]   a pack made from photos\n"
         "Exit status: 0 fine, 1 problems found, 2 bad usage.\n"},
    {"check", "usage: pikora-pack check [--strict] PACK.pkr...\n"
              "Checks each pack against every rule the game applies and everything docs/packs.md\n"
              "promises. Errors: the game would refuse the pack, or a level cannot be won fairly.\n"
              "Warnings: it plays, but a player would notice (overlapping rectangles, tiny or faint\n"
              "differences, unused entries). Exit 1 on any error, or on warnings with --strict.\n"},
    {"build", "usage: pikora-pack build [--strict] FOLDER -o PACK.pkr\n"
              "Packs packinfo.ini, picinfo.ini, hscore.ini (if there) and the level pictures\n"
              "(1.jpg 1x.jpg ... or .bmp) of FOLDER, checks the result like `check`, and writes\n"
              "PACK.pkr only when the check passes.\n"},
    {"detect", "usage: pikora-pack detect [--level N] [--threshold T] [--pad P] ORIGINAL MODIFIED\n"
               "Finds the changed regions of a picture pair (channel change above T, default 24),\n"
               "merges the closest until five are left, pads them by P pixels (default 3) and\n"
               "prints them as picinfo.ini lines, under the section [N] with --level. Exit 1 when\n"
               "the pair has fewer than five separate changes.\n"},
    {"show", "usage: pikora-pack show PACK.pkr -o SHEET.png\n"
             "Draws every level: both pictures, the rectangles numbered, the level's text.\n"},
    {"photos", "usage: pikora-pack photos PHOTO... -o PACK.pkr --name NAME [--portrait]\n"
               "Makes one level per photo (at most 50): cropped and scaled to the level size, with\n"
               "five differences where the photo has detail (an object removed, a colour changed,\n"
               "a detail mirrored, cloned or resized). The pack passes `check` or is not written.\n"},
};

struct Args {
  std::vector<std::string> Plain;
  std::map<std::string, std::string> Options;  // "--name" -> value; flags map to ""
};

// Options that take a value; anything else starting with "--" is a flag.
bool Parse(int Argc, char** Argv, const std::vector<std::string>& Valued, const std::vector<std::string>& Flags,
           Args& Out) {
  for (int I = 2; I < Argc; ++I) {
    const std::string A = Argv[I];
    if (A == "-o") {
      if (++I == Argc) return false;
      Out.Options["-o"] = Argv[I];
    } else if (std::find(Valued.begin(), Valued.end(), A) != Valued.end()) {
      if (++I == Argc) return false;
      Out.Options[A] = Argv[I];
    } else if (std::find(Flags.begin(), Flags.end(), A) != Flags.end()) {
      Out.Options[A] = "";
    } else if (A.size() > 1 && A[0] == '-') {
      return false;
    } else {
      Out.Plain.push_back(A);
    }
  }
  return true;
}

int Misused(const std::string& Command, const std::string& Why) {
  std::cerr << "pikora-pack " << Command << ": " << Why << "\n" << Usage.at(Command);
  return BadUsage;
}

bool NumberOption(const Args& A, const std::string& Name, int& Value) {
  const auto It = A.Options.find(Name);
  if (It == A.Options.end()) return true;
  try {
    size_t Used = 0;
    Value = std::stoi(It->second, &Used);
    return Used == It->second.size() && Value >= 0;
  } catch (const std::exception&) {
    return false;
  }
}

// Prints the findings of one pack; true when it passes.
bool Report(const std::string& Name, const std::vector<Finding>& Findings, bool Strict) {
  int Errors = 0, Warnings = 0;
  for (const Finding& F : Findings) {
    std::cout << FormatFinding(Name, F) << "\n";
    (F.Kind == Severity::Error ? Errors : Warnings) += 1;
  }
  std::cout << Name << ": " << Errors << " error" << (Errors == 1 ? "" : "s") << ", " << Warnings << " warning"
            << (Warnings == 1 ? "" : "s") << "\n";
  return Errors == 0 && (!Strict || Warnings == 0);
}

// Checks the archive made in scratch and puts it in place only when it passes.
int CheckAndPublish(const std::string& Made, const std::string& Target, bool Strict) {
  if (!Report(Target, CheckPack(ReadPack(Made)), Strict)) {
    std::cout << Target << ": not written\n";
    return Problems;
  }
  const std::string Partial = Target + ".partial";
  std::error_code Ec;
  fs::copy_file(Made, Partial, fs::copy_options::overwrite_existing, Ec);
  if (!Ec) fs::rename(Partial, Target, Ec);
  if (Ec) {
    fs::remove(Partial, Ec);
    std::cerr << Target << ": cannot be written: " << Ec.message() << "\n";
    return Problems;
  }
  return Fine;
}

int Check(const Args& A) {
  if (A.Plain.empty()) return Misused("check", "no pack given");
  bool AllPass = true;
  for (const std::string& Pack : A.Plain) AllPass &= Report(Pack, CheckPack(ReadPack(Pack)), A.Options.count("--strict"));
  return AllPass ? Fine : Problems;
}

int Build(const Args& A) {
  if (A.Plain.size() != 1 || !A.Options.count("-o")) return Misused("build", "needs one FOLDER and -o PACK.pkr");
  const fs::path Folder = A.Plain[0];
  std::error_code Ec;
  if (!fs::is_directory(Folder, Ec)) return Misused("build", Folder.string() + " is no folder");
  static const std::regex Picture("[1-9][0-9]*x?\\.(jpg|bmp)");
  std::vector<std::pair<std::string, std::string>> Entries;
  for (const fs::directory_entry& E : fs::directory_iterator(Folder, Ec)) {
    const std::string Name = E.path().filename().string();
    if (!E.is_regular_file(Ec)) continue;
    if (Name == "packinfo.ini" || Name == "picinfo.ini" || Name == "hscore.ini" || std::regex_match(Name, Picture))
      Entries.push_back({Name, E.path().string()});
    else
      std::cout << E.path().string() << ": warning: not packed: not a name the game reads (names are lower case)\n";
  }
  std::sort(Entries.begin(), Entries.end());
  ScratchFolder Scratch;
  const std::string Made = Scratch.Path + "/pack.pkr";
  try {
    WritePack(Entries, Made);
  } catch (const std::exception& Error) {
    std::cerr << A.Options.at("-o") << ": cannot be made: " << Error.what() << "\n";
    return Problems;
  }
  return CheckAndPublish(Made, A.Options.at("-o"), A.Options.count("--strict"));
}

cv::Mat ReadPicture(const std::string& Path) {
  try {
    return cv::imread(Path, cv::IMREAD_COLOR);
  } catch (const cv::Exception&) {
    return {};
  }
}

int Detect(const Args& A) {
  DetectOptions Options;
  int Level = 0;
  if (A.Plain.size() != 2) return Misused("detect", "needs ORIGINAL and MODIFIED");
  if (!NumberOption(A, "--threshold", Options.Threshold) || !NumberOption(A, "--pad", Options.Pad) ||
      !NumberOption(A, "--level", Level))
    return Misused("detect", "options take whole numbers");
  const cv::Mat Original = ReadPicture(A.Plain[0]), Modified = ReadPicture(A.Plain[1]);
  for (int I = 0; I < 2; ++I)
    if ((I ? Modified : Original).empty()) {
      std::cerr << A.Plain[size_t(I)] << ": error: not a picture that can be read\n";
      return Problems;
    }
  const Detection Found = DetectDifferences(Original, Modified, Options);
  if (Found.Rects.empty()) {
    std::cerr << A.Plain[0] << ", " << A.Plain[1] << ": error: " << Found.Problem << "\n";
    return Problems;
  }
  if (Found.Regions.size() > 5)
    std::cerr << A.Plain[1] << ": note: " << Found.Regions.size() << " changed regions merged into five\n";
  if (Level > 0) std::cout << "[" << Level << "]\n";
  std::cout << PicInfoLines(Found.Rects);
  return Fine;
}

int Show(const Args& A) {
  if (A.Plain.size() != 1 || !A.Options.count("-o")) return Misused("show", "needs one PACK.pkr and -o SHEET.png");
  const PackData Pack = ReadPack(A.Plain[0]);
  if (Pack.LevelList.empty()) {
    Report(A.Plain[0], Pack.Findings, false);
    return Problems;
  }
  const std::string Out = A.Options.at("-o");
  bool Written = false;
  try {
    Written = cv::imwrite(Out, ContactSheet(Pack, fs::path(A.Plain[0]).filename().string()));
  } catch (const cv::Exception&) {
  }
  if (!Written) {
    std::cerr << Out << ": cannot be written (name it .png)\n";
    return Problems;
  }
  return Fine;
}

int Photos(const Args& A) {
  if (A.Plain.empty() || !A.Options.count("-o") || !A.Options.count("--name"))
    return Misused("photos", "needs PHOTO..., -o PACK.pkr and --name NAME");
  if (A.Plain.size() > size_t(pikora::MaxLevels))
    return Misused("photos", "a pack holds at most " + std::to_string(pikora::MaxLevels) + " levels");
  const auto Start = std::chrono::steady_clock::now();
  ScratchFolder Scratch;
  const PhotoPack Made = MakePhotoPack(A.Plain, A.Options.at("--name"), A.Options.count("--portrait"), Scratch.Path);
  for (const std::string& Level : Made.Levels) std::cout << Level << "\n";
  if (!Made.Problem.empty()) {
    std::cerr << Made.Problem << "\n";
    return Problems;
  }
  const std::string Pack = Scratch.Path + "/pack.pkr";
  try {
    WritePack(Made.Entries, Pack);
  } catch (const std::exception& Error) {
    std::cerr << A.Options.at("-o") << ": cannot be made: " << Error.what() << "\n";
    return Problems;
  }
  const int Status = CheckAndPublish(Pack, A.Options.at("-o"), false);
  const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
  std::printf("%zu levels in %.1f s\n", A.Plain.size(), Seconds);
  return Status;
}

}  // namespace

int main(int Argc, char** Argv) {
  cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_ERROR);
  const std::string Command = Argc > 1 ? Argv[1] : "";
  if (Command.empty() || Command == "--help" || Command == "-h") {
    (Command.empty() ? std::cerr : std::cout) << Usage.at("");
    return Command.empty() ? BadUsage : Fine;
  }
  if (!Usage.count(Command)) {
    std::cerr << "pikora-pack: unknown command \"" << Command << "\"\n" << Usage.at("");
    return BadUsage;
  }
  for (int I = 2; I < Argc; ++I)
    if (std::string(Argv[I]) == "--help" || std::string(Argv[I]) == "-h") {
      std::cout << Usage.at(Command);
      return Fine;
    }
  Args A;
  static const std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::string>>> Options = {
      {"check", {{}, {"--strict"}}},
      {"build", {{}, {"--strict"}}},
      {"detect", {{"--threshold", "--pad", "--level"}, {}}},
      {"show", {{}, {}}},
      {"photos", {{"--name"}, {"--portrait"}}}};
  if (!Parse(Argc, Argv, Options.at(Command).first, Options.at(Command).second, A))
    return Misused(Command, "unknown option or missing value");
  try {
    if (Command == "check") return Check(A);
    if (Command == "build") return Build(A);
    if (Command == "detect") return Detect(A);
    if (Command == "show") return Show(A);
    return Photos(A);
  } catch (const std::exception& Error) {
    std::cerr << "pikora-pack " << Command << ": " << Error.what() << "\n";
    return Problems;
  }
}
