// zvvoices [--jobs N] PROGRAM_FOLDER: speaks the voices of the onscreen test
// with espeak-ng into the sound folders of the program folder (the SndPath
// setting, the folder "sounds" by default): for English and Spanish the four
// instruction waves and every wave the question tables name. Only the waves
// whose words, voice or format changed since the last run are made again
// (each folder's Voices.txt lists what its waves say); waves the tables no
// longer name are removed. Exit 0 when every wave is in place, 1 otherwise,
// 2 for a usage error.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "records/FileSystem.h"
#include "testing/QuestionBank.h"
#include "testing/Voices.h"

extern char** environ;

namespace {

struct Running {
  zv::Voice voice;
  std::string wave;  // espeak-ng's output
};

class Speaker {
 public:
  Speaker(zv::FileSystem& fs, std::string folder, std::string scratch, int jobs)
      : fs_(fs), folder_(std::move(folder)), scratch_(std::move(scratch)), jobs_(jobs) {}

  // Makes every voice; returns the files that failed (each named on standard error).
  std::set<std::string> make(const std::vector<zv::Voice>& voices) {
    for (const zv::Voice& v : voices) {
      while (static_cast<int>(running_.size()) >= jobs_) finishOne();
      if (!start(v)) failed_.insert(v.file);
    }
    while (!running_.empty()) finishOne();
    return failed_;
  }

 private:
  bool start(const zv::Voice& v) {
    const std::string base = scratch_ + "/" + std::to_string(counter_++);
    fs_.writeFile(base + ".txt", v.text, false);
    const std::string rate = std::to_string(v.wordsPerMinute);
    std::vector<std::string> args = {"espeak-ng", "-b", "1", "-v", v.voice, "-s", rate,
                                     "-w", base + ".wav", "-f", base + ".txt"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "espeak-ng", nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
      std::cerr << "zvvoices: cannot run espeak-ng (" << std::strerror(rc)
                << "); install the Debian package espeak-ng\n";
      return false;
    }
    running_[pid] = {v, base + ".wav"};
    return true;
  }

  void finishOne() {
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, 0);
    const auto it = running_.find(pid);
    if (it == running_.end()) {
      if (pid < 0) running_.clear();  // no child left to wait for
      return;
    }
    const Running r = it->second;
    running_.erase(it);
    const std::string target = zv::joinPath(folder_, r.voice.file);
    std::optional<std::string> wave;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && fs_.exists(r.wave)) wave = zv::finishVoice(fs_.readAll(r.wave));
    if (!wave) {
      std::cerr << "zvvoices: espeak-ng could not speak " << target << "\n";
      failed_.insert(r.voice.file);
      return;
    }
    fs_.replaceAllUnsynced(target, *wave);
  }

  zv::FileSystem& fs_;
  std::string folder_;
  std::string scratch_;
  int jobs_;
  int counter_ = 0;
  std::map<pid_t, Running> running_;
  std::set<std::string> failed_;
};

int usage() {
  std::cerr << "usage: zvvoices [--jobs N] PROGRAM_FOLDER\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int jobs = 2;
  std::string program;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--jobs" && i + 1 < argc) jobs = std::max(1, std::atoi(argv[++i]));
    else if (!a.empty() && a[0] != '-' && program.empty()) program = a;
    else return usage();
  }
  if (program.empty()) return usage();
  zv::RealFileSystem fs;
  char scratchName[] = "/tmp/zvvoices-XXXXXX";
  if (!::mkdtemp(scratchName)) {
    std::cerr << "zvvoices: cannot make a scratch folder\n";
    return 1;
  }
  bool ok = true;
  try {
    const zv::Settings settings(fs, program);
    const zv::Database db = zv::Workspace::standard(settings.iniPath()).OpenDatabase(zv::joinPath(program, "ZV.db"));
    for (const std::string& language : zv::presentationLanguages(db)) {
      const std::string folder = zv::soundFolder(settings.readSndPath(), language);
      fs.makeDirectories(folder);
      const std::string listPath = zv::joinPath(folder, zv::kVoiceListName);
      const std::string kept = fs.exists(listPath) ? fs.readAll(listPath) : std::string();
      const std::vector<zv::Voice> voices = zv::voicesFor(db, language);
      for (const std::string& gone : zv::voicesGone(voices, kept))
        if (fs.exists(zv::joinPath(folder, gone))) fs.remove(zv::joinPath(folder, gone));
      const auto todo = zv::voicesToMake(voices, kept, [&](const std::string& f) { return fs.exists(zv::joinPath(folder, f)); });
      const std::set<std::string> failed = Speaker(fs, folder, scratchName, jobs).make(todo);
      // The list names only waves that are in place, so a failed one is tried again next time.
      std::vector<zv::Voice> listed;
      for (const zv::Voice& v : voices)
        if (!failed.count(v.file)) listed.push_back(v);
      fs.replaceAllUnsynced(listPath, zv::voiceList(listed));
      std::cout << "zvvoices: " << language << ": " << todo.size() - failed.size() << " made, "
                << voices.size() - todo.size() << " unchanged, " << failed.size() << " failed\n";
      ok = ok && failed.empty();
    }
  } catch (const zv::ZvError& e) {
    std::cerr << "zvvoices: " << e.description() << "\n";
    ok = false;
  }
  std::error_code ec;
  std::filesystem::remove_all(scratchName, ec);
  return ok ? 0 : 1;
}
