#include "testing/WaveFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>

namespace zv {
namespace {

std::uint32_t le32(const char* p) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(p[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(p[3])) << 24;
}
int le16(const char* p) {
  return static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8;
}
void put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
void put16(std::string& s, int v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}

bool playable(const WaveFormat& f) {
  if (f.channels < 1 || f.sampleRate < 1) return false;
  if (f.formatTag == 1) return f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 24 || f.bitsPerSample == 32;
  return f.formatTag == 3 && f.bitsPerSample == 32;
}

// Low-pass taps for halving the rate: a windowed sinc cut at a quarter of
// the old rate, 31 taps (odd, symmetric).
const std::array<double, 31>& halfbandTaps() {
  static const std::array<double, 31> taps = [] {
    std::array<double, 31> t{};
    const double pi = std::acos(-1.0);
    double sum = 0;
    for (int i = 0; i < 31; ++i) {
      const int k = i - 15;
      const double sinc = k == 0 ? 0.5 : std::sin(pi * k / 2.0) / (pi * k);
      const double window = 0.42 - 0.5 * std::cos(2 * pi * i / 30.0) + 0.08 * std::cos(4 * pi * i / 30.0);
      t[static_cast<std::size_t>(i)] = sinc * window;
      sum += t[static_cast<std::size_t>(i)];
    }
    for (double& v : t) v /= sum;
    return t;
  }();
  return taps;
}

}  // namespace

std::optional<WaveFormat> readWaveFormat(std::istream& in) {
  char head[12];
  if (!in.read(head, 12) || std::string_view(head, 4) != "RIFF" || std::string_view(head + 8, 4) != "WAVE")
    return std::nullopt;
  WaveFormat f;
  bool haveFormat = false;
  std::uint64_t pos = 12;
  char chunk[8];
  while (in.seekg(static_cast<std::streamoff>(pos)) && in.read(chunk, 8)) {
    const std::uint32_t size = le32(chunk + 4);
    const std::string_view id(chunk, 4);
    if (id == "fmt ") {
      char fmt[40] = {};
      if (size < 16 || !in.read(fmt, std::min<std::uint32_t>(size, sizeof fmt))) return std::nullopt;
      f.formatTag = le16(fmt);
      f.channels = le16(fmt + 2);
      f.sampleRate = static_cast<int>(le32(fmt + 4));
      f.bitsPerSample = le16(fmt + 14);
      // An extensible format names its own kind in the first bytes of its sub-format.
      if (f.formatTag == 0xFFFE && size >= 26) f.formatTag = le16(fmt + 24);
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat || !playable(f)) return std::nullopt;
      f.dataOffset = pos + 8;
      f.dataSize = size;
      return f;
    }
    pos += 8 + size + (size & 1);  // chunks are padded to an even length
  }
  return std::nullopt;
}

std::optional<WaveFormat> readWaveFormat(std::string_view bytes) {
  std::istringstream in{std::string(bytes)};
  return readWaveFormat(in);
}

std::optional<Samples> readWave16Mono(std::string_view bytes, int* sampleRate) {
  const auto f = readWaveFormat(bytes);
  if (!f || f->formatTag != 1 || f->bitsPerSample != 16 || f->channels != 1) return std::nullopt;
  // espeak-ng writes a data size it cannot know when writing to a pipe; the file's end bounds it.
  const std::uint64_t available = bytes.size() > f->dataOffset ? bytes.size() - f->dataOffset : 0;
  const std::uint64_t size = std::min(f->dataSize, available);
  Samples s(static_cast<std::size_t>(size / 2));
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<std::int16_t>(le16(bytes.data() + f->dataOffset + 2 * i));
  if (sampleRate) *sampleRate = f->sampleRate;
  return s;
}

std::string writeWave16Mono(const Samples& samples, int sampleRate) {
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
  std::string out;
  out.reserve(44 + dataSize);
  out += "RIFF";
  put32(out, 36 + dataSize);
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<std::uint32_t>(sampleRate));
  put32(out, static_cast<std::uint32_t>(sampleRate) * 2);
  put16(out, 2);   // bytes per sample frame
  put16(out, 16);  // bits per sample
  out += "data";
  put32(out, dataSize);
  for (std::int16_t v : samples) put16(out, static_cast<std::uint16_t>(v));
  return out;
}

Samples halveRate(const Samples& in) {
  const auto& taps = halfbandTaps();
  const long n = static_cast<long>(in.size());
  Samples out;
  out.reserve(in.size() / 2 + 1);
  for (long c = 0; c < n; c += 2) {
    double acc = 0;
    for (long k = 0; k < 31; ++k) {
      const long j = c + k - 15;
      if (j >= 0 && j < n) acc += taps[static_cast<std::size_t>(k)] * in[static_cast<std::size_t>(j)];
    }
    out.push_back(static_cast<std::int16_t>(std::clamp(std::lround(acc), -32768L, 32767L)));
  }
  return out;
}

Samples trimSilence(const Samples& in, int sampleRate) {
  constexpr int kQuiet = 64;  // below this a sample is silence
  auto loud = [](std::int16_t v) { return std::abs(static_cast<int>(v)) > kQuiet; };
  const auto first = std::find_if(in.begin(), in.end(), loud);
  if (first == in.end()) return {};
  const auto last = std::find_if(in.rbegin(), in.rend(), loud).base();
  const long lead = sampleRate / 20, tail = sampleRate / 8;  // 50 ms before, 125 ms after
  const long from = std::max(0L, static_cast<long>(first - in.begin()) - lead);
  const long to = std::min(static_cast<long>(in.size()), static_cast<long>(last - in.begin()) + tail);
  return Samples(in.begin() + from, in.begin() + to);
}

}  // namespace zv
