#pragma once
// Which folder the game runs in: the executable's own, or the player's when it is installed.
#include <filesystem>
#include <string>

namespace pikora {

// The game folder for an executable in ExeFolder. A writable folder holding "game data" is
// used in place. Otherwise (an install, or a read-only copy) the game runs in the player's
// folder, brought up to date first from the data beside the executable or installed with it.
std::string ChooseGameFolder(const std::string& ExeFolder);

// $XDG_DATA_HOME/pikora, by default ~/.local/share/pikora.
std::filesystem::path PlayerGameFolder();

// Copies what Game lacks from the installed data: options and packs only when missing (the
// player's options and scores are never replaced); interface pictures and sounds also when
// the installed ones differ, so that an upgraded install shows its own.
void UpdateGameFolder(const std::filesystem::path& Installed, const std::filesystem::path& Game);

}  // namespace pikora
