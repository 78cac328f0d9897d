#include "sheets/qt/ScannedImage.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstring>

namespace zv {
namespace {

constexpr double kInchesPerMeter = 39.37007874;

// The reader for a file's format, told by its first bytes so that Qt loads
// no other image plugin; anything else is left to Qt to recognise.
QByteArray formatOf(QFile& f) {
  const QByteArray head = f.read(4);
  if (head.startsWith("\x89PNG")) return "png";
  if (head.startsWith("\xff\xd8")) return "jpeg";
  if (head.startsWith("II*") || head.startsWith("MM\x00*")) return "tiff";
  if (head.startsWith("BM")) return "bmp";
  if (head.size() >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6') return head[1] == '3' || head[1] == '6' ? "ppm" : "pgm";
  return {};
}

qint64 number(const QByteArray& b, int at, bool bigEndian) {
  qint64 v = 0;
  for (int i = 0; i < 4; ++i) v |= qint64(static_cast<quint8>(b[at + (bigEndian ? 3 - i : i)])) << (8 * i);
  return v;
}

// Whether a file's header declares no width or no height, for the formats
// that can say so (the decoders only fail on it).
bool declaresEmpty(const QByteArray& format, const QByteArray& head) {
  if (format == "png" && head.size() >= 24) return number(head, 16, true) == 0 || number(head, 20, true) == 0;
  if (format == "bmp" && head.size() >= 26) return number(head, 18, false) == 0 || number(head, 22, false) == 0;
  if (format != "pgm" && format != "ppm") return false;
  // After the magic: width and height as decimal words, "#" comments to the line's end.
  QList<QByteArray> words;
  for (const QByteArray& line : head.mid(2).split('\n')) {
    const int comment = line.indexOf('#');
    for (const QByteArray& w : (comment < 0 ? line : line.left(comment)).simplified().split(' '))
      if (!w.isEmpty()) words << w;
  }
  const auto zero = [](const QByteArray& w) {
    bool ok = false;
    return w.toLongLong(&ok) == 0 && ok;
  };
  return words.size() >= 2 && (zero(words[0]) || zero(words[1]));
}

}  // namespace

DecodedImage decodeScanImage(const QString& path) {
  DecodedImage d;
  const QFileInfo info(path);
  QFile file(path);
  if (!info.exists()) {
    d.error = kScanFileNotFound, d.reason = "File not found";
  } else if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
    d.error = kScanCannotOpen, d.reason = file.errorString();
  }
  if (d.error) return d;
  const QByteArray format = formatOf(file);
  file.seek(0);
  if (declaresEmpty(format, file.peek(256))) {
    d.error = kScanBadSize, d.reason = "Invalid width/height";
    return d;
  }
  QImageReader reader(&file, format);
  reader.setAutoDetectImageFormat(format.isEmpty());
  d.image = reader.read();
  if (d.image.isNull()) d.error = kScanBadFormat, d.reason = reader.errorString();
  return d;
}

PixelBuffer pixelsOf(QImage& img) {
  switch (img.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB888:
      break;
    default:
      img.convertTo(img.allGray() ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  }
  PixelBuffer b;
  b.data = img.constBits();
  b.width = img.width();
  b.height = img.height();
  b.stride = img.bytesPerLine();
  b.bytesPerPixel = img.depth() / 8;
  // 0xAARRGGBB words: the colour bytes follow the alpha byte when the most significant byte comes first.
  b.firstColour = b.bytesPerPixel == 4 && QSysInfo::ByteOrder == QSysInfo::BigEndian ? 1 : 0;
  // Qt gives an image without a stored resolution its own default, which is
  // left out so that the page width decides.
  const int defaultDpm = QImage(1, 1, QImage::Format_Grayscale8).dotsPerMeterX();
  if (img.dotsPerMeterX() != defaultDpm || img.dotsPerMeterY() != defaultDpm) {
    b.dpiX = img.dotsPerMeterX() / kInchesPerMeter;
    b.dpiY = img.dotsPerMeterY() / kInchesPerMeter;
  }
  return b;
}

Acquisition ImageFileSource::acquire(AcquireProgress& progress) {
  progress.report(-1);
  DecodedImage d = decodeScanImage(path_);
  if (d.error) return {d.error, {}};
  const PixelBuffer b = pixelsOf(d.image);
  // The page's lightness is what the reading takes; a grey copy keeps it whole.
  Acquisition a;
  AcquiredPage& page = a.page;
  page.width = b.width, page.height = b.height, page.dpiX = b.dpiX, page.dpiY = b.dpiY;
  if (b.bytesPerPixel == 1) {
    page.bytesPerPixel = 1;
    page.pixels.resize(static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height));
    for (int y = 0; y < b.height; ++y)
      std::memcpy(page.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width),
                  b.data + static_cast<std::ptrdiff_t>(y) * b.stride, static_cast<std::size_t>(b.width));
  } else {
    d.image.convertTo(QImage::Format_RGB888);
    page.bytesPerPixel = 3;
    page.pixels.resize(static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height) * 3);
    for (int y = 0; y < b.height; ++y)
      std::memcpy(page.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(b.width) * 3,
                  d.image.constScanLine(y), static_cast<std::size_t>(b.width) * 3);
  }
  progress.report(1000);
  return a;
}

}  // namespace zv
