#pragma once
// Wave (RIFF) files: what the player accepts, and the 16-bit mono PCM the
// voices are made of.
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

struct WaveFormat {
  int formatTag = 0;  // 1 PCM, 3 floating point
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  std::uint64_t dataOffset = 0;  // first sample byte
  std::uint64_t dataSize = 0;
};

// The format of a wave file the player can play (PCM of 8, 16, 24 or 32 bits
// or 32-bit floating point, with its "data" chunk); nothing for any other file.
std::optional<WaveFormat> readWaveFormat(std::istream& in);
std::optional<WaveFormat> readWaveFormat(std::string_view bytes);

using Samples = std::vector<std::int16_t>;

// The samples of a 16-bit mono PCM wave; nothing for any other file.
std::optional<Samples> readWave16Mono(std::string_view bytes, int* sampleRate);
std::string writeWave16Mono(const Samples& samples, int sampleRate);

// Half the sample rate: a low-pass filter below the new upper frequency
// limit, then every second sample.
Samples halveRate(const Samples& in);
// The sound without the silence around it, keeping a short lead-in and tail.
Samples trimSilence(const Samples& in, int sampleRate);

}  // namespace zv
