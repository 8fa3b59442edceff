// Checks the committed sound effects and music as the game will load them.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

const std::string SoundFolder = std::string(PIKORA_SOURCE_DIR) + "/data/sound/";

struct Wav {
  explicit Wav(const std::string& Name) {
    Loaded = SDL_LoadWAV((SoundFolder + Name + ".wav").c_str(), &Spec, &Data, &Bytes) != nullptr;
  }
  ~Wav() {
    if (Loaded) SDL_FreeWAV(Data);
  }
  const int16_t* Samples() const { return reinterpret_cast<const int16_t*>(Data); }
  size_t Count() const { return Bytes / 2; }
  SDL_AudioSpec Spec{};
  Uint8* Data = nullptr;
  Uint32 Bytes = 0;
  bool Loaded = false;
};

TEST(SoundData, EveryEffectIsShortCleanCdQualityPcm) {
  for (const char* Name : {"click", "1key", "2key", "3key", "4key", "levelcompleted", "joker", "packcompleted",
                           "gameover"}) {
    SCOPED_TRACE(Name);
    Wav Sound(Name);
    ASSERT_TRUE(Sound.Loaded) << SDL_GetError();
    EXPECT_EQ(Sound.Spec.freq, 44100);
    EXPECT_EQ(Sound.Spec.format, AUDIO_S16LSB);
    EXPECT_GT(Sound.Count(), 1000u);
    EXPECT_LT(Sound.Count(), 44100u * 3) << "effects stay short";
    // No click at either end: the first and last samples sit near silence.
    EXPECT_LT(std::abs(Sound.Samples()[0]), 200);
    EXPECT_LT(std::abs(Sound.Samples()[Sound.Count() - 1]), 200);
    int Peak = 0;
    for (size_t I = 0; I < Sound.Count(); ++I) Peak = std::max(Peak, std::abs(int(Sound.Samples()[I])));
    EXPECT_GT(Peak, 8000) << "audible";
    EXPECT_LT(Peak, 32000) << "not clipped";
  }
}

TEST(SoundData, TheFourKeySoundsDiffer) {
  std::string Previous;
  for (const char* Name : {"1key", "2key", "3key", "4key"}) {
    Wav Sound(Name);
    ASSERT_TRUE(Sound.Loaded);
    const std::string Content(reinterpret_cast<char*>(Sound.Data), Sound.Bytes);
    EXPECT_NE(Content, Previous);
    Previous = Content;
  }
}

TEST(SoundData, MusicIsWmaBetweenOneAndTwoMinutesLongAndDecodesThroughout) {
  AVFormatContext* Format = nullptr;
  ASSERT_EQ(avformat_open_input(&Format, (SoundFolder + "music.wma").c_str(), nullptr, nullptr), 0);
  ASSERT_GE(avformat_find_stream_info(Format, nullptr), 0);
  const int Stream = av_find_best_stream(Format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  ASSERT_GE(Stream, 0);
  EXPECT_EQ(Format->streams[Stream]->codecpar->codec_id, AV_CODEC_ID_WMAV2);
  const double Seconds = double(Format->duration) / AV_TIME_BASE;
  EXPECT_GE(Seconds, 60.0);
  EXPECT_LE(Seconds, 120.0);
  const AVCodec* Codec = avcodec_find_decoder(Format->streams[Stream]->codecpar->codec_id);
  AVCodecContext* Ctx = avcodec_alloc_context3(Codec);
  avcodec_parameters_to_context(Ctx, Format->streams[Stream]->codecpar);
  ASSERT_EQ(avcodec_open2(Ctx, Codec, nullptr), 0);
  AVPacket* Packet = av_packet_alloc();
  AVFrame* Frame = av_frame_alloc();
  int64_t Decoded = 0;
  while (av_read_frame(Format, Packet) >= 0) {
    if (Packet->stream_index == Stream) {
      EXPECT_EQ(avcodec_send_packet(Ctx, Packet), 0);
      while (avcodec_receive_frame(Ctx, Frame) == 0) Decoded += Frame->nb_samples;
    }
    av_packet_unref(Packet);
  }
  EXPECT_NEAR(double(Decoded) / Ctx->sample_rate, Seconds, 1.0);
  av_frame_free(&Frame);
  av_packet_free(&Packet);
  avcodec_free_context(&Ctx);
  avformat_close_input(&Format);
}

}  // namespace
