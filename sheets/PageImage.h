#pragma once
// The scanned page as the reading sees it: black and white, 100 px/in.
//
// A scan arrives as an 8-bit lightness image at its own resolution: for a
// grey scan the grey value, for a colour scan the largest of R, G and B
// (lightnessOf), so that the black-plane value of a pixel is k = 255 -
// lightness. Decoding image files is the caller's business; resampling and
// thresholding happen here.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zv {

struct GreyImage {
  int width = 0;
  int height = 0;
  double dpiX = 0;  // pixels per inch as stored with the image; 0 when unknown
  double dpiY = 0;
  std::vector<std::uint8_t> pixels;  // width * height lightness values, rows top down
};

inline std::uint8_t lightnessOf(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return r > g ? (r > b ? r : b) : (g > b ? g : b);
}

// The image at 100 px/in: every new pixel is the average of the area it
// covers. An image without a resolution is taken to be 8.5 in wide. An
// image within half a pixel per inch of 100 is returned as it is.
GreyImage resampleTo100(const GreyImage& image);

class PageImage {
 public:
  PageImage() = default;

  // k from 0 to 75 becomes white, 76 to 255 black. The lightness values are
  // taken as 100 px/in; `stride` is the distance between rows in bytes.
  static PageImage threshold(const std::uint8_t* lightness, int width, int height, std::ptrdiff_t stride);
  // Any resolution: resampled to 100 px/in, then thresholded.
  static PageImage load(const GreyImage& image);

  int width() const { return width_; }
  int height() const { return height_; }
  // A pixel outside the page reads as white.
  bool dark(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ &&
           dark_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  }
  // Dark pixels of the w x h window at (x, y); the part outside the page counts as white.
  int darkCount(int x, int y, int w, int h) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> dark_;  // 1 dark, 0 white
};

}  // namespace zv
