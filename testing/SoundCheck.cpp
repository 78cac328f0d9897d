#include "testing/SoundCheck.h"

#include "app/Settings.h"
#include "testing/QuestionBank.h"

namespace zv {

std::vector<MissingSound> CheckSounds(FileSystem& fs, const std::string& programDir) {
  std::vector<MissingSound> missing;
  const Settings settings(fs, programDir);
  std::string sndPath = settings.readSndPath();
  try {
    const Workspace workspace = Workspace::standard(settings.iniPath());
    const Database db = workspace.OpenDatabase(joinPath(programDir, "ZV.db"));
    for (const std::string& language : presentationLanguages(db)) {
      const std::string folder = soundFolder(sndPath, language);
      for (const NamedSound& s : namedSounds(db, language)) {
        std::string path = folder + s.file;
        if (fs.exists(path)) continue;
        const std::string prefix = joinPath(programDir, "");
        if (path.rfind(prefix, 0) == 0) path = path.substr(prefix.size());
        missing.push_back({path, language + (s.item == 0 ? " instructions " + std::to_string(s.answer)
                                             : " item " + std::to_string(s.item) +
                                                   (s.answer ? ", answer " + std::to_string(s.answer) : ""))});
      }
    }
  } catch (const ZvError&) {
  }
  return missing;
}

}  // namespace zv
