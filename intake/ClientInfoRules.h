#pragma once
// The rules of the client information screen without the screen: field
// checks on leaving a field, list typing and matching, date typing, GoodDate,
// edit counting with its locks, the checks on accepting, and the copying
// between the client record and the eight screen values.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "records/ClientRecord.h"
#include "records/ClientTable.h"
#include "records/FileSystem.h"

namespace zv {

// The eight fields in focus order.
enum class InfoField { Name, SSN, Age, Marital, Race, Gender, Education, DateOfBirth };
constexpr int kInfoFieldCount = 8;
constexpr InfoField infoField(int i) { return static_cast<InfoField>(i); }
constexpr int indexOf(InfoField f) { return static_cast<int>(f); }
constexpr bool isListField(InfoField f) {
  return f == InfoField::Marital || f == InfoField::Race || f == InfoField::Gender;
}

// The eight values as the screen holds them: texts in UTF-8, list positions
// (-1 when the list's text matches no choice, which counts as empty).
struct ClientInfoValues {
  std::string name, ssn, age;
  int marital = -1, race = -1, gender = -1;
  std::string education, dateOfBirth;

  // Text of a field, or a list position as decimal text ("" when empty).
  std::string valueOf(InfoField f) const;
  bool operator==(const ClientInfoValues&) const = default;
};

const char* infoLabel(InfoField f);
const char* infoHelp(InfoField f);
// The most characters a text field takes on screen (0 for the lists).
int infoMaxLength(InfoField f);
// The choices of a list, in position order.
const std::vector<std::string>& listChoices(InfoField list);
// The error message of a field (none for the ID number).
const char* infoErrorMessage(InfoField f);

inline constexpr const char* kCancelHelp = "Cancel information input and return to Main Menu.";
inline constexpr const char* kEditLimitTitle = "Edit Limit Reached";
inline constexpr const char* kEditLimitMessage =
    "This client's information has been edited.\r3 times already. Further editing of this\rinformation is no longer permitted.";
inline constexpr const char* kNameDeletedTitle = "Name Deleted";
inline constexpr const char* kNameDeletedMessage =
    "This client's name has been deleted.\rEditing this information is no longer permitted.";

// The help text of "Information OK" for the state of the client.
std::string acceptHelp(bool editMode, int nameDeleted, int editCount);

// True when the text is an acceptable date of birth: "mm/dd/yyyy", a real
// calendar date, year 1890 to 2050.
bool GoodDate(std::string_view text);

// Typing in a list: true when the character may be typed there.
bool listAcceptsChar(InfoField list, char32_t c);
// The list position a text selects: the digit itself, or the first letters
// of a choice (two-letter tests before the one-letter "N"); -1 for none.
int matchListText(InfoField list, std::string_view text);

// Typing in the date of birth.
enum class DateKey { Accept, DropSilently, Refuse };
DateKey dateKey(char32_t c);  // Backspace is character 8
// The text after it grew: slashes kept only at the 3rd and 6th positions and
// inserted there; at most 10 characters.
std::string reformatDate(std::string_view text);

// Leaving a text field with Enter or Tab: whether the focus may move on and
// the text the field then holds.
struct LeaveResult {
  bool accepted;
  std::string text;
};
LeaveResult leaveTextField(InfoField f, std::string_view text);

// Accepting: the first failing check in the order name, age, gender,
// marital, race, education, date of birth.
struct AcceptCheck {
  bool ok = true;
  InfoField field = InfoField::Name;
  bool message = false;  // education fails without a message
};
AcceptCheck checkForAccept(const ClientInfoValues& v);

// Edit counting while an existing client is edited.
class EditCounter {
 public:
  enum class Outcome { Unchanged, Counted, LimitReached };
  void start(const ClientInfoValues& values, int editCount);
  // A field lost the focus holding `value`; `fieldsEnabled` is false once the
  // fields are locked (the limit then only sets the count).
  Outcome fieldLeft(InfoField f, const std::string& value, bool fieldsEnabled);
  int count() const { return count_; }
  const std::string& startValue(InfoField f) const { return start_[static_cast<std::size_t>(indexOf(f))]; }

 private:
  std::array<std::string, kInfoFieldCount> start_{};
  int count_ = 0;
};

// The number a one-character counter field holds; blank or non-digit reads as 0.
int counterValue(const ClientRecord& r, Field f);

// The eight values of a stored client (trimmed; list positions from the digits).
ClientInfoValues RecordToScreen(const ClientRecord& r);
// Copies the eight values into the record, each cut to its width in the one
// conversion place; DateTested becomes `today` when it is blank.
void RecordToDB(ClientRecord& r, const ClientInfoValues& v, const std::string& today);
// Whether accepting stores anything: not for an edit-limited stored client.
bool shouldStore(int recordCount, int openedEditCount);

class Prompter;

// Accepting checked information (steps after the checks), through the slot
// owner: a new client is placed in slot RecordCount + 1 and only built there;
// an edited client gets its EditCount and is written at once with the
// data-location messages. A client locked by name deletion is written again
// unchanged. Returns false when nothing could be accepted (no free slot, or
// the write failed and the user gave up; the slot then keeps the record as
// stored).
struct InfoAcceptance {
  ClientInfoValues values;
  int openedEditCount = 0;  // as read from the record when the screen opened
  int editCount = 0;        // the working count
  bool nameLocked = false;  // opened locked by name deletion
  std::string today;
};
bool storeClientInfo(ClientTable& table, FileSystem& fs, const std::string& clientFile, Prompter& prompter,
                     const InfoAcceptance& a);

}  // namespace zv
