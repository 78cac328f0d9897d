#include "testing/QuestionBank.h"

#include <set>

#include "records/ClientRecord.h"
#include "records/FileSystem.h"
#include "testing/Instructions.h"

namespace zv {

std::vector<std::string> presentationLanguages(const Database& db) {
  std::vector<std::string> found;
  for (const std::string& name : db.TableNames())
    if (name == "English" || name == "Spanish") found.push_back(name);
  return found;
}

std::string soundFolder(const std::string& sndPath, const std::string& language) {
  return joinPath(joinPath(joinPath(sndPath, "ZVTest"), "sound"), language) + "/";
}

std::string soundFileName(const std::string& base) {
  const std::string name = trimBlanks(base);
  return name.empty() ? name : name + ".wav";
}

std::string instructionSound(int k) { return "Inst" + std::to_string(k) + ".wav"; }

ShownItem readItem(const Recordset& row) {
  ShownItem item;
  item.id = static_cast<int>(row.fieldInt("ID"));
  item.question = std::to_string(item.id) + ". " + row.field("TestQuestion");
  item.questionSound = soundFileName(row.field("QuestionAudio"));
  for (int j = 1; j <= kMaxAnswers; ++j) {
    Choice& c = item.choices[static_cast<std::size_t>(j - 1)];
    c.text = row.field("ANSWER" + std::to_string(j));
    // The first two answers always show; a further one only when it has words.
    c.shown = j <= 2 || !c.text.empty();
    if (c.shown) c.sound = soundFileName(row.field("ChoiceAudio" + std::to_string(j)));
  }
  return item;
}

std::vector<NamedSound> namedSounds(const Database& db, const std::string& language) {
  std::vector<NamedSound> sounds;
  std::set<std::string> seen;
  auto add = [&](NamedSound s) {
    if (!s.file.empty() && seen.insert(s.file).second) sounds.push_back(std::move(s));
  };
  const InstructionTexts texts = BuildInstructions(language);
  for (int k = 0; k < 4; ++k) add({instructionSound(k), 0, k, texts[static_cast<std::size_t>(k)]});
  Recordset rows = db.SelectAll(language);
  for (; !rows.IsEOF(); rows.MoveNext()) {
    const ShownItem item = readItem(rows);
    add({item.questionSound, item.id, 0, rows.field("TestQuestion")});
    for (int j = 0; j < kMaxAnswers; ++j) {
      const Choice& c = item.choices[static_cast<std::size_t>(j)];
      if (c.shown) add({c.sound, item.id, j + 1, c.text});
    }
  }
  return sounds;
}

}  // namespace zv
