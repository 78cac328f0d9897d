#include "app/IniFile.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace zv {
namespace {

std::string trimWs(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    auto nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

// "[Name]" gives Name; anything else gives nullopt-like empty with false.
bool sectionName(const std::string& line, std::string& name) {
  const std::string t = trimWs(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const auto close = t.find(']');
  if (close == std::string::npos) return false;
  name = trimWs(t.substr(1, close - 1));
  return true;
}

bool keyValue(const std::string& line, std::string& key, std::string& value) {
  const auto eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = trimWs(line.substr(0, eq));
  value = trimWs(line.substr(eq + 1));
  return true;
}

}  // namespace

std::string IniFile::read(const std::string& section, const std::string& key, const std::string& def,
                          std::size_t bufferSize) const {
  std::string value = def;
  try {
    if (fs_.exists(path_)) {
      bool inSection = false;
      for (const auto& line : splitLines(fs_.readAll(path_))) {
        std::string name, k, v;
        if (sectionName(line, name)) {
          inSection = sameName(name, section);
        } else if (inSection && keyValue(line, k, v) && sameName(k, key)) {
          // A value in matching quotes loses them, as the profile functions do.
          if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
          value = v;
          break;
        }
      }
    }
  } catch (const ZvError&) {
    // An unreadable settings file reads like a missing one: defaults apply.
  }
  if (bufferSize == 0) return {};
  if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return value;
}

void IniFile::write(const std::string& section, const std::string& key, const std::string& value) {
  update(section, key, &value);
}

void IniFile::remove(const std::string& section, const std::string& key) {
  if (fs_.exists(path_)) update(section, key, nullptr);
}

void IniFile::update(const std::string& section, const std::string& key, const std::string* value) {
  std::string text = fs_.exists(path_) ? fs_.readAll(path_) : std::string();
  const bool crlf = text.find("\r\n") != std::string::npos;
  const std::string eol = crlf ? "\r\n" : "\n";
  std::vector<std::string> lines = splitLines(text);
  for (auto& l : lines)
    if (!l.empty() && l.back() == '\r') l.pop_back();

  const std::string entry = value ? key + "=" + *value : std::string();
  int sectionStart = -1;
  int lastKeyLine = -1;
  bool done = false;
  for (int i = 0; i < static_cast<int>(lines.size()) && !done; ++i) {
    std::string name, k, v;
    if (sectionName(lines[static_cast<std::size_t>(i)], name)) {
      if (sectionStart >= 0) break;  // past the end of our section
      if (sameName(name, section)) { sectionStart = i; lastKeyLine = i; }
    } else if (sectionStart >= 0) {
      if (keyValue(lines[static_cast<std::size_t>(i)], k, v) && sameName(k, key)) {
        if (value) lines[static_cast<std::size_t>(i)] = entry;
        else lines.erase(lines.begin() + i);
        done = true;
      } else if (!trimWs(lines[static_cast<std::size_t>(i)]).empty()) {
        lastKeyLine = i;
      }
    }
  }
  if (!done && !value) return;  // nothing to remove
  if (!done) {
    if (sectionStart >= 0) {
      lines.insert(lines.begin() + lastKeyLine + 1, entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }
  std::string out;
  for (const auto& l : lines) out += l + eol;
  fs_.replaceAll(path_, out);
}

}  // namespace zv
