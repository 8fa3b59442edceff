#include "engine/ComponentError.h"
#include "engine/Components.h"

namespace pikora {

std::shared_ptr<MusicPlayer> MakeFfmpegMusicPlayer(const std::string&) { RaiseError("FfmpegMusicPlayer", "not available yet"); }

}  // namespace pikora
