#pragma once
// The wave player of the onscreen test: it opens a wave file and starts it
// without waiting for it to end, and stops (closes) it. The screens get the
// audio device's player; tests record what was started.
#include <map>
#include <string>
#include <vector>

namespace zv {

// An error of the player: its number and description (number 0: none).
struct SoundError {
  int number = 0;
  std::string description;
};

// Errors that never interrupt the test: bad file name (52), file not found
// (53), device input/output error (57), device unavailable (68), path/file
// access error (75), path not found (76).
inline bool isQuietSoundError(int number) {
  return number == 52 || number == 53 || number == 57 || number == 68 || number == 75 || number == 76;
}
// A file that exists but is no wave the player can play.
inline SoundError invalidFileFormat() { return {321, "Invalid file format"}; }

class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  // Prepares the player for wave audio; returns its error code (0: ready).
  virtual int setUp() = 0;
  // Closes whatever is open, opens the file and starts it; returns at once.
  virtual SoundError play(const std::string& path) = 0;
  // Stops and closes what is open.
  virtual void stop() = 0;
};

// Plays nothing and keeps every file started, in order; a file listed in
// `failures` (by its name without folder) answers with that error.
class RecordingWavePlayer : public WavePlayer {
 public:
  int setUp() override { return setUpError; }
  SoundError play(const std::string& path) override {
    started.push_back(path);
    const auto f = failures.find(path.substr(path.find_last_of('/') + 1));
    return f == failures.end() ? SoundError{} : f->second;
  }
  void stop() override { ++stops; }

  // The files started, without their folder.
  std::vector<std::string> names() const {
    std::vector<std::string> v;
    for (const auto& p : started) v.push_back(p.substr(p.find_last_of('/') + 1));
    return v;
  }

  int setUpError = 0;
  std::map<std::string, SoundError> failures;
  std::vector<std::string> started;
  int stops = 0;
};

}  // namespace zv
