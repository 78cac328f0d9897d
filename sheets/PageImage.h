#pragma once
// The scanned page as the reading sees it: black and white, 100 px/in.
//
// A pixel's lightness is its grey value, or for a colour pixel the largest
// of R, G and B (lightnessOf), so that its black-plane value is k = 255 -
// lightness. Decoding image files is the caller's business; resampling and
// thresholding happen here.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zv {

// 8-bit samples in memory as a decoder leaves them, rows top down.
struct PixelBuffer {
  const std::uint8_t* data = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;  // bytes from one row to the next
  int bytesPerPixel = 1;      // 1: grey; 3 or 4: colour
  int firstColour = 0;        // colour: where the three colour bytes of a pixel start
  double dpiX = 0;            // pixels per inch as stored with the image; 0 when unknown
  double dpiY = 0;
};

// A grey (lightness) image that owns its pixels.
struct GreyImage {
  int width = 0;
  int height = 0;
  double dpiX = 0;
  double dpiY = 0;
  std::vector<std::uint8_t> pixels;  // width * height, rows top down

  PixelBuffer buffer() const { return {pixels.data(), width, height, width, 1, 0, dpiX, dpiY}; }
};

inline std::uint8_t lightnessOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return r > g ? (r > b ? r : b) : (g > b ? g : b);
}

// The image's lightness at 100 px/in: every new pixel is the average of the
// area it covers. An image without a resolution is taken to be 8.5 in wide;
// one within half a pixel per inch of 100 keeps its pixels.
GreyImage resampleTo100(const PixelBuffer& image);
inline GreyImage resampleTo100(const GreyImage& image) { return resampleTo100(image.buffer()); }
// Whether resampleTo100 would change the image's size.
bool needsResampling(const PixelBuffer& image);

class PageImage {
 public:
  PageImage() = default;

  // At 100 px/in (resampled first when the image is not): black-plane values
  // k from 0 to 75 become white, 76 to 255 black.
  static PageImage load(const PixelBuffer& image);
  static PageImage load(const GreyImage& image) { return load(image.buffer()); }

  int width() const { return width_; }
  int height() const { return height_; }
  // A pixel outside the page reads as white.
  bool dark(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && ((row(y)[x >> 6] >> (x & 63)) & 1u);
  }
  // Dark pixels of the w x h window at (x, y); the part outside the page counts as white.
  int darkCount(int x, int y, int w, int h) const;

 private:
  const std::uint64_t* row(int y) const { return bits_.data() + static_cast<std::size_t>(y) * words_; }
  std::uint64_t* row(int y) { return bits_.data() + static_cast<std::size_t>(y) * words_; }

  int width_ = 0;
  int height_ = 0;
  std::size_t words_ = 0;            // 64-pixel words a row
  std::vector<std::uint64_t> bits_;  // 1 dark, 0 white
};

}  // namespace zv
