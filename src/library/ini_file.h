// A tolerant reader of INI text (scenery.cfg): [Section] headers and key=value lines, keys and
// section names in any case, ';' and '#' comments, CR LF, LF or CR line ends. A line that is
// none of these is reported and passed over; the rest of the file is still read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace terrova::library {

struct IniEntry {
  std::string key;
  std::string value;  // without surrounding blanks or one pair of surrounding double quotes
  size_t line = 0;
};

struct IniSection {
  std::string name;  // as written between the brackets, without surrounding blanks
  size_t line = 0;   // 0 for the entries before the first header
  std::vector<IniEntry> entries;
  // The value of the last entry of `key` ignoring case; nullptr when there is none.
  const IniEntry* find(std::string_view key) const;
};

struct IniFile {
  std::vector<IniSection> sections;
  std::vector<std::string> problems;  // "line N: ..."
};

IniFile parse_ini(std::string_view text);

}  // namespace terrova::library
