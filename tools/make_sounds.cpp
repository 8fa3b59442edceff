// Synthesises the game's nine sound effects (WAV, 44.1 kHz, 16-bit mono) and its
// background music (a seamless loop, encoded as WMA with FFmpeg's wmav2 encoder).
// Usage: make_sounds OUTPUT_FOLDER   (writes OUTPUT_FOLDER/*.wav and music.wma)
// Every run gives the same bytes: the only randomness is a fixed-seed generator.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr double Pi = 3.14159265358979323846;

using Buffer = std::vector<double>;

// Deterministic noise (xorshift), the same on every machine.
struct Noise {
  uint32_t State = 2463534242u;
  double Next() {
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return State / 2147483648.0 - 1.0;
  }
};

double NoteFrequency(int Midi) { return 440.0 * std::pow(2.0, (Midi - 69) / 12.0); }

// Attack and exponential decay; the attack keeps the start free of clicks.
double Envelope(double T, double Attack, double Decay) {
  if (T < 0) return 0;
  const double Rise = T < Attack ? T / Attack : 1.0;
  return Rise * std::exp(-T / Decay);
}

// A soft bell: a few inharmonic partials.
void AddBell(Buffer& Out, double Start, int Midi, double Length, double Gain) {
  const double F = NoteFrequency(Midi);
  const size_t First = size_t(Start * Rate);
  const size_t Count = size_t(Length * Rate);
  for (size_t I = 0; I < Count && First + I < Out.size(); ++I) {
    const double T = double(I) / Rate;
    const double E = Envelope(T, 0.004, Length / 4.0);
    const double S = std::sin(2 * Pi * F * T) + 0.35 * std::sin(2 * Pi * F * 2.01 * T) * std::exp(-T * 6) +
                     0.15 * std::sin(2 * Pi * F * 3.02 * T) * std::exp(-T * 10);
    Out[First + I] += Gain * E * S;
  }
}

// A short filtered-noise tick with a tonal body: the key and click sounds.
void AddTick(Buffer& Out, double Start, double Pitch, double Length, double Gain, double Brightness, Noise& N) {
  const size_t First = size_t(Start * Rate);
  const size_t Count = size_t(Length * Rate);
  double Low = 0;
  for (size_t I = 0; I < Count && First + I < Out.size(); ++I) {
    const double T = double(I) / Rate;
    Low += Brightness * (N.Next() - Low);
    const double E = Envelope(T, 0.0015, Length / 6.0);
    Out[First + I] += Gain * E * (0.6 * Low + 0.5 * std::sin(2 * Pi * Pitch * T));
  }
}

// Fades both ends so no effect starts or stops with a click.
void FadeEnds(Buffer& Out, double Seconds = 0.004) {
  const size_t N = std::min(Out.size() / 2, size_t(Seconds * Rate));
  for (size_t I = 0; I < N; ++I) {
    const double G = double(I) / N;
    Out[I] *= G;
    Out[Out.size() - 1 - I] *= G;
  }
}

void Normalise(Buffer& Out, double Peak) {
  double Max = 1e-9;
  for (double V : Out) Max = std::max(Max, std::abs(V));
  for (double& V : Out) V *= Peak / Max;
}

void WriteWav(const std::string& Path, const Buffer& Samples) {
  std::ofstream F(Path, std::ios::binary);
  if (!F) throw std::runtime_error("cannot write " + Path);
  auto U32 = [&](uint32_t V) { F.write(reinterpret_cast<const char*>(&V), 4); };
  auto U16 = [&](uint16_t V) { F.write(reinterpret_cast<const char*>(&V), 2); };
  const uint32_t DataBytes = uint32_t(Samples.size() * 2);
  F.write("RIFF", 4);
  U32(36 + DataBytes);
  F.write("WAVEfmt ", 8);
  U32(16);
  U16(1);  // PCM
  U16(1);  // mono
  U32(Rate);
  U32(Rate * 2);
  U16(2);
  U16(16);
  F.write("data", 4);
  U32(DataBytes);
  for (double V : Samples) {
    const auto S = int16_t(std::lround(std::clamp(V, -1.0, 1.0) * 32767.0));
    U16(uint16_t(S));
  }
}

Buffer Seconds(double S) { return Buffer(size_t(S * Rate), 0.0); }

Buffer Click() {
  Noise N;
  Buffer B = Seconds(0.06);
  AddTick(B, 0, 1800, 0.06, 0.8, 0.5, N);
  FadeEnds(B);
  Normalise(B, 0.55);
  return B;
}

Buffer Key(int Which) {
  Noise N;
  N.State += uint32_t(Which) * 7919u;
  const double Pitches[] = {900, 1100, 1300, 1550};
  const double Bright[] = {0.25, 0.35, 0.3, 0.45};
  Buffer B = Seconds(0.07);
  AddTick(B, 0, Pitches[Which], 0.07, 0.8, Bright[Which], N);
  FadeEnds(B);
  Normalise(B, 0.45);
  return B;
}

Buffer Arpeggio(const std::vector<int>& Notes, double Step, double Ring, double Peak) {
  Buffer B = Seconds(Step * double(Notes.size() - 1) + Ring);
  for (size_t I = 0; I < Notes.size(); ++I) AddBell(B, Step * double(I), Notes[I], Ring, 1.0);
  FadeEnds(B, 0.02);
  Normalise(B, Peak);
  return B;
}

Buffer Joker() {
  // A rising shimmer: quick bells over a soft upward sweep.
  Buffer B = Seconds(0.9);
  for (int I = 0; I < 8; ++I) AddBell(B, 0.05 * I, 79 + (I * 5) % 12 + (I / 3) * 2, 0.45, 0.5);
  double Phase = 0;
  for (size_t I = 0; I < B.size(); ++I) {
    const double T = double(I) / Rate;
    Phase += 2 * Pi * (600 + 1400 * T / 0.9) / Rate;
    B[I] += 0.15 * std::sin(Phase) * Envelope(T, 0.05, 0.35);
  }
  FadeEnds(B, 0.03);
  Normalise(B, 0.6);
  return B;
}

Buffer GameOver() {
  // A gentle falling phrase, disappointed but not harsh.
  Buffer B = Seconds(1.8);
  const int Notes[] = {67, 65, 62, 58};
  for (int I = 0; I < 4; ++I) AddBell(B, 0.28 * I, Notes[I], I == 3 ? 1.0 : 0.6, 1.0);
  AddBell(B, 0.84, 46, 0.95, 0.6);
  FadeEnds(B, 0.03);
  Normalise(B, 0.6);
  return B;
}

Buffer PackCompleted() {
  // A little fanfare: two arpeggios and a held chord.
  Buffer B = Seconds(2.2);
  const int Run[] = {60, 64, 67, 72, 67, 72, 76};
  for (int I = 0; I < 7; ++I) AddBell(B, 0.11 * I, Run[I], 0.5, 0.8);
  for (int Note : {72, 76, 79, 84}) AddBell(B, 0.85, Note, 1.3, 0.6);
  FadeEnds(B, 0.03);
  Normalise(B, 0.65);
  return B;
}

// ---- Music -----------------------------------------------------------------------------

// 32 bars at 96 beats per minute: 80 seconds, in stereo, that loop seamlessly
// because every note's tail past the end is folded back onto the beginning.
struct Music {
  static constexpr double Bpm = 96;
  static constexpr int Bars = 32;
  static constexpr double Beat = 60.0 / Bpm;
  size_t Length = size_t(Bars * 4 * Beat * Rate);
  Buffer Left = Buffer(Length, 0.0), Right = Buffer(Length, 0.0);

  void Add(size_t Index, double Value, double Pan) {
    Index %= Length;
    Left[Index] += Value * (1 - Pan);
    Right[Index] += Value * Pan;
  }

  void Pluck(double Start, int Midi, double Decay, double Gain, double Pan) {
    const double F = NoteFrequency(Midi);
    const size_t First = size_t(Start * Rate);
    const size_t Count = size_t(Decay * 5 * Rate);
    for (size_t I = 0; I < Count; ++I) {
      const double T = double(I) / Rate;
      const double E = Envelope(T, 0.006, Decay);
      const double S = std::sin(2 * Pi * F * T) + 0.3 * std::sin(4 * Pi * F * T) * std::exp(-T * 3) +
                       0.1 * std::sin(6 * Pi * F * T) * std::exp(-T * 5);
      Add(First + I, Gain * E * S, Pan);
    }
  }

  void Pad(double Start, int Midi, double Length_, double Gain, double Pan) {
    const double F = NoteFrequency(Midi);
    const size_t First = size_t(Start * Rate);
    const size_t Count = size_t((Length_ + 0.6) * Rate);
    for (size_t I = 0; I < Count; ++I) {
      const double T = double(I) / Rate;
      double E = std::min(1.0, T / 0.35);
      if (T > Length_) E *= std::exp(-(T - Length_) / 0.15);
      const double S = std::sin(2 * Pi * F * T) + 0.5 * std::sin(2 * Pi * F * 1.003 * T) +
                       0.2 * std::sin(4 * Pi * F * T);
      Add(First + I, Gain * E * S, Pan);
    }
  }

  void Compose() {
    // C - Am - F - G, then Am - F - C - G: calm and sunny.
    const int Roots[2][4] = {{48, 45, 41, 43}, {45, 41, 48, 43}};
    const int Thirds[2][4] = {{4, 3, 4, 4}, {3, 4, 4, 4}};
    const int Melody[4][8] = {{76, 74, 72, 74, 76, 76, 76, -1},
                              {74, 74, 74, -1, 76, 79, 79, -1},
                              {76, 74, 72, 74, 76, 76, 76, 76},
                              {74, 74, 76, 74, 72, -1, -1, -1}};
    Noise N;
    for (int Bar = 0; Bar < Bars; ++Bar) {
      const int Section = (Bar / 8) % 2;
      const int Chord = Bar % 4;
      const int Root = Roots[Section][Chord];
      const double T0 = Bar * 4 * Beat;
      // Pad chord, soft and wide.
      for (int Interval : {0, Thirds[Section][Chord], 7})
        Pad(T0, Root + 12 + Interval, 4 * Beat - 0.1, 0.05, Interval == 7 ? 0.7 : 0.3);
      // Bass on beats 1 and 3.
      Pluck(T0, Root - 12, 0.5, 0.22, 0.5);
      Pluck(T0 + 2 * Beat, Root - 12 + 7, 0.4, 0.15, 0.5);
      // Arpeggio in eighths.
      const int Arp[8] = {0, 7, 12, Thirds[Section][Chord] + 12, 19, 12, 7, Thirds[Section][Chord] + 12};
      for (int I = 0; I < 8; ++I) Pluck(T0 + I * Beat / 2, Root + 12 + Arp[I], 0.18, 0.07, I % 2 ? 0.25 : 0.75);
      // Melody in the middle sixteen bars, over the chords.
      if (Bar >= 8 && Bar < 24) {
        const int* Line = Melody[(Bar - 8) % 4];
        for (int I = 0; I < 8; ++I)
          if (Line[I] > 0) Pluck(T0 + I * Beat / 2, Line[I] - (Section ? 0 : 0), 0.35, 0.12, 0.5);
      }
      // A whisper of brushed noise on the off-beats for movement.
      for (int I = 1; I < 8; I += 2) {
        const size_t First = size_t((T0 + I * Beat / 2) * Rate);
        double Low = 0;
        for (size_t K = 0; K < size_t(0.05 * Rate); ++K) {
          Low += 0.5 * (N.Next() - Low);
          Add(First + K, 0.02 * Low * Envelope(double(K) / Rate, 0.002, 0.012), 0.5);
        }
      }
    }
    double Max = 1e-9;
    for (size_t I = 0; I < Length; ++I) Max = std::max({Max, std::abs(Left[I]), std::abs(Right[I])});
    for (size_t I = 0; I < Length; ++I) {
      Left[I] *= 0.7 / Max;
      Right[I] *= 0.7 / Max;
    }
  }
};

void Check(int Status, const char* What) {
  if (Status < 0) {
    char Text[256];
    av_strerror(Status, Text, sizeof Text);
    throw std::runtime_error(std::string(What) + ": " + Text);
  }
}

void WriteWma(const std::string& Path, const Music& Track) {
  AVFormatContext* Format = nullptr;
  Check(avformat_alloc_output_context2(&Format, nullptr, "asf", Path.c_str()), "output");
  Format->flags |= AVFMT_FLAG_BITEXACT;
  const AVCodec* Codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
  if (!Codec) throw std::runtime_error("no wmav2 encoder");
  AVStream* Stream = avformat_new_stream(Format, nullptr);
  AVCodecContext* Ctx = avcodec_alloc_context3(Codec);
  Ctx->sample_fmt = AV_SAMPLE_FMT_FLTP;
  Ctx->sample_rate = Rate;
  Ctx->bit_rate = 128000;
  Ctx->flags |= AV_CODEC_FLAG_BITEXACT;
  av_channel_layout_default(&Ctx->ch_layout, 2);
  Ctx->time_base = {1, Rate};
  if (Format->oformat->flags & AVFMT_GLOBALHEADER) Ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(Ctx, Codec, nullptr), "open encoder");
  Check(avcodec_parameters_from_context(Stream->codecpar, Ctx), "parameters");
  Stream->time_base = Ctx->time_base;
  av_dict_set(&Format->metadata, "title", "Pikora", 0);
  Check(avio_open(&Format->pb, Path.c_str(), AVIO_FLAG_WRITE), "open file");
  Check(avformat_write_header(Format, nullptr), "header");

  AVFrame* Frame = av_frame_alloc();
  AVPacket* Packet = av_packet_alloc();
  auto Drain = [&] {
    while (avcodec_receive_packet(Ctx, Packet) == 0) {
      av_packet_rescale_ts(Packet, Ctx->time_base, Stream->time_base);
      Packet->stream_index = Stream->index;
      Check(av_interleaved_write_frame(Format, Packet), "write");
    }
  };
  const int FrameSize = Ctx->frame_size;
  for (size_t Pos = 0; Pos < Track.Length; Pos += size_t(FrameSize)) {
    Frame->nb_samples = FrameSize;
    Frame->format = Ctx->sample_fmt;
    av_channel_layout_copy(&Frame->ch_layout, &Ctx->ch_layout);
    Check(av_frame_get_buffer(Frame, 0), "frame");
    auto* L = reinterpret_cast<float*>(Frame->data[0]);
    auto* R = reinterpret_cast<float*>(Frame->data[1]);
    for (int I = 0; I < FrameSize; ++I) {
      const size_t K = Pos + size_t(I);
      L[I] = K < Track.Length ? float(Track.Left[K]) : 0.0f;
      R[I] = K < Track.Length ? float(Track.Right[K]) : 0.0f;
    }
    Frame->pts = int64_t(Pos);
    Check(avcodec_send_frame(Ctx, Frame), "encode");
    Drain();
    av_frame_unref(Frame);
  }
  Check(avcodec_send_frame(Ctx, nullptr), "flush");
  Drain();
  Check(av_write_trailer(Format), "trailer");
  av_packet_free(&Packet);
  av_frame_free(&Frame);
  avcodec_free_context(&Ctx);
  avio_closep(&Format->pb);
  avformat_free_context(Format);
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc != 2) {
    std::fprintf(stderr, "usage: make_sounds OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string Out = Argv[1];
  try {
    WriteWav(Out + "/click.wav", Click());
    for (int I = 0; I < 4; ++I) WriteWav(Out + "/" + std::to_string(I + 1) + "key.wav", Key(I));
    WriteWav(Out + "/levelcompleted.wav", Arpeggio({72, 76, 79, 84}, 0.09, 0.7, 0.6));
    WriteWav(Out + "/joker.wav", Joker());
    WriteWav(Out + "/packcompleted.wav", PackCompleted());
    WriteWav(Out + "/gameover.wav", GameOver());
    Music Track;
    Track.Compose();
    WriteWma(Out + "/music.wma", Track);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "make_sounds: %s\n", Error.what());
    return 1;
  }
  return 0;
}
