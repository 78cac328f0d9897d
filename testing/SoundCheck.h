#pragma once
// The sound files an installation must ship for the onscreen test: every
// file the English and Spanish question tables name, and the four
// instruction sounds, in each language's sound folder.
#include <string>
#include <vector>

#include "records/FileSystem.h"

namespace zv {

struct MissingSound {
  std::string path;  // relative to the program folder when inside it
  std::string what;  // e.g. "Spanish item 17", "English item 140, answer 2", "English instructions 0"
  std::string text() const { return path + ": missing (" + what + ")"; }
};

// Every named sound file the sound folder lacks, in table order. The sound
// path is the installation's setting (the folder "sounds" by default). A
// question database that cannot be read gives nothing here: its own check
// reports it.
std::vector<MissingSound> CheckSounds(FileSystem& fs, const std::string& programDir);

}  // namespace zv
