#include "sheets/PageImage.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace zv {
namespace {

constexpr double kLetterWidthInches = 8.5;
constexpr int kDarkFromLightness = 255 - 76;  // black-plane values 76 to 255 are dark

// Reads lightness values of one row of a buffer, whatever its pixel size.
class RowReader {
 public:
  explicit RowReader(const PixelBuffer& b) : b_(b) {}
  const std::uint8_t* operator()(int y) {
    const std::uint8_t* src = b_.data + static_cast<std::ptrdiff_t>(y) * b_.stride;
    if (b_.bytesPerPixel == 1) return src;
    line_.resize(static_cast<std::size_t>(b_.width));
    src += b_.firstColour;
    for (std::size_t x = 0; x < line_.size(); ++x, src += b_.bytesPerPixel) line_[x] = lightnessOf(src[0], src[1], src[2]);
    return line_.data();
  }

 private:
  const PixelBuffer& b_;
  std::vector<std::uint8_t> line_;
};

void resolution(const PixelBuffer& image, double& dpiX, double& dpiY) {
  dpiX = image.dpiX, dpiY = image.dpiY;
  if (dpiX <= 0 || dpiY <= 0) dpiX = dpiY = image.width / kLetterWidthInches;
}

// For each new pixel along one axis: the first old pixel it covers and the
// share of each old pixel it covers, summing to 1.
struct AxisWeights {
  std::vector<int> first;
  std::vector<std::vector<float>> shares;
};

AxisWeights axisWeights(int oldSize, int newSize, double oldPerNew) {
  AxisWeights a;
  a.first.resize(static_cast<std::size_t>(newSize));
  a.shares.resize(static_cast<std::size_t>(newSize));
  for (int i = 0; i < newSize; ++i) {
    const double from = i * oldPerNew;
    const double to = std::min((i + 1) * oldPerNew, static_cast<double>(oldSize));
    int j = std::min(static_cast<int>(from), oldSize - 1);
    a.first[static_cast<std::size_t>(i)] = j;
    auto& s = a.shares[static_cast<std::size_t>(i)];
    double total = 0;
    for (; j < oldSize && j < to; ++j) {
      const double part = std::min<double>(j + 1, to) - std::max<double>(j, from);
      s.push_back(static_cast<float>(part));
      total += part;
    }
    if (s.empty() || total <= 0) s.assign(1, 1.0f);
    else
      for (float& v : s) v = static_cast<float>(v / total);
  }
  return a;
}

}  // namespace

bool needsResampling(const PixelBuffer& image) {
  double dpiX = 0, dpiY = 0;
  resolution(image, dpiX, dpiY);
  return std::abs(dpiX - 100) >= 0.5 || std::abs(dpiY - 100) >= 0.5;
}

GreyImage resampleTo100(const PixelBuffer& image) {
  GreyImage out;
  out.dpiX = out.dpiY = 100;
  RowReader read(image);
  if (!needsResampling(image) || image.width <= 0 || image.height <= 0) {
    out.width = std::max(image.width, 0), out.height = std::max(image.height, 0);
    for (int y = 0; y < out.height; ++y) {
      const std::uint8_t* row = read(y);
      out.pixels.insert(out.pixels.end(), row, row + out.width);
    }
    return out;
  }
  double dpiX = 0, dpiY = 0;
  resolution(image, dpiX, dpiY);
  out.width = std::max(1, static_cast<int>(std::lround(image.width * 100.0 / dpiX)));
  out.height = std::max(1, static_cast<int>(std::lround(image.height * 100.0 / dpiY)));
  const AxisWeights wx = axisWeights(image.width, out.width, dpiX / 100.0);
  const AxisWeights wy = axisWeights(image.height, out.height, dpiY / 100.0);

  // Across first (every old row), then down.
  const auto ow = static_cast<std::size_t>(out.width);
  std::vector<float> across(static_cast<std::size_t>(image.height) * ow);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* src = read(y);
    float* dst = across.data() + static_cast<std::size_t>(y) * ow;
    for (std::size_t i = 0; i < ow; ++i) {
      const std::uint8_t* p = src + wx.first[i];
      float sum = 0;
      for (float share : wx.shares[i]) sum += share * static_cast<float>(*p++);
      dst[i] = sum;
    }
  }
  out.pixels.resize(ow * static_cast<std::size_t>(out.height));
  std::vector<float> row(ow);
  for (int i = 0; i < out.height; ++i) {
    std::fill(row.begin(), row.end(), 0.0f);
    const auto& shares = wy.shares[static_cast<std::size_t>(i)];
    for (std::size_t k = 0; k < shares.size(); ++k) {
      const float* src = across.data() + (static_cast<std::size_t>(wy.first[static_cast<std::size_t>(i)]) + k) * ow;
      for (std::size_t x = 0; x < ow; ++x) row[x] += shares[k] * src[x];
    }
    std::uint8_t* dst = out.pixels.data() + static_cast<std::size_t>(i) * ow;
    for (std::size_t x = 0; x < ow; ++x) dst[x] = static_cast<std::uint8_t>(std::clamp(std::lround(row[x]), 0L, 255L));
  }
  return out;
}

PageImage PageImage::load(const PixelBuffer& image) {
  if (needsResampling(image)) return load(resampleTo100(image));
  PageImage page;
  page.width_ = std::max(0, image.width);
  page.height_ = std::max(0, image.height);
  page.words_ = (static_cast<std::size_t>(page.width_) + 63) / 64;
  page.bits_.assign(page.words_ * static_cast<std::size_t>(page.height_), 0);
  RowReader read(image);
  for (int y = 0; y < page.height_; ++y) {
    const std::uint8_t* in = read(y);
    std::uint64_t* out = page.row(y);
    for (int x = 0; x < page.width_; ++x)
      out[x >> 6] |= static_cast<std::uint64_t>(in[x] <= kDarkFromLightness) << (x & 63);
  }
  return page;
}

int PageImage::darkCount(int x, int y, int w, int h) const {
  const int x0 = std::max(x, 0), x1 = std::min(x + w, width_);
  const int y0 = std::max(y, 0), y1 = std::min(y + h, height_);
  if (x0 >= x1 || y0 >= y1) return 0;
  int count = 0;
  for (int r = y0; r < y1; ++r) {
    const std::uint64_t* words = row(r);
    for (int from = x0; from < x1;) {  // the pixels from..to-1 within one word
      const int word = from >> 6, to = std::min(x1, (word + 1) << 6);
      const int n = to - from;
      const std::uint64_t mask = (n == 64 ? ~0ull : ((1ull << n) - 1)) << (from & 63);
      count += std::popcount(words[word] & mask);
      from = to;
    }
  }
  return count;
}

}  // namespace zv
