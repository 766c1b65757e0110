#include "library/ini_file.h"

#include "library/library_paths.h"

namespace terrova::library {
namespace {

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool has_control_bytes(std::string_view line) {
  for (const char c : line) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 && b != '\t') return true;
  }
  return false;
}

}  // namespace

const IniEntry* IniSection::find(std::string_view key) const {
  for (size_t i = entries.size(); i-- > 0;) {
    if (equal_ignoring_case(entries[i].key, key)) return &entries[i];
  }
  return nullptr;
}

IniFile parse_ini(std::string_view text) {
  IniFile file;
  size_t number = 0;
  const auto problem = [&](const std::string& what) {
    file.problems.push_back("line " + std::to_string(number) + ": " + what);
  };
  size_t at = 0;
  while (at < text.size()) {
    size_t end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    const std::string_view raw = text.substr(at, end - at);
    // CR LF is one line end; a CR alone or an LF alone is one too.
    at = end + ((end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ? 2 : 1);
    ++number;
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (has_control_bytes(line)) {
      problem("holds control bytes; the line is passed over");
      continue;
    }
    if (line.front() == '[') {
      const size_t close = line.find(']');
      if (close == std::string_view::npos) problem("a section header without ']'");
      const std::string_view name = trim(
          line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      if (close != std::string_view::npos && !trim(line.substr(close + 1)).empty() &&
          trim(line.substr(close + 1)).front() != ';') {
        problem("text after the section header is passed over");
      }
      file.sections.push_back(IniSection{std::string(name), number, {}});
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) {
      problem("neither a [section] header nor a key=value line; passed over");
      continue;
    }
    std::string_view value = trim(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (file.sections.empty()) file.sections.push_back(IniSection{});
    file.sections.back().entries.push_back(
        IniEntry{std::string(trim(line.substr(0, equals))), std::string(value), number});
  }
  return file;
}

}  // namespace terrova::library
