#pragma once
// Scanning through SANE. One acquisition opens the library, the device and
// the page, and closes them again before it returns:
//   the device named in zv.ini (or the first SANE lists), resolution 100 dpi
//   (or the nearest offered; the page is resampled later), mode "Gray",
//   the scan area 215.9 x 355.6 mm from the corner clipped to the device,
//   then the office's own options ("source=ADF Front;..."), then the page
//   in one or three frames, of known or unknown length.
// SANE's statuses become the imaging error numbers of sheets/Scanner.h.
#include <string>
#include <vector>

#include "sheets/Scanner.h"

namespace zv {

struct SaneDevice {
  std::string name, vendor, model, type;
};

struct SaneDeviceList {
  int error = 0;  // the library could not start
  std::vector<SaneDevice> devices;
};

// The error number of a SANE status (SANE_Status); 0 for SANE_STATUS_GOOD.
int saneStatusError(int status);

// Every device SANE finds, local and networked.
SaneDeviceList listSaneDevices();

// "name=value;name=value": blanks around names and values dropped, empty
// entries skipped; an entry without "=" has no value (a button, or a switch
// turned on).
struct ScanOption {
  std::string name, value;
  bool hasValue = false;
};
std::vector<ScanOption> parseScanOptions(const std::string& text);

class SanePageSource : public PageSource {
 public:
  // An empty device name takes the first device SANE lists.
  SanePageSource(std::string device, std::string options) : device_(std::move(device)), options_(std::move(options)) {}
  Acquisition acquire(AcquireProgress& progress) override;

 private:
  std::string device_;
  std::string options_;
};

}  // namespace zv
