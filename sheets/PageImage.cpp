#include "sheets/PageImage.h"

#include <algorithm>
#include <cmath>

namespace zv {
namespace {

constexpr double kLetterWidthInches = 8.5;
constexpr int kWhiteUpTo = 75;  // black-plane values 0..75 are white

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

GreyImage resampleTo100(const GreyImage& image) {
  double dpiX = image.dpiX, dpiY = image.dpiY;
  if (dpiX <= 0 || dpiY <= 0) dpiX = dpiY = image.width / kLetterWidthInches;
  if ((std::abs(dpiX - 100) < 0.5 && std::abs(dpiY - 100) < 0.5) || image.width <= 0 || image.height <= 0) {
    GreyImage same = image;
    same.dpiX = same.dpiY = 100;
    return same;
  }
  GreyImage out;
  out.width = std::max(1, static_cast<int>(std::lround(image.width * 100.0 / dpiX)));
  out.height = std::max(1, static_cast<int>(std::lround(image.height * 100.0 / dpiY)));
  out.dpiX = out.dpiY = 100;
  const AxisWeights wx = axisWeights(image.width, out.width, dpiX / 100.0);
  const AxisWeights wy = axisWeights(image.height, out.height, dpiY / 100.0);

  // Across first (every old row), then down.
  const auto ow = static_cast<std::size_t>(out.width);
  std::vector<float> across(static_cast<std::size_t>(image.height) * ow);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* src = image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
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

PageImage PageImage::threshold(const std::uint8_t* lightness, int width, int height, std::ptrdiff_t stride) {
  PageImage page;
  page.width_ = std::max(0, width);
  page.height_ = std::max(0, height);
  page.dark_.resize(static_cast<std::size_t>(page.width_) * static_cast<std::size_t>(page.height_));
  std::uint8_t* out = page.dark_.data();
  for (int y = 0; y < page.height_; ++y) {
    const std::uint8_t* in = lightness + y * stride;
    for (int x = 0; x < page.width_; ++x) *out++ = 255 - in[x] > kWhiteUpTo;
  }
  return page;
}

PageImage PageImage::load(const GreyImage& image) {
  const GreyImage page = resampleTo100(image);
  return threshold(page.pixels.data(), page.width, page.height, page.width);
}

int PageImage::darkCount(int x, int y, int w, int h) const {
  const int x0 = std::max(x, 0), x1 = std::min(x + w, width_);
  const int y0 = std::max(y, 0), y1 = std::min(y + h, height_);
  int count = 0;
  for (int row = y0; row < y1; ++row) {
    const std::uint8_t* p = dark_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
    for (int col = x0; col < x1; ++col) count += p[col];
  }
  return count;
}

}  // namespace zv
