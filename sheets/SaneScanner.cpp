#include "sheets/SaneScanner.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "records/ClientRecord.h"

namespace zv {
namespace {

constexpr double kSheetWidthMm = 215.9, kSheetHeightMm = 355.6;  // 8.5 x 14 in
constexpr double kWantedDpi = 100;
constexpr std::size_t kMaxPageBytes = std::size_t{1} << 30;  // far beyond any legal-size page
constexpr std::size_t kReadChunk = 64 * 1024;

int errorOf(SANE_Status s) { return saneStatusError(s); }

// The library for the length of one operation.
class SaneLibrary {
 public:
  SaneLibrary() {
    SANE_Int version = 0;
    ok_ = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
  }
  ~SaneLibrary() {
    if (ok_) sane_exit();
  }
  SaneLibrary(const SaneLibrary&) = delete;
  SaneLibrary& operator=(const SaneLibrary&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// An open device; a started scan is cancelled (ended) before it is closed.
class SaneDeviceHandle {
 public:
  explicit SaneDeviceHandle(SANE_Handle h) : h_(h) {}
  ~SaneDeviceHandle() {
    if (started) sane_cancel(h_);
    sane_close(h_);
  }
  SaneDeviceHandle(const SaneDeviceHandle&) = delete;
  SaneDeviceHandle& operator=(const SaneDeviceHandle&) = delete;
  SANE_Handle get() const { return h_; }
  bool started = false;

 private:
  SANE_Handle h_;
};

double toDouble(const SANE_Option_Descriptor& d, SANE_Word w) {
  return d.type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : static_cast<double>(w);
}
// Values beyond what a word holds are held at its ends.
SANE_Word toWord(const SANE_Option_Descriptor& d, double v) {
  if (d.type == SANE_TYPE_FIXED) return SANE_FIX(std::clamp(v, -32767.0, 32767.0));
  return static_cast<SANE_Word>(std::lround(std::clamp(v, -2147483647.0, 2147483647.0)));
}

// The value nearest `wanted` that the option allows (the larger of two equally near).
double allowedNearest(const SANE_Option_Descriptor& d, double wanted) {
  if (d.constraint_type == SANE_CONSTRAINT_RANGE && d.constraint.range) {
    const SANE_Range& r = *d.constraint.range;
    const double lo = toDouble(d, r.min), hi = toDouble(d, r.max), q = toDouble(d, r.quant);
    double v = std::clamp(wanted, lo, hi);
    if (q > 0) {
      v = lo + std::round((v - lo) / q) * q;
      if (v > hi) v -= q;
    }
    return v;
  }
  if (d.constraint_type == SANE_CONSTRAINT_WORD_LIST && d.constraint.word_list && d.constraint.word_list[0] > 0) {
    double best = toDouble(d, d.constraint.word_list[1]);
    for (SANE_Int i = 2; i <= d.constraint.word_list[0]; ++i) {
      const double v = toDouble(d, d.constraint.word_list[i]);
      const double gap = std::abs(v - wanted), bestGap = std::abs(best - wanted);
      if (gap < bestGap || (gap == bestGap && v > best)) best = v;
    }
    return best;
  }
  return wanted;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The options of an open device, found by name.
class DeviceOptions {
 public:
  explicit DeviceOptions(SANE_Handle h) : h_(h) {}

  // The option's index and descriptor; index -1 when the device has none by that name.
  std::pair<int, const SANE_Option_Descriptor*> find(const std::string& name) const {
    SANE_Int count = 0;
    if (sane_control_option(h_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD) return {-1, nullptr};
    for (SANE_Int i = 1; i < count; ++i) {
      const SANE_Option_Descriptor* d = sane_get_option_descriptor(h_, i);
      if (d && d->name && name == d->name) return {i, d};
    }
    return {-1, nullptr};
  }

  // The value of a one-word number option; 0 when the device has none.
  double number(const char* name) const {
    const auto [i, d] = find(name);
    SANE_Word w = 0;
    if (i < 0 || !SANE_OPTION_IS_ACTIVE(d->cap) || (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED) ||
        d->size != static_cast<SANE_Int>(sizeof(SANE_Word)) ||
        sane_control_option(h_, i, SANE_ACTION_GET_VALUE, &w, nullptr) != SANE_STATUS_GOOD)
      return 0;
    return toDouble(*d, w);
  }

  // A one-word number option where the device offers it settable; 0 when it has none.
  int setNumber(const char* name, double wanted, double* actual = nullptr) {
    const auto [i, d] = find(name);
    if (i < 0 || !usable(*d) || (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED) ||
        d->size != static_cast<SANE_Int>(sizeof(SANE_Word)))
      return 0;
    SANE_Word w = toWord(*d, allowedNearest(*d, wanted));
    if (const int e = errorOf(sane_control_option(h_, i, SANE_ACTION_SET_VALUE, &w, nullptr))) return e;
    if (actual && sane_control_option(h_, i, SANE_ACTION_GET_VALUE, &w, nullptr) == SANE_STATUS_GOOD)
      *actual = toDouble(*d, w);
    return 0;
  }

  // Grey pages where the device offers them; otherwise the mode stays as it is.
  int setGreyMode() {
    const auto [i, d] = find(SANE_NAME_SCAN_MODE);
    if (i < 0 || !usable(*d) || d->type != SANE_TYPE_STRING || d->constraint_type != SANE_CONSTRAINT_STRING_LIST) return 0;
    std::optional<std::string> grey;
    for (const SANE_String_Const* s = d->constraint.string_list; s && *s; ++s) {
      const std::string mode = *s, l = lower(mode);
      if (mode == SANE_VALUE_SCAN_MODE_GRAY) grey = mode;
      else if (!grey && (l.find("gray") != std::string::npos || l.find("grey") != std::string::npos)) grey = mode;
    }
    return grey ? setString(i, *d, *grey) : 0;
  }

  // The area of a legal-size sheet from the device's corner, clipped to its bed.
  int setSheetArea(double dpi) {
    double left = 0, top = 0;
    if (const int e = setLength(SANE_NAME_SCAN_TL_X, 0, dpi, &left)) return e;
    if (const int e = setLength(SANE_NAME_SCAN_TL_Y, 0, dpi, &top)) return e;
    if (const int e = setLength(SANE_NAME_SCAN_BR_X, left + kSheetWidthMm, dpi)) return e;
    return setLength(SANE_NAME_SCAN_BR_Y, top + kSheetHeightMm, dpi);
  }

  // An office's own option, as written in ScanOptions.
  int apply(const ScanOption& o) {
    const auto [i, d] = find(o.name);
    if (i < 0 || d->type == SANE_TYPE_GROUP) return kScanUnsupported;
    if (!usable(*d)) return kScanValueRefused;
    const std::string v = lower(o.value);
    switch (d->type) {
      case SANE_TYPE_BOOL: {
        SANE_Bool b = SANE_TRUE;
        if (o.hasValue && (v == "no" || v == "false" || v == "off" || v == "0")) b = SANE_FALSE;
        else if (o.hasValue && !(v == "yes" || v == "true" || v == "on" || v == "1")) return kScanValueRefused;
        return errorOf(sane_control_option(h_, i, SANE_ACTION_SET_VALUE, &b, nullptr));
      }
      case SANE_TYPE_INT:
      case SANE_TYPE_FIXED: {
        char* end = nullptr;
        const double number = std::strtod(o.value.c_str(), &end);
        if (!o.hasValue || o.value.empty() || *end != '\0' || !std::isfinite(number) ||
            (d->type == SANE_TYPE_INT && number != std::trunc(number)))
          return kScanValueRefused;
        // An array option gets the value in every element.
        std::vector<SANE_Word> words(std::max<std::size_t>(1, static_cast<std::size_t>(d->size) / sizeof(SANE_Word)),
                                     toWord(*d, number));
        return errorOf(sane_control_option(h_, i, SANE_ACTION_SET_VALUE, words.data(), nullptr));
      }
      case SANE_TYPE_STRING:
        return o.hasValue ? setString(i, *d, o.value) : kScanValueRefused;
      case SANE_TYPE_BUTTON:
        return errorOf(sane_control_option(h_, i, SANE_ACTION_SET_VALUE, nullptr, nullptr));
      default:
        return kScanUnsupported;
    }
  }

 private:
  static bool usable(const SANE_Option_Descriptor& d) { return SANE_OPTION_IS_ACTIVE(d.cap) && SANE_OPTION_IS_SETTABLE(d.cap); }

  int setString(int i, const SANE_Option_Descriptor& d, const std::string& value) {
    if (d.size <= 0 || value.size() + 1 > static_cast<std::size_t>(d.size)) return kScanValueRefused;
    std::vector<char> buffer(static_cast<std::size_t>(d.size), '\0');
    std::memcpy(buffer.data(), value.data(), value.size());
    return errorOf(sane_control_option(h_, i, SANE_ACTION_SET_VALUE, buffer.data(), nullptr));
  }

  // A length in millimetres, or in pixels at `dpi` for a device that counts so.
  int setLength(const char* name, double mm, double dpi, double* actualMm = nullptr) {
    const auto [i, d] = find(name);
    if (i < 0) return 0;
    const bool pixels = d->unit == SANE_UNIT_PIXEL;
    if ((!pixels && d->unit != SANE_UNIT_MM) || (pixels && dpi <= 0)) return 0;
    const double scale = pixels ? dpi / 25.4 : 1;
    double actual = mm * scale;
    if (const int e = setNumber(name, mm * scale, &actual)) return e;
    if (actualMm) *actualMm = actual / scale;
    return 0;
  }

  SANE_Handle h_;
};

// One frame's rows as 8-bit samples: 16-bit samples keep their high byte;
// a 1-bit grey sample is black when set, a 1-bit colour sample full when set.
void toSamples(const std::uint8_t* row, const SANE_Parameters& p, int channels, std::uint8_t* out) {
  const int n = p.pixels_per_line * channels;
  if (p.depth == 8) {
    std::memcpy(out, row, static_cast<std::size_t>(n));
  } else if (p.depth == 16) {
    for (int i = 0; i < n; ++i) {
      std::uint16_t v = 0;
      std::memcpy(&v, row + 2 * i, 2);
      out[i] = static_cast<std::uint8_t>(v >> 8);
    }
  } else {
    const bool grey = p.format == SANE_FRAME_GRAY;
    for (int i = 0; i < n; ++i) {
      const bool set = (row[i / 8] >> (7 - i % 8)) & 1;
      out[i] = set == grey ? 0 : 255;
    }
  }
}

struct Frame {
  SANE_Parameters p{};
  int lines = 0;
  std::vector<std::uint8_t> samples;  // lines x pixels_per_line x channels
};

// Reads one started frame to its end.
int readFrame(SANE_Handle h, const SANE_Parameters& p, int frame, int frames, AcquireProgress& progress, Frame& out) {
  const int channels = p.format == SANE_FRAME_RGB ? 3 : 1;
  if (p.format > SANE_FRAME_BLUE || (p.depth != 1 && p.depth != 8 && p.depth != 16)) return kScanUnsupported;
  const long long rowBits = static_cast<long long>(p.pixels_per_line) * channels * p.depth;
  if (p.pixels_per_line <= 0 || p.bytes_per_line <= 0 || static_cast<long long>(p.bytes_per_line) * 8 < rowBits)
    return kScanDeviceFailed;
  const std::size_t bpl = static_cast<std::size_t>(p.bytes_per_line);
  const bool known = p.lines >= 0;
  const std::size_t expected = known ? bpl * static_cast<std::size_t>(p.lines) : 0;
  if (expected > kMaxPageBytes) return kScanNoMemory;
  std::vector<std::uint8_t> raw;
  raw.reserve(expected);
  std::vector<std::uint8_t> chunk(kReadChunk);
  for (;;) {
    if (progress.cancelled()) return kScanCancelled;
    SANE_Int len = 0;
    const SANE_Status s = sane_read(h, chunk.data(), static_cast<SANE_Int>(chunk.size()), &len);
    if (s == SANE_STATUS_EOF) break;
    if (s != SANE_STATUS_GOOD) return errorOf(s);
    if (len < 0 || static_cast<std::size_t>(len) > chunk.size()) return kScanDeviceFailed;
    if (raw.size() + static_cast<std::size_t>(len) > (known ? expected : kMaxPageBytes))
      return known ? kScanDeviceFailed : kScanNoMemory;
    raw.insert(raw.end(), chunk.begin(), chunk.begin() + len);
    progress.report(known && expected ? static_cast<int>((frame * 1000LL + 1000LL * raw.size() / expected) / frames) : -1);
  }
  if (known && raw.size() < expected) return kScanDeviceFailed;  // the page ended early
  out.p = p;
  out.lines = static_cast<int>(raw.size() / bpl);  // a device that did not know the length: whole rows only
  const std::size_t rowSamples = static_cast<std::size_t>(p.pixels_per_line) * static_cast<std::size_t>(channels);
  out.samples.resize(rowSamples * static_cast<std::size_t>(out.lines));
  for (int y = 0; y < out.lines; ++y)
    toSamples(raw.data() + bpl * static_cast<std::size_t>(y), p, channels, out.samples.data() + rowSamples * static_cast<std::size_t>(y));
  return 0;
}

// Grey or colour in one frame, or colour as red, green and blue frames.
int readPage(SaneDeviceHandle& dev, AcquireProgress& progress, AcquiredPage& page) {
  std::array<std::optional<Frame>, 3> planes;
  for (int frame = 0;; ++frame) {
    if (progress.cancelled()) return kScanCancelled;
    if (const int e = errorOf(sane_start(dev.get()))) return e;
    dev.started = true;
    SANE_Parameters p{};
    if (const int e = errorOf(sane_get_parameters(dev.get(), &p))) return e;
    const bool separate = p.format == SANE_FRAME_RED || p.format == SANE_FRAME_GREEN || p.format == SANE_FRAME_BLUE;
    Frame f;
    if (const int e = readFrame(dev.get(), p, frame, separate ? 3 : 1, progress, f)) return e;
    if (!separate) {
      page.width = p.pixels_per_line;
      page.height = f.lines;
      page.bytesPerPixel = p.format == SANE_FRAME_RGB ? 3 : 1;
      page.pixels = std::move(f.samples);
      return 0;
    }
    planes[static_cast<std::size_t>(p.format - SANE_FRAME_RED)] = std::move(f);
    if (p.last_frame || frame >= 2) break;
  }
  for (const auto& plane : planes)
    if (!plane || plane->p.pixels_per_line != planes[0]->p.pixels_per_line || plane->lines != planes[0]->lines)
      return kScanDeviceFailed;
  page.width = planes[0]->p.pixels_per_line;
  page.height = planes[0]->lines;
  page.bytesPerPixel = 3;
  page.pixels.resize(planes[0]->samples.size() * 3);
  for (std::size_t i = 0; i < planes[0]->samples.size(); ++i)
    for (std::size_t c = 0; c < 3; ++c) page.pixels[i * 3 + c] = planes[c]->samples[i];
  return 0;
}

}  // namespace

int saneStatusError(int status) {
  switch (status) {
    case SANE_STATUS_GOOD:
      return 0;
    case SANE_STATUS_CANCELLED:
      return kScanCancelled;
    case SANE_STATUS_DEVICE_BUSY:
      return kScanDeviceBusy;
    case SANE_STATUS_NO_MEM:
      return kScanNoMemory;
    case SANE_STATUS_INVAL:
      return kScanValueRefused;
    case SANE_STATUS_UNSUPPORTED:
      return kScanUnsupported;
    default:  // jammed, no documents, cover open, I/O error, access denied, an early end
      return kScanDeviceFailed;
  }
}

std::vector<ScanOption> parseScanOptions(const std::string& text) {
  std::vector<ScanOption> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(';', start), text.size());
    const std::string entry = text.substr(start, end - start);
    start = end + 1;
    const std::size_t eq = entry.find('=');
    ScanOption o;
    o.name = trimBlanks(entry.substr(0, eq));
    if (eq != std::string::npos) o.value = trimBlanks(entry.substr(eq + 1)), o.hasValue = true;
    if (!o.name.empty()) out.push_back(std::move(o));
  }
  return out;
}

SaneDeviceList listSaneDevices() {
  SaneDeviceList out;
  SaneLibrary sane;
  if (!sane.ok()) {
    out.error = kScanNoSourceManager;
    return out;
  }
  const SANE_Device** list = nullptr;
  if (const int e = errorOf(sane_get_devices(&list, SANE_FALSE))) {
    out.error = e;
    return out;
  }
  auto text = [](SANE_String_Const s) { return std::string(s ? s : ""); };
  for (; list && *list; ++list) out.devices.push_back({text((*list)->name), text((*list)->vendor), text((*list)->model), text((*list)->type)});
  return out;
}

Acquisition SanePageSource::acquire(AcquireProgress& progress) {
  Acquisition a;
  SaneLibrary sane;
  if (!sane.ok()) return {kScanNoSourceManager, {}};
  std::string name = device_;
  if (name.empty()) {
    const SANE_Device** list = nullptr;
    if (sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list || !list[0] || !list[0]->name)
      return {kScanNoDevice, {}};
    name = list[0]->name;
  }
  SANE_Handle h = nullptr;
  const SANE_Status opened = sane_open(name.c_str(), &h);
  if (opened == SANE_STATUS_INVAL) return {kScanNoDevice, {}};  // no such device
  if (opened != SANE_STATUS_GOOD) return {errorOf(opened), {}};
  SaneDeviceHandle dev(h);
  DeviceOptions options(h);
  int e = options.setNumber(SANE_NAME_SCAN_RESOLUTION, kWantedDpi);
  if (!e) e = options.setGreyMode();
  if (!e) e = options.setSheetArea(options.number(SANE_NAME_SCAN_RESOLUTION));
  for (const ScanOption& o : parseScanOptions(options_))
    if (!e) e = options.apply(o);
  // The resolution in force, whatever the office's options made of it.
  a.page.dpiX = a.page.dpiY = options.number(SANE_NAME_SCAN_RESOLUTION);
  if (!e) e = readPage(dev, progress, a.page);
  if (e) return {e, {}};
  return a;
}

}  // namespace zv
