#pragma once
#include <functional>
#include <memory>
#include <string>

#include "engine/FileTools.h"
#include "engine/GfxEngine.h"
#include "engine/MusicPlayer.h"

namespace pikora {

// The three outside components, created by Main and released at shutdown.
extern std::shared_ptr<GfxEngine> Gfx;
extern std::shared_ptr<FileTools> Files;
extern std::shared_ptr<MusicPlayer> Music;

// How Main makes them; tests replace these with recording components.
struct ComponentFactory {
  std::function<std::shared_ptr<GfxEngine>()> MakeGfx;
  std::function<std::shared_ptr<FileTools>(const std::string& GameFolder, GfxEngine* Engine)> MakeFiles;
  std::function<std::shared_ptr<MusicPlayer>(const std::string& GameFolder)> MakeMusic;
};
extern ComponentFactory Factory;

// The real implementations.
std::shared_ptr<GfxEngine> MakeSdlGfxEngine();
std::shared_ptr<FileTools> MakeZipFileTools(const std::string& GameFolder, GfxEngine* Engine);
std::shared_ptr<MusicPlayer> MakeFfmpegMusicPlayer(const std::string& GameFolder);

}  // namespace pikora
