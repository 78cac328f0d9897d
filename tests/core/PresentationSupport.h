#pragma once
// A program folder for the onscreen test: language tables made to measure,
// the sound files they name, a data location, and the system state with a
// scripted prompter and a recording wave player.
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/SystemState.h"
#include "records/ClientSlot.h"
#include "testing/Presentation.h"
#include "tests/core/TestSupport.h"

namespace zvtest {

// One language table row: the answers of an item ("" for none).
struct BankItem {
  int id;
  std::vector<std::string> answers;
};

// 162 items: two answers in section 1, four in sections 2 and 3, with the
// given exceptions. Answer sounds are shared by text ("A-True.wav").
inline std::vector<BankItem> standardBank(const std::map<int, std::vector<std::string>>& exceptions = {}) {
  std::vector<BankItem> items;
  for (int n = 1; n <= 162; ++n) {
    std::vector<std::string> a = n <= 105 ? std::vector<std::string>{"True", "False"}
                                          : std::vector<std::string>{"Rarely", "Sometimes", "Often", "Always"};
    if (auto e = exceptions.find(n); e != exceptions.end()) a = e->second;
    items.push_back({n, a});
  }
  return items;
}

// Adds a language table to a question database and, with a sound path, every sound it names.
inline void languageTable(const std::string& dbPath, const std::string& sndPath, const std::string& language,
                          const std::vector<BankItem>& items) {
  const bool withSounds = !sndPath.empty();
  const std::string folder = zv::soundFolder(sndPath, language);
  if (withSounds) std::filesystem::create_directories(folder);
  for (int k = 0; withSounds && k < 4; ++k) writeBytes(folder + zv::instructionSound(k), "");
  std::string sql = "BEGIN; CREATE TABLE \"" + language + "\" (ID INTEGER PRIMARY KEY, TestQuestion TEXT, "
                    "QuestionAudio TEXT, ANSWER1 TEXT, ANSWER2 TEXT, ANSWER3 TEXT, ANSWER4 TEXT, ANSWER5 TEXT, "
                    "ChoiceAudio1 TEXT, ChoiceAudio2 TEXT, ChoiceAudio3 TEXT, ChoiceAudio4 TEXT, ChoiceAudio5 TEXT);";
  const auto quoted = [](const std::string& t) { return "'" + std::regex_replace(t, std::regex("'"), "''") + "'"; };
  for (const BankItem& it : items) {
    const std::string n = std::to_string(it.id);
    std::string values = n + ",'Question " + n + "',' Q" + n + " '", sounds;  // answers and their sounds: NULL for none
    for (std::size_t j = 0; j < 5; ++j) {
      const bool has = j < it.answers.size() && !it.answers[j].empty();
      values += has ? "," + quoted(it.answers[j]) : ",NULL";
      sounds += has ? "," + quoted("A-" + it.answers[j]) : ",NULL";
      if (has && withSounds) writeBytes(folder + "A-" + it.answers[j] + ".wav", "");
    }
    sql += "INSERT INTO \"" + language + "\" VALUES (" + values + sounds + ");";
    if (withSounds) writeBytes(folder + "Q" + n + ".wav", "");
  }
  sqlite3* db = nullptr;
  sqlite3_open(dbPath.c_str(), &db);
  sqlite3_exec(db, (sql + "COMMIT;").c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

struct PresentationRig : Office {
  zv::RecordingWavePlayer player;

  PresentationRig() {
    state.sndPath = program.file("sounds");
    state.player = &player;
    zv::LoadClientFile(fs, state.clientFile(), state.clients);
  }

  // Adds a language table to ZV.db and, unless told otherwise, every sound it names.
  void table(const std::string& language, const std::vector<BankItem>& items, bool withSounds = true) {
    languageTable(program.file("ZV.db"), withSounds ? state.sndPath : "", language, items);
  }

  // A registration as the Add chain makes it: slot RecordCount + 1.
  void newClient() {
    zv::ClientSlot slot(state.clients);
    slot.beginNew(prompter);
    slot.placeNew("06/12/2024", prompter);
    state.clients.current().setRaw(zv::Field::Name, "New Client");
  }
};

}  // namespace zvtest
