#pragma once
// Scanned pages in image files (PNG, JPEG, TIFF, BMP, PGM/PPM), decoded by
// Qt's readers, for zvscan and for scanning from a folder that a networked
// scanner fills.
#include <QImage>
#include <QString>

#include "sheets/Scanner.h"

namespace zv {

struct DecodedImage {
  QImage image;
  int error = 0;    // 20010 missing, 20014 cannot be opened, 20009 not an image, 20011 no width or height
  QString reason;   // the decoder's own words for a failure
};
DecodedImage decodeScanImage(const QString& path);

// The decoded pixels as they lie in memory (converting the image first when
// its kind is neither grey nor 8-bit colour), with the stored resolution or 0.
PixelBuffer pixelsOf(QImage& image);

// Pages from an image file chosen by the operator.
class ImageFileSource : public PageSource {
 public:
  explicit ImageFileSource(QString path) : path_(std::move(path)) {}
  Acquisition acquire(AcquireProgress& progress) override;
  bool slow() const override { return false; }

 private:
  QString path_;
};

}  // namespace zv
