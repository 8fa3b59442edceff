// The FFmpeg music player on a short WMA track made here (as the game's music) and on one of
// the game's PCM WAV effects.
#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "engine/ComponentError.h"
#include "engine/Components.h"
#include "support/GameFixture.h"

namespace pikora::test {
namespace {

// Writes Seconds of a 440 Hz stereo tone as WMA.
void WriteTone(const std::string& Path, double Seconds) {
  const int Rate = 44100;
  AVFormatContext* Format = nullptr;
  ASSERT_GE(avformat_alloc_output_context2(&Format, nullptr, "asf", Path.c_str()), 0);
  const AVCodec* Codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
  ASSERT_NE(Codec, nullptr);
  AVStream* Stream = avformat_new_stream(Format, nullptr);
  AVCodecContext* Ctx = avcodec_alloc_context3(Codec);
  Ctx->sample_fmt = AV_SAMPLE_FMT_FLTP;
  Ctx->sample_rate = Rate;
  Ctx->bit_rate = 128000;
  av_channel_layout_default(&Ctx->ch_layout, 2);
  Ctx->time_base = {1, Rate};
  if (Format->oformat->flags & AVFMT_GLOBALHEADER) Ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  ASSERT_GE(avcodec_open2(Ctx, Codec, nullptr), 0);
  avcodec_parameters_from_context(Stream->codecpar, Ctx);
  Stream->time_base = Ctx->time_base;
  ASSERT_GE(avio_open(&Format->pb, Path.c_str(), AVIO_FLAG_WRITE), 0);
  ASSERT_GE(avformat_write_header(Format, nullptr), 0);
  AVFrame* Frame = av_frame_alloc();
  AVPacket* Packet = av_packet_alloc();
  auto Drain = [&] {
    while (avcodec_receive_packet(Ctx, Packet) == 0) {
      av_packet_rescale_ts(Packet, Ctx->time_base, Stream->time_base);
      Packet->stream_index = Stream->index;
      av_interleaved_write_frame(Format, Packet);
    }
  };
  const int64_t Total = int64_t(Seconds * Rate);
  for (int64_t Pos = 0; Pos < Total; Pos += Ctx->frame_size) {
    Frame->nb_samples = Ctx->frame_size;
    Frame->format = Ctx->sample_fmt;
    av_channel_layout_copy(&Frame->ch_layout, &Ctx->ch_layout);
    ASSERT_GE(av_frame_get_buffer(Frame, 0), 0);
    for (int I = 0; I < Frame->nb_samples; ++I) {
      const double V = Pos + I < Total ? 0.3 * std::sin(2 * M_PI * 440 * double(Pos + I) / Rate) : 0;
      for (int Channel : {0, 1}) reinterpret_cast<float*>(Frame->data[Channel])[I] = float(V);
    }
    Frame->pts = Pos;
    avcodec_send_frame(Ctx, Frame);
    Drain();
    av_frame_unref(Frame);
  }
  avcodec_send_frame(Ctx, nullptr);
  Drain();
  av_write_trailer(Format);
  av_packet_free(&Packet);
  av_frame_free(&Frame);
  avcodec_free_context(&Ctx);
  avio_closep(&Format->pb);
  avformat_free_context(Format);
}

// With the test's audio driver, and with none: then time passes by the wall clock.
class MusicTest : public ::testing::TestWithParam<bool> {
 protected:
  TempFolder Game;
  std::shared_ptr<MusicPlayer> Music;
  MusicTest() {
    std::filesystem::create_directories(Game / "sound");
    WriteTone((Game / "sound" / "music.wma").string(), 1.5);
    std::filesystem::copy_file(std::filesystem::path(PIKORA_SOURCE_DIR) / "data" / "sound" / "levelcompleted.wav",
                               Game / "effect.wav");  // 970 ms
    const char* Old = std::getenv("SDL_AUDIODRIVER");
    const std::string Saved = Old ? Old : "";
    if (!GetParam()) setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Music = MakeFfmpegMusicPlayer(Game.Path.string());
    if (Old) setenv("SDL_AUDIODRIVER", Saved.c_str(), 1); else unsetenv("SDL_AUDIODRIVER");
  }

  // Plays to the end, checking the position stays below the length until it is over.
  static void PlayThrough(MusicPlayer& Music) {
    const int32_t Length = Music.GetLength();
    Music.Play(true);
    auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int32_t Last = 0, Position = 0;
    while ((Position = Music.GetPosition()) < Length && std::chrono::steady_clock::now() < Deadline) {
      EXPECT_GE(Position, Last);
      Last = Position;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_GE(Music.GetPosition(), Length) << "the track never ended";
    EXPECT_GT(Last, 0);
  }
};

TEST_P(MusicTest, AWmaTrackAndThenAWavTrackHaveTheirLengthsAndEndAtThem) {
  Music->Load("\\sound\\music.wma");
  Music->SetVolume(95);
  EXPECT_NEAR(Music->GetLength(), 1500, 100);
  EXPECT_EQ(Music->GetPosition(), 0);
  PlayThrough(*Music);
  // Stop holds the position; playing again starts over.
  Music->Play(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Music->Stop(true);
  const int32_t Held = Music->GetPosition();
  EXPECT_LT(Held, Music->GetLength());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(Music->GetPosition(), Held);
  Music->Play(true);
  EXPECT_LT(Music->GetPosition(), Music->GetLength());
  Music->Stop(true);
  // The game's loop: at the end it plays again from the start.
  PlayThrough(*Music);
  Music->Load("effect.wav");
  EXPECT_NEAR(Music->GetLength(), 970, 30);
  PlayThrough(*Music);
}

TEST_P(MusicTest, MissingOrUndecodableFilesFail) {
  EXPECT_THROW(Music->Load("sound/none.wma"), ComponentError);
  WriteFile(Game / "sound" / "bad.wma", std::string(5000, 'x'));
  EXPECT_THROW(Music->Load("sound/bad.wma"), ComponentError);
  EXPECT_THROW(Music->Play(true), ComponentError);
}

INSTANTIATE_TEST_SUITE_P(Audio, MusicTest, ::testing::Bool(),
                         [](const auto& Info) { return Info.param ? "Device" : "NoDevice"; });

}  // namespace
}  // namespace pikora::test
