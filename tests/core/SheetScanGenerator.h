#pragma once
// Synthetic scans of the answer sheet: the blank sheet drawn from its design
// (black boxes, lines and text as stroke patterns, bubbles and letters in
// the light ink as a grey printer gives it), pencil marks, then the scan:
// turned about the paper's corner, shifted, blurred, with noise and stray dots.
// Also what the scanning tests share: SANE limited to its test backends, and
// one client's completed sheet.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "app/QuestionDb.h"
#include "sheets/SheetReader.h"
#include "sheets/qt/AnswerSheetPrint.h"
#include "tests/core/TestSupport.h"

namespace zv {

// Readings compare whole, and print field by field.
inline auto tied(const SheetFields& f) {
  return std::tie(f.SSN, f.Gender, f.Race, f.Marital, f.DateOfBirth, f.Age, f.Education, f.court, f.Responses,
                  f.MultipleMarks);
}
inline bool operator==(const SheetFields& a, const SheetFields& b) { return tied(a) == tied(b); }
inline void PrintTo(const SheetFields& f, std::ostream* os) { *os << ::testing::PrintToString(tied(f)); }

}  // namespace zv

namespace zvtest {

// Rows of the reading order (0 = first ScanItem row); item i is row kItemRow + i.
enum SheetRow {
  kIdRow = 0, kGenderRow = 9, kRaceRow = 10, kMaritalRow = 11, kDateRow = 12, kAgeRow = 18,
  kFirstArrestRow = 22, kCountRow = 26, kEmployedRow = 37, kItemRow = 38,
};

struct PencilMark {
  int row = 0;  // index into the layout
  int bubble = 0;
  double k = 170;     // black-plane darkness of the graphite
  double fill = 0.9;  // share of the bubble's area covered
  double offX = 0, offY = 0;  // off the bubble's centre, pixels
  bool erased = false;        // rubbed out: a faint smear and a few specks
};

struct ScanSetup {
  double dpi = 100;
  double skew = 0;  // degrees, positive turns the right side down
  double shiftX = 0, shiftY = 0;  // pixels at 100 px/in
  bool blur = false;
  double noise = 0;  // standard deviation of the lightness
  int strayDots = 0;
  unsigned seed = 1;
};

class SheetScanner {
 public:
  static constexpr double kPaper = 245, kBlack = 235, kBubbleRadius = zv::kBubbleRadius, kOutline = zv::kBubbleOutline;
  // The light ink as a grey printer prints it.
  static constexpr double kLightInk =
      255 - 0.3 * zv::kLightInkRgb[0] - 0.59 * zv::kLightInkRgb[1] - 0.11 * zv::kLightInkRgb[2];

  SheetScanner(const zv::SheetDesign& design, const ScanSetup& s)
      : design_(design), s_(s), scale_(s.dpi / 100.0), rng_(s.seed),
        img_{static_cast<int>(std::lround(8.5 * s.dpi)), static_cast<int>(std::lround(11 * s.dpi)), s.dpi, s.dpi, {}},
        ink_(static_cast<std::size_t>(img_.width * img_.height), 1.0f) {}

  // Pencilled over the drawn blank sheet, or over `printed`, one printed and
  // rasterised elsewhere at the setup's resolution.
  zv::GreyImage scan(const std::vector<PencilMark>& marks, const zv::GreyImage* printed = nullptr) {
    for (std::size_t i = 0; printed && i < ink_.size(); ++i) ink_[i] = std::min(1.0f, static_cast<float>(printed->pixels[i] / kPaper));
    if (!printed) printBlankSheet();
    std::uniform_real_distribution<double> x(0, 850), y(0, 1100);
    for (int i = 0; i < s_.strayDots; ++i) disc(x(rng_), y(rng_), 0.8, 0.8, 150);
    return pencilAndScan(marks);
  }

 private:
  std::pair<double, double> bubbleCentre(int row, int bubble) const {
    const zv::Point a = design_.anchor();
    const zv::Point p = zv::bubblePoints(design_.layout.at(static_cast<std::size_t>(row)), 0).at(static_cast<std::size_t>(bubble));
    return {a.x + p.x + zv::kBubbleSide / 2.0, a.y + p.y + zv::kBubbleSide / 2.0};
  }

  // Darkens each pixel by the share of its 3 x 3 samples inside the shape,
  // given in paper coordinates within (u0, v0)-(u1, v1).
  template <class Inside>
  void paint(double u0, double v0, double u1, double v1, double k, Inside inside, double texture = 0) {
    const double c = std::cos(s_.skew * M_PI / 180), sn = std::sin(s_.skew * M_PI / 180);
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    for (double u : {u0, u1})
      for (double v : {v0, v1}) {
        const double x = (u * c - v * sn + s_.shiftX) * scale_, y = (u * sn + v * c + s_.shiftY) * scale_;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
    std::uniform_real_distribution<double> grain(1 - texture, 1 + texture);
    for (int py = std::max(0, static_cast<int>(y0) - 1); py <= std::min(img_.height - 1, static_cast<int>(y1) + 1); ++py)
      for (int px = std::max(0, static_cast<int>(x0) - 1); px <= std::min(img_.width - 1, static_cast<int>(x1) + 1); ++px) {
        int hits = 0;
        for (int s = 0; s < 9; ++s) {
          const double x = (px + (s % 3 + 0.5) / 3) / scale_ - s_.shiftX, y = (py + (s / 3 + 0.5) / 3) / scale_ - s_.shiftY;
          hits += inside(x * c + y * sn, -x * sn + y * c);
        }
        if (hits == 0) continue;
        const double dark = std::min(255.0, k * (texture > 0 ? grain(rng_) : 1.0)) * hits / 9.0;
        ink_[static_cast<std::size_t>(py * img_.width + px)] *= static_cast<float>(1 - dark / 255);
      }
  }

  void rect(double u, double v, double w, double h, double k) {
    paint(u, v, u + w, v + h, k, [&](double x, double y) { return x >= u && x < u + w && y >= v && y < v + h; });
  }

  void disc(double cu, double cv, double ru, double rv, double k, double texture = 0) {
    paint(cu - ru, cv - rv, cu + ru, cv + rv, k,
          [&](double x, double y) { return (x - cu) * (x - cu) / (ru * ru) + (y - cv) * (y - cv) / (rv * rv) <= 1; },
          texture);
  }

  void printBlankSheet() {
    for (const auto& p : design_.print) {
      if (p.kind == "box" || p.kind == "line") rect(p.x, p.y, p.w, p.h, kBlack);
      if (p.kind == "frame")
        for (double e : {0.0, 1.0}) rect(p.x + e * (p.w - 0.8), p.y, 0.8, p.h, kBlack), rect(p.x, p.y + e * (p.h - 0.8), p.w, 0.8, kBlack);
      if (p.kind == "text")  // strokes a pixel wide, two apart, over the box's middle
        paint(p.x, p.y, p.x + p.w, p.y + p.h, kBlack, [&](double x, double y) {
          return x >= p.x && x < p.x + p.w && y >= p.y + p.h * 0.2 && y < p.y + p.h * 0.8 && static_cast<int>(x) % 3 == 0;
        });
    }
    for (std::size_t r = 0; r < design_.layout.size(); ++r) {
      const auto labels = design_.labelsOf(design_.layout[r].ID);
      for (std::size_t b = 0; b < labels.size(); ++b) {
        const auto [cu, cv] = bubbleCentre(static_cast<int>(r), static_cast<int>(b));
        paint(cu - 8, cv - 8, cu + 8, cv + 8, kLightInk,
              [&](double x, double y) { return std::abs(std::hypot(x - cu, y - cv) - kBubbleRadius) <= kOutline / 2; });
        if (!labels[b].empty())  // a letter: three thin strokes
          paint(cu - 2.5, cv - 3.5, cu + 2.5, cv + 3.5, kLightInk, [&](double x, double y) {
            return std::abs(y - cv) <= 3.5 && (std::abs(std::abs(x - cu) - 2) < 0.35 || std::abs(y - cv) < 0.35);
          });
      }
    }
  }

  zv::GreyImage pencilAndScan(const std::vector<PencilMark>& marks) {
    for (const PencilMark& m : marks) {
      auto [cu, cv] = bubbleCentre(m.row, m.bubble);
      cu += m.offX, cv += m.offY;
      const double r = kBubbleRadius * std::sqrt(m.fill);
      disc(cu, cv, m.erased ? r : r * 1.08, m.erased ? r : r / 1.08, m.erased ? m.k * 0.08 : m.k, m.erased ? 0.3 : 0.15);
      std::uniform_real_distribution<double> at(-0.7 * r, 0.7 * r);
      for (int i = 0; m.erased && i < 3; ++i) disc(cu + at(rng_), cv + at(rng_), 0.6, 0.6, m.k);
    }
    const int w = img_.width, h = img_.height;
    for (int pass = 0; s_.blur && pass < 2; ++pass) {  // [1 2 1] / 4 across, then down
      const std::vector<float> was = ink_;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const int a = pass ? std::max(y - 1, 0) * w + x : y * w + std::max(x - 1, 0);
          const int b = pass ? std::min(y + 1, h - 1) * w + x : y * w + std::min(x + 1, w - 1);
          ink_[static_cast<std::size_t>(y * w + x)] =
              (was[static_cast<std::size_t>(a)] + 2 * was[static_cast<std::size_t>(y * w + x)] + was[static_cast<std::size_t>(b)]) / 4;
        }
    }
    std::normal_distribution<double> noise(0, std::max(s_.noise, 1e-9));
    img_.pixels.resize(ink_.size());
    for (std::size_t i = 0; i < ink_.size(); ++i)
      img_.pixels[i] = static_cast<std::uint8_t>(std::clamp(std::lround(kPaper * ink_[i] + noise(rng_)), 0L, 255L));
    return img_;
  }

  const zv::SheetDesign& design_;
  ScanSetup s_;
  double scale_;
  std::mt19937 rng_;
  zv::GreyImage img_;
  std::vector<float> ink_;  // share of the paper's light left, 1 = untouched
};

inline const zv::SheetDesign& bundledDesign() {
  static const zv::SheetDesign design =
      zv::LoadSheetDesign(zv::Workspace::standard("zv.ini").OpenDatabase(std::string(ZV_PROGRAM_DIR) + "/ZV.db"));
  return design;
}

// Firm marks for the digits of a text from `row` on, one field each; a blank leaves its field unmarked.
inline std::vector<PencilMark> markDigits(int row, const std::string& digits, std::vector<PencilMark> marks = {}) {
  for (char d : digits) {
    if (d != ' ') marks.push_back({row, d - '0'});
    ++row;
  }
  return marks;
}

inline void writePgm(const std::string& path, const zv::GreyImage& g) {
  std::ofstream out(path, std::ios::binary);
  out << "P5\n" << g.width << " " << g.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(g.pixels.data()), static_cast<std::streamsize>(g.pixels.size()));
}

inline zv::SheetReading readScan(const std::vector<PencilMark>& marks, const ScanSetup& setup = {}) {
  return zv::ReadSheetPage(zv::PageImage::load(SheetScanner(bundledDesign(), setup).scan(marks)), bundledDesign().layout);
}

// What a sheet with no mark reads.
inline zv::SheetFields blankSheetFields() {
  zv::SheetFields f{"N", "N", "N", "N", "NN/NN/NNNN", "N", "N", {}, std::string(162, '0'), {}};
  f.court.fill("N");
  return f;
}

// SANE with the backends pnm (reads an image file) and test (draws pictures)
// only, for the rest of the process.
inline void useTestScanners() {
  static const TempDir dir;
  [[maybe_unused]] static const bool once = [] {
    std::ofstream(dir.file("dll.conf")) << "pnm\ntest\n";
    return ::setenv("SANE_CONFIG_DIR", dir.path().c_str(), 1) == 0;
  }();
}

// One client's completed answer sheet with the fields reading it must give.
struct FilledSheet {
  std::vector<PencilMark> marks;
  zv::SheetFields fields;  // what reading the sheet gives
};

// ID 123456789, male, Hispanic, married, born 04/23/1961, age 45, 12 years
// of school, a court history with one blank, every item answered.
inline FilledSheet filledSheet() {
  FilledSheet s{{}, {"123456789", "1", "3", "2", "04/23/1961", "45", "12",
                     {"18", "20", "3", "2", "1", "0", "N", "9", "4", "1", "2", "10", "5", "07"}, "", {}}};
  zv::SheetFields& f = s.fields;
  s.marks = markDigits(kAgeRow, "4512", markDigits(kDateRow, "042361", markDigits(kIdRow, "123456789")));
  s.marks.insert(s.marks.end(), {{kGenderRow, 0}, {kRaceRow, 2}, {kMaritalRow, 1}});
  s.marks = markDigits(kEmployedRow, "07", markDigits(kFirstArrestRow, "1820", s.marks));
  for (std::size_t k = 2; k <= 12; ++k)
    if (f.court[k] != "N") s.marks.push_back({kCountRow + static_cast<int>(k) - 2, std::stoi(f.court[k])});
  for (int item = 1; item <= 162; ++item) {
    const int bubble = (item * 7) % bundledDesign().layout[static_cast<std::size_t>(kItemRow + item)].dimx;
    s.marks.push_back({kItemRow + item, bubble});
    f.Responses += static_cast<char>('1' + bubble);
  }
  return s;
}

inline zv::GreyImage filledScan(const FilledSheet& s, double dpi = 100) {
  return SheetScanner(bundledDesign(), ScanSetup{.dpi = dpi, .skew = 0.4, .noise = 2}).scan(s.marks);
}

}  // namespace zvtest
