#pragma once
#include <cstdint>
#include <string>

namespace pikora {

// The background-music player. Position and length are in milliseconds.
// Every failing operation throws ComponentError.
class MusicPlayer {
 public:
  virtual ~MusicPlayer() = default;
  virtual void Load(const std::string& File) = 0;
  virtual void Play(bool FromStart) = 0;
  virtual void Stop(bool Immediately) = 0;
  virtual void SetVolume(int32_t Volume) = 0;
  virtual int32_t GetPosition() = 0;
  virtual int32_t GetLength() = 0;
};

}  // namespace pikora
