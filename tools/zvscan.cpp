// zvscan: reads scanned answer sheets with the layout of a program folder's
// question database and prints what each says.
//   zvscan --program-dir DIR IMAGE...
// Images: PNG, JPEG, TIFF, BMP, PGM/PPM at any resolution. Each found layout
// position is stored back into ScanItem. Exits 0 when every image was read,
// 1 when any failed, 2 for wrong arguments.
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <iostream>
#include <string>
#include <vector>

#include "app/QuestionDb.h"
#include "records/ClientRecord.h"
#include "records/FileSystem.h"
#include "records/ZvError.h"
#include "sheets/SheetReader.h"

namespace {

constexpr double kInchesPerMeter = 39.37007874;

// The reader for a file's format, told by its first bytes so that Qt loads
// no other image plugin; anything else is left to Qt to recognise.
QByteArray formatOf(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray head = f.read(4);
  if (head.startsWith("\x89PNG")) return "png";
  if (head.startsWith("\xff\xd8")) return "jpeg";
  if (head.startsWith("II*") || head.startsWith("MM\x00*")) return "tiff";
  if (head.startsWith("BM")) return "bmp";
  if (head.size() >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '6') return head[1] == '3' || head[1] == '6' ? "ppm" : "pgm";
  return {};
}

// The decoded pixels as they lie in memory: grey, or colour with the three
// colour bytes of a pixel together; other kinds are converted first.
zv::PixelBuffer pixelsOf(QImage& img) {
  switch (img.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB888:
      break;
    default:
      img.convertTo(img.allGray() ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  }
  zv::PixelBuffer b;
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

void printFields(const zv::SheetFields& f) {
  std::cout << "SSN: " << f.SSN << "\nGender: " << f.Gender << "\nRace: " << f.Race << "\nMarital: " << f.Marital
            << "\nDateOfBirth: " << f.DateOfBirth << "\nAge: " << f.Age << "\nEducation: " << f.Education << "\n";
  for (std::size_t k = 0; k < f.court.size(); ++k) std::cout << zv::kCourtFieldNames[k] << ": " << f.court[k] << "\n";
  std::cout << "Responses: " << f.Responses << "\nMultipleMarks: " << f.MultipleMarks.size() << "\n";
  for (const auto& m : f.MultipleMarks) std::cout << "  " << zv::trimBlanks(m) << "\n";
}

// One block; false when the image could not be read.
bool scanOne(zv::Database& db, const std::string& path) {
  std::cout << "file: " << path << "\n";
  const QString file = QString::fromStdString(path);
  QImageReader reader(file, formatOf(file));
  reader.setAutoDetectImageFormat(reader.format().isEmpty());
  QImage decoded = reader.read();
  bool ok = false;
  if (decoded.isNull()) {
    std::cout << "error: " << reader.errorString().toStdString() << "\n";
  } else {
    try {
      const zv::SheetReading r = zv::ScanAnswerSheet(db, pixelsOf(decoded));
      ok = r.outcome == zv::SheetOutcome::Read;
      if (ok) printFields(r.fields);
      else std::cout << "error: " << zv::outcomeText(r.outcome) << "\n";
    } catch (const zv::ZvError& e) {
      std::cout << "error: " << e.what() << "\n";
    }
  }
  std::cout << "\n";
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 3 || args[0] != "--program-dir") {
    std::cerr << "usage: zvscan --program-dir DIR IMAGE...\n";
    return 2;
  }
  const std::string& programDir = args[1];
  try {
    zv::Database db = zv::Workspace::standard(zv::joinPath(programDir, "zv.ini"))
                          .OpenDatabase(zv::joinPath(programDir, "ZV.db"), false, true);
    bool allRead = true;
    for (std::size_t i = 2; i < args.size(); ++i) allRead = scanOne(db, args[i]) && allRead;
    return allRead ? 0 : 1;
  } catch (const zv::ZvError& e) {
    std::cerr << "zvscan: " << e.what() << (e.path().empty() ? "" : ": " + e.path()) << "\n";
    return 1;
  }
}
