#pragma once
// Where a scanned page comes from: a scanner or an image file, behind one
// small interface so that the scanning screens never know which. A source
// runs off the screen thread while the progress dialog shows; it reports how
// far it got and stops when asked to. Failures are the imaging error numbers
// the operator is shown ("Error '20084, Twain DS or DSM reported error, app
// shouldn't.").
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "sheets/PageImage.h"

namespace zv {

// The error numbers a source reports.
enum ScanError : int {
  kScanWriteError = 20005,      // Raw.bmp or Scan.bmp could not be written
  kScanBadFormat = 20009,       // not an image
  kScanFileNotFound = 20010,
  kScanBadSize = 20011,         // zero width or height
  kScanCannotOpen = 20014,
  kScanNoSourceManager = 20079,  // the scanner library cannot start
  kScanCancelled = 20080,
  kScanNoMemory = 20081,
  kScanNoDevice = 20082,
  kScanDeviceBusy = 20083,
  kScanDeviceFailed = 20084,     // jammed, no paper, cover open, I/O error, denied, page ended early
  kScanUnsupported = 20085,
  kScanValueRefused = 20087,
};

// The text of an error number; "" for a number without one.
std::string scanErrorText(int number);
// "Error '" number ", " text "." under the title "Twain Error".
std::string scanErrorMessage(int number);
inline constexpr const char* kScanErrorTitle = "Twain Error";

// The ScanDevice setting that takes pages from image files (any case).
inline constexpr const char* kImageFileDevice = "file";
bool isImageFileDevice(const std::string& device);

// One page as delivered: grey (1 byte a pixel) or RGB (3), rows top down.
struct AcquiredPage {
  std::vector<std::uint8_t> pixels;
  int width = 0;
  int height = 0;
  int bytesPerPixel = 1;
  double dpiX = 0, dpiY = 0;  // 0: unknown, the page is then taken as 8.5 in wide

  PixelBuffer buffer() const {
    return {pixels.data(), width, height, static_cast<std::ptrdiff_t>(width) * bytesPerPixel, bytesPerPixel, 0, dpiX, dpiY};
  }
};

struct Acquisition {
  int error = 0;  // 0: the page is there
  AcquiredPage page;
};

// Shared between the acquiring thread and the screen: how far the page has
// come, and the operator's wish to stop.
class AcquireProgress {
 public:
  void cancel() { cancelled_ = true; }
  bool cancelled() const { return cancelled_; }
  // Thousandths of the page read; -1 while the length of the page is unknown.
  void report(int permille) { permille_ = permille; }
  int permille() const { return permille_; }

 private:
  std::atomic<bool> cancelled_{false};
  std::atomic<int> permille_{0};
};

class PageSource {
 public:
  virtual ~PageSource() = default;
  // One page, or the error number of what stopped it. Touches no screen.
  virtual Acquisition acquire(AcquireProgress& progress) = 0;
  // Whether acquiring takes long enough to want the progress dialog.
  virtual bool slow() const { return true; }
};

}  // namespace zv
