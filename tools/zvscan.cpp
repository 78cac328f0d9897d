// zvscan: reads scanned answer sheets with the layout of a program folder's
// question database and prints what each says.
//   zvscan --program-dir DIR IMAGE...
// Images: PNG, JPEG, TIFF, BMP, PGM/PPM at any resolution. Each found layout
// position is stored back into ScanItem. Exits 0 when every image was read,
// 1 when any failed, 2 for wrong arguments.
#include <iostream>
#include <string>
#include <vector>

#include "app/QuestionDb.h"
#include "records/ClientRecord.h"
#include "records/FileSystem.h"
#include "records/ZvError.h"
#include "sheets/SheetReader.h"
#include "sheets/qt/ScannedImage.h"

namespace {

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
  zv::DecodedImage decoded = zv::decodeScanImage(QString::fromStdString(path));
  bool ok = false;
  if (decoded.error) {
    std::cout << "error: " << decoded.reason.toStdString() << "\n";
  } else {
    try {
      const zv::SheetReading r = zv::ScanAnswerSheet(db, zv::pixelsOf(decoded.image));
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
