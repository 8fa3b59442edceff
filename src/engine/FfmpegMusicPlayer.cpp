// The background music: decoded with FFmpeg a little ahead of the sound card, played through
// an SDL audio device of its own (the graphics engine's SDL_mixer has another one).
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <map>
#include <mutex>
#include <vector>

#include "engine/ComponentError.h"
#include "engine/Components.h"

namespace pikora {
namespace {

// FFmpeg and the hundred libraries it needs are opened by a thread of their own from the
// moment the player is made, not by the loader before main: they took a quarter of the time
// to the first frame, and the first music is loaded only after the pictures.
#define PIKORA_FFMPEG(X) \
  X(avformat, avformat_open_input) \
  X(avformat, avformat_find_stream_info) \
  X(avformat, avformat_close_input) \
  X(avformat, avformat_seek_file) \
  X(avformat, av_find_best_stream) \
  X(avformat, av_read_frame) \
  X(avformat, av_seek_frame) \
  X(avcodec, avcodec_alloc_context3) \
  X(avcodec, avcodec_parameters_to_context) \
  X(avcodec, avcodec_open2) \
  X(avcodec, avcodec_free_context) \
  X(avcodec, avcodec_flush_buffers) \
  X(avcodec, avcodec_send_packet) \
  X(avcodec, avcodec_receive_frame) \
  X(avcodec, av_packet_alloc) \
  X(avcodec, av_packet_free) \
  X(avcodec, av_packet_unref) \
  X(swresample, swr_alloc_set_opts2) \
  X(swresample, swr_init) \
  X(swresample, swr_get_out_samples) \
  X(swresample, swr_free) \
  X(swresample, swr_convert) \
  X(swresample, swr_close) \
  X(avutil, av_strerror) \
  X(avutil, av_rescale_q) \
  X(avutil, av_frame_alloc) \
  X(avutil, av_frame_free) \
  X(avutil, av_frame_unref) \
  X(avutil, av_channel_layout_default)

struct FfmpegApi {
#define PIKORA_POINTER(Library, Name) decltype(&::Name) Name = nullptr;
  PIKORA_FFMPEG(PIKORA_POINTER)
#undef PIKORA_POINTER
  std::string Error;
};

FfmpegApi OpenFfmpeg() {
  FfmpegApi Api;
  std::map<std::string, void*> Handles;
  // Each after the ones it needs.
  for (const auto& [Library, Major] : {std::pair<std::string, int>{"avutil", LIBAVUTIL_VERSION_MAJOR},
                                       {"swresample", LIBSWRESAMPLE_VERSION_MAJOR},
                                       {"avcodec", LIBAVCODEC_VERSION_MAJOR},
                                       {"avformat", LIBAVFORMAT_VERSION_MAJOR}}) {
    const std::string File = "lib" + Library + ".so." + std::to_string(Major);
    if (!(Handles[Library] = dlopen(File.c_str(), RTLD_NOW | RTLD_LOCAL))) {
      Api.Error = dlerror();
      return Api;
    }
  }
#define PIKORA_LOOKUP(Library, Name)                                                          \
  if (!(Api.Name = reinterpret_cast<decltype(Api.Name)>(dlsym(Handles[#Library], #Name)))) { \
    Api.Error = "lib" #Library " has no " #Name;                                             \
    return Api;                                                                               \
  }
  PIKORA_FFMPEG(PIKORA_LOOKUP)
#undef PIKORA_LOOKUP
  return Api;
}

FfmpegApi Opened;
std::future<void> Opening;
const FfmpegApi* Av = nullptr;  // set once Opened is complete, before any decoding

void StartOpeningFfmpeg() {
  if (!Opening.valid()) Opening = std::async(std::launch::async, [] { Opened = OpenFfmpeg(); });
}

// Waits for the libraries; on the thread that loads music, before any decoder exists.
void NeedFfmpeg() {
  if (Av) return;
  StartOpeningFfmpeg();
  Opening.wait();
  if (!Opened.Error.empty()) RaiseError("MusicPlayer.Load", "cannot open FFmpeg: " + Opened.Error);
  Av = &Opened;
}

std::string AvError(int Status) {
  char Text[AV_ERROR_MAX_STRING_SIZE] = {};
  Av->av_strerror(Status, Text, sizeof Text);
  return Text;
}

constexpr int OutChannels = 2;

// One open decoding of a file, producing interleaved 16-bit stereo at a fixed rate.
class Decoder {
 public:
  Decoder(const std::string& Path, const std::string& Name, int Rate) : Rate(Rate) {
    int Status = Av->avformat_open_input(&Format, Path.c_str(), nullptr, nullptr);
    if (Status < 0) RaiseError("MusicPlayer.Load", "\"" + Name + "\": " + AvError(Status));
    try {
      if ((Status = Av->avformat_find_stream_info(Format, nullptr)) < 0)
        RaiseError("MusicPlayer.Load", "\"" + Name + "\": " + AvError(Status));
      const AVCodec* Codec = nullptr;
      Stream = Av->av_find_best_stream(Format, AVMEDIA_TYPE_AUDIO, -1, -1, &Codec, 0);
      if (Stream < 0 || !Codec) RaiseError("MusicPlayer.Load", "\"" + Name + "\": no audio that can be decoded");
      Codec_ = Av->avcodec_alloc_context3(Codec);
      Av->avcodec_parameters_to_context(Codec_, Format->streams[Stream]->codecpar);
      if ((Status = Av->avcodec_open2(Codec_, Codec, nullptr)) < 0)
        RaiseError("MusicPlayer.Load", "\"" + Name + "\": " + AvError(Status));
      AVChannelLayout OutLayout;
      Av->av_channel_layout_default(&OutLayout, OutChannels);
      Status = Av->swr_alloc_set_opts2(&Resampler, &OutLayout, AV_SAMPLE_FMT_S16, Rate, &Codec_->ch_layout,
                                   Codec_->sample_fmt, Codec_->sample_rate, 0, nullptr);
      if (Status < 0 || (Status = Av->swr_init(Resampler)) < 0)
        RaiseError("MusicPlayer.Load", "\"" + Name + "\": " + AvError(Status));
      Packet = Av->av_packet_alloc();
      Frame = Av->av_frame_alloc();
    } catch (...) {
      Release();
      throw;
    }
  }
  ~Decoder() { Release(); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  // The container's idea of the length, or -1.
  int64_t DeclaredLengthMs() const {
    const AVStream* S = Format->streams[Stream];
    if (S->duration != AV_NOPTS_VALUE && S->duration > 0)
      return Av->av_rescale_q(S->duration, S->time_base, AVRational{1, 1000});
    if (Format->duration != AV_NOPTS_VALUE && Format->duration > 0) return Format->duration / 1000;
    return -1;
  }

  // Up to Frames stereo frames into Out; fewer only at the end of the track.
  size_t Read(int16_t* Out, size_t Frames) {
    size_t Done = 0;
    while (Done < Frames) {
      if (ReadPos == Pending.size()) {
        Pending.clear();
        ReadPos = 0;
        if (!DecodeMore()) break;
        continue;
      }
      size_t Take = std::min(Frames - Done, (Pending.size() - ReadPos) / OutChannels);
      std::memcpy(Out + Done * OutChannels, Pending.data() + ReadPos, Take * OutChannels * sizeof(int16_t));
      ReadPos += Take * OutChannels;
      Done += Take;
    }
    return Done;
  }

  bool Rewind() {
    if (Av->av_seek_frame(Format, Stream, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
        Av->avformat_seek_file(Format, -1, INT64_MIN, 0, 0, 0) < 0)
      return false;
    Av->avcodec_flush_buffers(Codec_);
    Av->swr_close(Resampler);
    Av->swr_init(Resampler);
    Pending.clear();
    ReadPos = 0;
    Draining = Finished = false;
    return true;
  }

 private:
  // Decodes at least one more frame into Pending; false at the end of the track.
  bool DecodeMore() {
    while (!Finished) {
      int Status = Av->avcodec_receive_frame(Codec_, Frame);
      if (Status == 0) {
        Convert(Frame);
        Av->av_frame_unref(Frame);
        if (!Pending.empty()) return true;
        continue;
      }
      if (Status == AVERROR_EOF) {
        Finished = true;
        Convert(nullptr);  // what the resampler still holds
        return !Pending.empty();
      }
      if (Status != AVERROR(EAGAIN)) {
        // A decoder that gave up ends the track rather than the game.
        Finished = true;
        return false;
      }
      if (Draining) continue;
      Status = Av->av_read_frame(Format, Packet);
      if (Status < 0) {
        Av->avcodec_send_packet(Codec_, nullptr);
        Draining = true;
        continue;
      }
      if (Packet->stream_index == Stream) Av->avcodec_send_packet(Codec_, Packet);  // a damaged packet is skipped
      Av->av_packet_unref(Packet);
    }
    return false;
  }

  void Convert(const AVFrame* In) {
    int Room = Av->swr_get_out_samples(Resampler, In ? In->nb_samples : 0);
    if (Room <= 0) return;
    size_t Old = Pending.size();
    Pending.resize(Old + size_t(Room) * OutChannels);
    uint8_t* Target = reinterpret_cast<uint8_t*>(Pending.data() + Old);
    int Got = Av->swr_convert(Resampler, &Target, Room, In ? const_cast<const uint8_t**>(In->extended_data) : nullptr,
                          In ? In->nb_samples : 0);
    Pending.resize(Old + size_t(std::max(Got, 0)) * OutChannels);
  }

  void Release() {
    Av->av_frame_free(&Frame);
    Av->av_packet_free(&Packet);
    Av->swr_free(&Resampler);
    Av->avcodec_free_context(&Codec_);
    Av->avformat_close_input(&Format);
  }

  int Rate;
  AVFormatContext* Format = nullptr;
  AVCodecContext* Codec_ = nullptr;
  SwrContext* Resampler = nullptr;
  AVPacket* Packet = nullptr;
  AVFrame* Frame = nullptr;
  int Stream = -1;
  std::vector<int16_t> Pending;
  size_t ReadPos = 0;
  bool Draining = false, Finished = false;
};

class FfmpegMusicPlayer final : public MusicPlayer {
 public:
  explicit FfmpegMusicPlayer(const std::string& GameFolder) : Root(GameFolder) {}

  ~FfmpegMusicPlayer() override {
    if (Hooked) Mix_HookMusic(nullptr, nullptr);
    if (Device != 0) SDL_CloseAudioDevice(Device);
    Track.reset();
    if (AudioInitialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  void Load(const std::string& File) override {
    NeedFfmpeg();
    OpenOutput();
    std::string Path = File;
    std::replace(Path.begin(), Path.end(), '\\', '/');
    Path.erase(0, Path.find_first_not_of('/'));
    Path = Root + "/" + Path;
    auto Next = std::make_unique<Decoder>(Path, File, Rate);
    int64_t Ms = Next->DeclaredLengthMs();
    if (Ms < 0) Ms = MeasureMs(Path, File);
    // Something must come out of it, or it is no music.
    int16_t Probe[2 * 64];
    if (Next->Read(Probe, 64) == 0) RaiseError("MusicPlayer.Load", "\"" + File + "\": no audio could be decoded");
    Next->Rewind();
    std::unique_lock Guard(TrackLock);
    Track = std::move(Next);
    Path_ = Path;
    Name_ = File;
    LengthMs = int32_t(std::min<int64_t>(Ms, INT32_MAX));
    FramesPlayed = 0;
    Ended = false;
    Playing = false;
    SilentBaseMs = 0;
    Guard.unlock();
    if (Device != 0) SDL_PauseAudioDevice(Device, 1);
  }

  void Play(bool FromStart) override {
    if (!Track) RaiseError("MusicPlayer.Play", "no music loaded");
    if (FromStart || Ended) Restart();
    if (Audible()) {
      Playing = true;
      if (Device != 0) SDL_PauseAudioDevice(Device, 0);
    } else if (!Playing) {
      Playing = true;
      SilentStart = Clock::now();
    }
  }

  void Stop(bool) override {
    if (Audible()) {
      if (Device != 0) SDL_PauseAudioDevice(Device, 1);
    } else if (Playing) {
      SilentBaseMs = SilentPositionMs();
    }
    Playing = false;
  }

  void SetVolume(int32_t Volume) override { Gain = std::clamp(Volume, 0, 100); }

  int32_t GetPosition() override {
    if (!Track) return 0;
    int64_t Ms;
    bool Over;
    if (Audible()) {
      Ms = int64_t(FramesPlayed.load()) * 1000 / Rate;
      Over = Ended.load();
    } else {
      Ms = SilentPositionMs();
      Over = Ms >= LengthMs;
    }
    if (Over) return LengthMs;
    return int32_t(std::min<int64_t>(Ms, std::max(LengthMs - 1, 0)));
  }

  int32_t GetLength() override { return Track ? LengthMs : 0; }

 private:
  using Clock = std::chrono::steady_clock;

  int64_t SilentPositionMs() const {
    int64_t Ms = SilentBaseMs;
    if (Playing)
      Ms += std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - SilentStart).count();
    return std::min<int64_t>(Ms, LengthMs);
  }

  void Restart() {
    std::unique_lock Guard(TrackLock);
    // A stream that cannot seek is opened again.
    if (!Track->Rewind()) Track = std::make_unique<Decoder>(Path_, Name_, Rate);
    FramesPlayed = 0;
    Ended = false;
    Guard.unlock();
    SilentBaseMs = 0;
    SilentStart = Clock::now();
  }

  bool Audible() const { return Device != 0 || Hooked; }

  // Opened at the first Load, when the graphics engine has set up its mixer: the music then
  // plays through the mixer's music hook, so one audio device serves effects and music alike
  // (some systems give a program only one). Without a mixer it opens a device of its own.
  void OpenOutput() {
    if (OutputChosen) return;
    OutputChosen = true;
    int Frequency = 0, Channels = 0;
    Uint16 Format = 0;
    if (Mix_QuerySpec(&Frequency, &Format, &Channels) != 0 && Format == AUDIO_S16SYS && Channels == OutChannels) {
      Rate = Frequency;
      Mix_HookMusic(&FfmpegMusicPlayer::Callback, this);
      Hooked = true;
      return;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    AudioInitialised = true;
    SDL_AudioSpec Want{}, Have{};
    Want.freq = 44100;
    Want.format = AUDIO_S16SYS;
    Want.channels = OutChannels;
    Want.samples = 2048;
    Want.callback = &FfmpegMusicPlayer::Callback;
    Want.userdata = this;
    Device = SDL_OpenAudioDevice(nullptr, 0, &Want, &Have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (Device != 0) Rate = Have.freq;
  }

  // The length of a file whose container does not say, counted without keeping the audio.
  int64_t MeasureMs(const std::string& Path, const std::string& Name) {
    Decoder Counter(Path, Name, Rate);
    int16_t Buffer[2 * 4096];
    int64_t Frames = 0;
    while (size_t N = Counter.Read(Buffer, 4096)) Frames += int64_t(N);
    return Frames * 1000 / Rate;
  }

  static void Callback(void* User, Uint8* Stream, int Bytes) {
    auto* Self = static_cast<FfmpegMusicPlayer*>(User);
    auto* Out = reinterpret_cast<int16_t*>(Stream);
    size_t Frames = size_t(Bytes) / (sizeof(int16_t) * OutChannels);
    size_t Got = 0;
    std::lock_guard Guard(Self->TrackLock);
    if (Self->Track && !Self->Ended && Self->Playing) {
      Got = Self->Track->Read(Out, Frames);
      Self->FramesPlayed += int64_t(Got);
      if (Got < Frames) Self->Ended = true;
    }
    std::memset(Out + Got * OutChannels, 0, (Frames - Got) * OutChannels * sizeof(int16_t));
    // The volume scale is perceptual: 50 sounds about half as loud as 100.
    float Level = float(Self->Gain.load()) / 100.0f;
    Level *= Level;
    if (Level < 1.0f)
      for (size_t I = 0; I < Got * OutChannels; ++I) Out[I] = int16_t(float(Out[I]) * Level);
  }

  std::string Root, Path_, Name_;
  bool AudioInitialised = false;
  bool OutputChosen = false;
  bool Hooked = false;
  std::mutex TrackLock;  // the audio thread reads the track while the game rewinds or replaces it
  SDL_AudioDeviceID Device = 0;
  int Rate = 44100;
  std::unique_ptr<Decoder> Track;
  int32_t LengthMs = 0;
  std::atomic<int64_t> FramesPlayed{0};
  std::atomic<bool> Ended{false};
  std::atomic<int32_t> Gain{100};
  std::atomic<bool> Playing{false};
  int64_t SilentBaseMs = 0;
  Clock::time_point SilentStart;
};

}  // namespace

std::shared_ptr<MusicPlayer> MakeFfmpegMusicPlayer(const std::string& GameFolder) {
  StartOpeningFfmpeg();
  return std::make_shared<FfmpegMusicPlayer>(GameFolder);
}

}  // namespace pikora
