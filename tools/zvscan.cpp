// zvscan: reads scanned answer sheets with the layout of a program folder's
// question database and prints what each says.
//   zvscan --program-dir DIR IMAGE...
// Images: PNG, JPEG, TIFF, BMP, PGM/PPM at any resolution. Each found layout
// position is stored back into ScanItem. Exits 0 when every image was read,
// 1 when any failed, 2 for wrong arguments.
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

// The lightness plane of a decoded image, with the resolution the file
// stores. Qt gives an image without one its own default resolution, which is
// then left out so the page width decides.
zv::GreyImage lightnessPlane(const QImage& decoded) {
  zv::GreyImage g;
  g.width = decoded.width();
  g.height = decoded.height();
  const int defaultDpm = QImage(1, 1, QImage::Format_Grayscale8).dotsPerMeterX();
  if (decoded.dotsPerMeterX() != defaultDpm || decoded.dotsPerMeterY() != defaultDpm) {
    g.dpiX = decoded.dotsPerMeterX() / kInchesPerMeter;
    g.dpiY = decoded.dotsPerMeterY() / kInchesPerMeter;
  }
  g.pixels.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
  const bool grey = decoded.isGrayscale();
  const QImage img = decoded.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
  std::uint8_t* out = g.pixels.data();
  for (int y = 0; y < g.height; ++y) {
    if (grey) {
      const uchar* line = img.constScanLine(y);
      out = std::copy(line, line + g.width, out);
      continue;
    }
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < g.width; ++x)
      *out++ = zv::lightnessOf(static_cast<std::uint8_t>(qRed(line[x])), static_cast<std::uint8_t>(qGreen(line[x])),
                               static_cast<std::uint8_t>(qBlue(line[x])));
  }
  return g;
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
  QImageReader reader(QString::fromStdString(path));
  const QImage decoded = reader.read();
  bool ok = false;
  if (decoded.isNull()) {
    std::cout << "error: " << reader.errorString().toStdString() << "\n";
  } else {
    try {
      const zv::SheetReading r = zv::ScanAnswerSheet(db, lightnessPlane(decoded));
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
