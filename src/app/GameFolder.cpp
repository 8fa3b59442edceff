#include "app/GameFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "engine/ComponentError.h"

// The installed data seen from the installed executable's folder; the build sets it.
#ifndef PIKORA_INSTALLED_DATA
#define PIKORA_INSTALLED_DATA "../share/pikora"
#endif

namespace pikora {

namespace fs = std::filesystem;

namespace {

constexpr const char* Operation = "GameFolder";

bool Differs(const fs::path& Installed, const fs::path& Copy) {
  return !fs::exists(Copy) || fs::file_size(Installed) != fs::file_size(Copy) ||
         fs::last_write_time(Installed) != fs::last_write_time(Copy);
}

// Written outside "packs" and renamed into place, so that a start cut short never leaves half a
// pack that later starts would keep as the player's own. The installed file may be read-only;
// the copy must not be, or no score could be stored into it.
void CopyIn(const fs::path& From, const fs::path& To, const fs::path& Game) {
  const fs::path Part = Game / ("." + From.filename().string() + "." + std::to_string(getpid()) + ".part");
  fs::copy_file(From, Part, fs::copy_options::overwrite_existing);
  fs::permissions(Part, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
  fs::last_write_time(Part, fs::last_write_time(From));
  fs::rename(Part, To);
}

}  // namespace

fs::path PlayerGameFolder() {
  // Relative values are ignored, as the XDG base-directory rules ask.
  const char* Xdg = std::getenv("XDG_DATA_HOME");
  if (Xdg && Xdg[0] == '/') return fs::path(Xdg) / "pikora";
  std::string Home;
  if (const char* Env = std::getenv("HOME"); Env && Env[0] == '/') Home = Env;
  else if (const passwd* Entry = getpwuid(getuid()); Entry && Entry->pw_dir) Home = Entry->pw_dir;
  if (Home.empty()) RaiseError(Operation, "the player has no home folder (HOME is not set)");
  return fs::path(Home) / ".local" / "share" / "pikora";
}

void UpdateGameFolder(const fs::path& Installed, const fs::path& Game) {
  try {
    for (const char* Sub : {"game data", "sound", "packs"}) {
      fs::create_directories(Game / Sub);
      for (const auto& Entry : fs::directory_iterator(Installed / Sub)) {
        if (!Entry.is_regular_file()) continue;
        const fs::path Copy = Game / Sub / Entry.path().filename();
        const bool PlayersOwn = std::string(Sub) == "packs" || Entry.path().filename() == "options.ini";
        if (PlayersOwn ? !fs::exists(Copy) : Differs(Entry.path(), Copy)) CopyIn(Entry.path(), Copy, Game);
      }
    }
  } catch (const fs::filesystem_error& Error) {
    RaiseError(Operation, Error.what());
  }
}

std::string ChooseGameFolder(const std::string& ExeFolder) {
  const fs::path Exe = ExeFolder;
  std::error_code Error;
  const bool DataBeside = fs::is_directory(Exe / "game data", Error);
  if (DataBeside && access(Exe.c_str(), W_OK) == 0) return ExeFolder;
  const fs::path Installed = DataBeside ? Exe : (Exe / PIKORA_INSTALLED_DATA).lexically_normal();
  // No data anywhere: the loads report the missing files as they always have.
  if (!fs::is_directory(Installed / "game data", Error)) return ExeFolder;
  const fs::path Game = PlayerGameFolder();
  // Installed with the prefix ~/.local, the data already is the player's folder.
  if (!fs::equivalent(Installed, Game, Error)) UpdateGameFolder(Installed, Game);
  return Game.string();
}

}  // namespace pikora
