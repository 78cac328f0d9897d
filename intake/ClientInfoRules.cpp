#include "intake/ClientInfoRules.h"

#include <algorithm>

#include "intake/FieldText.h"
#include "records/ClientFile.h"
#include "records/ClientSlot.h"
#include "ui/Prompter.h"

namespace zv {
namespace {

struct FieldText {
  const char* label;
  const char* help;
  int maxLength;
  const char* error;
};

constexpr std::array<FieldText, kInfoFieldCount> kFields = {{
    {"Defendant Name:", "Type client's name (up to 25 characters) or N for not available, then press Enter.", 25,
     "Enter client's name. Press Enter to continue."},
    {"ID Number:", "Type ID Number or N for not available, then press Enter.", 11, ""},
    {"Age:", "Type age in years or N for not available, then press Enter.", 2,
     "Enter age of client in number of years. Press Enter to continue."},
    {"Marital Status:",
     "Use up or down arrow keys to select marital status or N for not available, then press Enter.", 0,
     "Press down arrow key to select marital status. Press Enter to continue."},
    {"Ethnicity/Race:",
     "Use up or down arrow keys to select ethnicity/race or N for not available, then press Enter.", 0,
     "Press down arrow to select ethnicity. Press Enter to continue."},
    {"Gender:", "Use up or down arrow keys to select gender or N for not available, then press Enter.", 0,
     "Press down arrow to select gender or N for not available. Press Enter to continue."},
    {"Education:", "Type education in years or N for not available, then press Enter.", 2,
     "Enter education of client in number of years. Press Enter to continue."},
    {"Date of Birth:", "Type date of birth in the form MM/DD/YYYY or N for not available, then press Enter.", 10,
     "Enter date of birth month, day, year as mm/dd/yyyy or N for Not Available. Press Enter to continue."},
}};

const FieldText& textOf(InfoField f) { return kFields[static_cast<std::size_t>(indexOf(f))]; }

// The two letters that select each position of a list (position 0 is "N").
const std::vector<std::string>& letterCodes(InfoField list) {
  static const std::vector<std::string> marital = {"", "SI", "MA", "DI", "SE", "WI"};
  static const std::vector<std::string> race = {"", "CA", "BL", "HI", "AS", "NA", "OT"};
  static const std::vector<std::string> gender = {"", "MA", "FE"};
  switch (list) {
    case InfoField::Marital: return marital;
    case InfoField::Race: return race;
    default: return gender;
  }
}

int lastPosition(InfoField list) { return static_cast<int>(listChoices(list).size()) - 1; }

int digitValue(std::string_view s) {
  const std::string t = trimBlanks(s);
  return allDigits(t) ? std::stoi(t) : -1;
}

}  // namespace

std::string ClientInfoValues::valueOf(InfoField f) const {
  auto position = [](int p) { return p < 0 ? std::string() : std::to_string(p); };
  switch (f) {
    case InfoField::Name: return name;
    case InfoField::SSN: return ssn;
    case InfoField::Age: return age;
    case InfoField::Marital: return position(marital);
    case InfoField::Race: return position(race);
    case InfoField::Gender: return position(gender);
    case InfoField::Education: return education;
    case InfoField::DateOfBirth: return dateOfBirth;
  }
  return {};
}

const char* infoLabel(InfoField f) { return textOf(f).label; }
const char* infoHelp(InfoField f) { return textOf(f).help; }
int infoMaxLength(InfoField f) { return textOf(f).maxLength; }
const char* infoErrorMessage(InfoField f) { return textOf(f).error; }

const std::vector<std::string>& listChoices(InfoField list) {
  static const std::vector<std::string> marital = {"N/A", "Single", "Married", "Divorced", "Separated", "Widowed"};
  static const std::vector<std::string> race = {"N/A", "Caucasian", "Black", "Hispanic", "Asian", "Native American",
                                                "Other"};
  static const std::vector<std::string> gender = {"N/A", "Male", "Female"};
  static const std::vector<std::string> none;
  switch (list) {
    case InfoField::Marital: return marital;
    case InfoField::Race: return race;
    case InfoField::Gender: return gender;
    default: return none;
  }
}

std::string acceptHelp(bool editMode, int nameDeleted, int editCount) {
  if (editMode && nameDeleted == 1) return "Client name has been deleted. Editing is not permitted. Press Enter to continue.";
  if (editCount >= 3) return "No further editing permitted. Press Enter to save and continue.";
  return "If information is correct press Enter or press Tab to change an entry.";
}

bool GoodDate(std::string_view t) {
  if (t.size() != 10 || t[2] != '/' || t[5] != '/') return false;
  const std::string_view m = t.substr(0, 2), d = t.substr(3, 2), y = t.substr(6, 4);
  if (!allDigits(m) || !allDigits(d) || !allDigits(y)) return false;
  const int month = std::stoi(std::string(m)), day = std::stoi(std::string(d)), year = std::stoi(std::string(y));
  if (month < 1 || month > 12) return false;
  if (year < 1890 || year > 2050) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int last = month == 2 && leap ? 29 : kDays[month - 1];
  return day >= 1 && day <= last;
}

bool listAcceptsChar(InfoField list, char32_t c) {
  if (c == U'N' || c == U'n') return true;
  return c >= U'0' && c <= static_cast<char32_t>(U'0' + lastPosition(list));
}

int matchListText(InfoField list, std::string_view text) {
  if (text.empty()) return -1;
  const std::string upper = upperAscii(text);
  const auto& codes = letterCodes(list);
  if (upper.size() >= 2) {
    const std::string two = upper.substr(0, 2);
    for (std::size_t p = 1; p < codes.size(); ++p)
      if (two == codes[p]) return static_cast<int>(p);
  }
  const char first = upper[0];
  if (first >= '0' && first - '0' <= lastPosition(list)) return first - '0';
  if (first == 'N') return 0;
  return -1;
}

DateKey dateKey(char32_t c) {
  if ((c >= U'0' && c <= U'9') || c == U'N' || c == U'n' || c == 8) return DateKey::Accept;
  if (c == U'/') return DateKey::DropSilently;
  return DateKey::Refuse;
}

namespace {

// Keeps a slash at `keep` (0-based) when there is one; the first slash found
// at or after `from` anywhere else is removed together with every later slash;
// then a slash is put at `keep` when it is missing.
void settleSlash(std::string& t, std::size_t from, std::size_t keep) {
  for (std::size_t i = from; i < t.size(); ++i) {
    if (t[i] != '/' || i == keep) continue;
    std::string tail;
    for (std::size_t j = i; j < t.size(); ++j)
      if (t[j] != '/') tail += t[j];
    t.resize(i);
    t += tail;
    break;
  }
  if (t.size() >= keep && (t.size() == keep || t[keep] != '/')) t.insert(keep, 1, '/');
}

}  // namespace

std::string reformatDate(std::string_view text) {
  std::string t(text);
  if (t.size() >= 2) settleSlash(t, 0, 2);
  if (t.size() >= 5) settleSlash(t, 3, 5);
  if (t.size() > 10) t.resize(10);
  return t;
}

LeaveResult leaveTextField(InfoField f, std::string_view text) {
  const std::string t = trimBlanks(text);
  switch (f) {
    case InfoField::Name:
      return {!t.empty(), std::string(text)};
    case InfoField::SSN:
      return {true, isSingleN(t) ? std::string("N") : t};
    case InfoField::Age:
      if (isSingleN(t)) return {true, "N"};
      if (allDigits(t) && leadingNumber(t) > 10 && leadingNumber(t) < 100) return {true, t};
      return {false, ""};
    case InfoField::Education:
      if (isSingleN(t)) return {true, "N"};
      // An empty field passes as 0; letters are not years of education.
      if (t.empty() || (allDigits(t) && leadingNumber(t) < 100)) return {true, t};
      return {false, ""};
    case InfoField::DateOfBirth: {
      const std::string u = upperAscii(t);
      if (!u.empty() && u[0] == 'N') return {true, u};
      return {GoodDate(u), u};
    }
    default:
      return {true, std::string(text)};
  }
}

AcceptCheck checkForAccept(const ClientInfoValues& v) {
  if (trimBlanks(v.name).empty()) return {false, InfoField::Name, true};
  if (trimBlanks(v.age).empty()) return {false, InfoField::Age, true};
  if (v.gender < 0) return {false, InfoField::Gender, true};
  if (v.marital < 0) return {false, InfoField::Marital, true};
  if (v.race < 0) return {false, InfoField::Race, true};
  if (trimBlanks(v.education).empty()) return {false, InfoField::Education, false};
  const std::string dob = trimBlanks(v.dateOfBirth);
  if (!GoodDate(dob) && !isSingleN(dob)) return {false, InfoField::DateOfBirth, true};
  return {};
}

void EditCounter::start(const ClientInfoValues& values, int editCount) {
  for (int i = 0; i < kInfoFieldCount; ++i) start_[static_cast<std::size_t>(i)] = values.valueOf(infoField(i));
  count_ = editCount;
}

EditCounter::Outcome EditCounter::fieldLeft(InfoField f, const std::string& value, bool fieldsEnabled) {
  auto& start = start_[static_cast<std::size_t>(indexOf(f))];
  if (value == start) return Outcome::Unchanged;
  ++count_;
  if (count_ < 3) {
    start = value;
    return Outcome::Counted;
  }
  count_ = 3;
  return fieldsEnabled ? Outcome::LimitReached : Outcome::Counted;
}

int counterValue(const ClientRecord& r, Field f) {
  const int v = digitValue(r.raw(f));
  return v < 0 ? 0 : v;
}

ClientInfoValues RecordToScreen(const ClientRecord& r) {
  auto text = [&r](Field f) { return trimBlanks(r.text(f)); };
  auto position = [&r](Field f, InfoField list) {
    const int p = digitValue(r.raw(f));
    return p >= 0 && p <= lastPosition(list) ? p : -1;
  };
  ClientInfoValues v;
  v.name = text(Field::Name);
  v.ssn = text(Field::SSN);
  v.age = text(Field::Age);
  v.marital = position(Field::Marital, InfoField::Marital);
  v.race = position(Field::Race, InfoField::Race);
  v.gender = position(Field::Gender, InfoField::Gender);
  v.education = text(Field::Education);
  v.dateOfBirth = text(Field::DateOfBirth);
  return v;
}

void RecordToDB(ClientRecord& r, const ClientInfoValues& v, const std::string& today) {
  auto digit = [](int p) { return p < 0 ? std::string() : std::to_string(p); };
  r.setText(Field::Name, v.name);
  r.setText(Field::SSN, v.ssn);
  r.setText(Field::Age, v.age);
  r.setText(Field::Marital, digit(v.marital));
  r.setText(Field::Race, digit(v.race));
  r.setText(Field::Gender, digit(v.gender));
  r.setText(Field::DateOfBirth, v.dateOfBirth);
  r.setText(Field::Education, v.education);
  if (r.trimmed(Field::DateTested).empty()) r.setText(Field::DateTested, today);
}

bool shouldStore(int recordCount, int openedEditCount) { return !(recordCount > 0 && openedEditCount >= 3); }

bool storeClientInfo(ClientTable& t, FileSystem& fs, const std::string& clientFile, Prompter& prompter,
                     const InfoAcceptance& a) {
  ClientSlot slot(t);
  if (!slot.editing()) {
    if (!slot.placeNew(a.today, prompter)) return false;
    RecordToDB(t.current(), a.values, a.today);
    return true;  // written when the answers are stored
  }
  if (!shouldStore(t.RecordCount, a.openedEditCount)) return true;
  // A client locked by name deletion is written again as stored.
  if (!a.nameLocked) {
    RecordToDB(t.current(), a.values, a.today);
    t.current().setRaw(Field::EditCount, std::to_string(std::clamp(a.editCount, 0, 9)));
  }
  return slot.storeInformation(fs, clientFile, prompter);
}

}  // namespace zv
