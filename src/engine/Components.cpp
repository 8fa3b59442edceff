#include "engine/Components.h"

namespace pikora {

std::shared_ptr<GfxEngine> Gfx;
std::shared_ptr<FileTools> Files;
std::shared_ptr<MusicPlayer> Music;

ComponentFactory Factory{MakeSdlGfxEngine, MakeZipFileTools, MakeFfmpegMusicPlayer};

}  // namespace pikora
