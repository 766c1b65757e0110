// scenery.cfg of FSX and Prepar3D: one [Area.NNN] section per layer of the library.
//
//   [Area.106]
//   Title=EDST Hahnweide
//   Local=D:\FSX\Addon Scenery\EDST_Hahnweide   (or relative to the simulator's folder)
//   Layer=106
//   Active=TRUE
//
// Other keys (Remote, Required, Exclude, Texture_ID) and other sections ([General]) do not
// change which files load. The simulator reads an area's BGL files from its `scenery` subfolder
// and the areas from the lowest Layer to the highest.
#include <algorithm>
#include <unordered_map>

#include "library/ini_file.h"
#include "library/library.h"
#include "library/library_paths.h"
#include "library/reader_support.h"
#include "platform/platform.h"

namespace terrova::library {
namespace {

struct Area {
  std::string name;  // the section's name as written: "Area.106"
  int64_t number = 0;
  Layer layer;
};

// TRUE and FALSE as the simulators write them, and the other spellings of a yes or a no.
bool parse_active(const std::string& text, bool& active) {
  for (const char* yes : {"true", "1", "yes", "on"}) {
    if (equal_ignoring_case(text, yes)) return active = true, true;
  }
  for (const char* no : {"false", "0", "no", "off"}) {
    if (equal_ignoring_case(text, no)) return active = false, true;
  }
  return false;
}

// Reads one [Area.NNN] section into `area`; false (with the reason among `problems`) when the
// section names no folder to read.
bool read_area(const IniSection& section, Area& area, std::vector<std::string>& problems) {
  area.name = section.name;
  const std::string where = "[" + section.name + "] (line " + std::to_string(section.line) + ")";
  const std::string number = section.name.substr(5);
  if (!parse_integer(number, area.number) || number.find_first_of("+- \t") != std::string::npos) {
    problems.push_back(where + ": the area number is not a number; the area is passed over");
    return false;
  }
  const IniEntry* local = section.find("Local");
  if (local == nullptr || local->value.empty()) {
    problems.push_back(where + ": no Local folder; the area is passed over");
    return false;
  }
  Layer& layer = area.layer;
  layer.kind = "area";
  layer.folder = local->value;
  if (const IniEntry* title = section.find("Title")) layer.title = title->value;
  layer.layer = area.number;
  if (const IniEntry* value = section.find("Layer")) {
    if (!parse_integer(value->value, layer.layer)) {
      layer.layer = area.number;
      problems.push_back("line " + std::to_string(value->line) + ": Layer=" + value->value +
                         " is not a number; the area takes the layer of its area number");
    }
  } else {
    problems.push_back(where + ": no Layer; the area takes the layer of its area number");
  }
  if (const IniEntry* value = section.find("Active")) {
    if (!parse_active(value->value, layer.active)) {
      problems.push_back("line " + std::to_string(value->line) + ": Active=" + value->value +
                         " is neither TRUE nor FALSE; the area is taken as active");
    }
  }
  return true;
}

}  // namespace

int read_scenery_cfg(const std::string& cfg, const LibraryOptions& options, Library& out,
                     std::string& error) {
  out.kind = "scenery.cfg";
  IniFile ini;
  if (const int code = read_ini_file(cfg, out, ini, error)) return code;
  std::vector<std::string> problems = ini.problems;
  std::vector<Area> areas;
  bool any_area = false;
  for (const IniSection& section : ini.sections) {
    if (!starts_with_ignoring_case(section.name, "Area.")) continue;
    any_area = true;
    Area area;
    if (read_area(section, area, problems)) areas.push_back(std::move(area));
  }
  // Two sections of one number are both read, as the simulator lists them both.
  for (size_t i = 1; i < areas.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (areas[j].number == areas[i].number) {
        problems.push_back("[" + areas[i].name + "] appears more than once; each is read");
        break;
      }
    }
  }
  add_problems(out, cfg, problems);
  if (!any_area) {
    error = cfg + ": no [Area.NNN] section; not a scenery.cfg";
    return kNotALibrary;
  }
  // Areas of one layer keep the order of their numbers, then of the file.
  std::stable_sort(areas.begin(), areas.end(), [](const Area& a, const Area& b) {
    return a.layer.layer != b.layer.layer ? a.layer.layer < b.layer.layer : a.number < b.number;
  });
  const std::string base =
      options.simulator_folder.empty() ? parent_folder(cfg) : options.simulator_folder;
  FolderCache cache;
  // A drive without a folder is named once, with the number of its other areas.
  std::vector<std::pair<std::string, size_t>> unmapped;
  size_t relative = 0, relative_found = 0;
  std::unordered_map<std::string, std::string> active_folders;
  for (Area& area : areas) {
    Layer& layer = area.layer;
    const ConfigFolder folder = resolve_config_folder(layer.folder, base, options.drives, cache);
    if (!folder.problem.empty()) {
      // A network path has no drive letter: each is named.
      char letter = layer.folder.size() >= 2 && layer.folder[1] == ':' ? layer.folder[0] : '\0';
      if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
      const std::string drive{letter, ':'};
      const auto seen = std::find_if(unmapped.begin(), unmapped.end(),
                                     [&](const auto& u) { return u.first == drive; });
      if (letter == 0 || seen == unmapped.end()) {
        if (letter != 0) unmapped.emplace_back(drive, 0);
        out.problems.push_back(cfg + ": [" + area.name + "] Local=" + layer.folder + ": " +
                               folder.problem);
      } else {
        ++seen->second;
      }
    }
    if (is_relative_path(layer.folder)) {
      ++relative;
      relative_found += folder.found ? 1 : 0;
    }
    layer.folder = folder.folder;
    layer.folder_missing = !folder.found;
    if (folder.found && layer.active) {
      layer.files = area_files(layer.folder, false, out);
      // Two active areas of one folder load its files twice.
      const auto [first, added] = active_folders.emplace(lower_ascii(layer.folder), area.name);
      if (!added) {
        out.problems.push_back(cfg + ": [" + area.name + "] names the folder of [" + first->second +
                               "] again; its files load twice");
      }
    }
    out.layers.push_back(std::move(layer));
  }
  for (const auto& [drive, more] : unmapped) {
    if (more > 0) {
      out.problems.push_back(cfg + ": " + std::to_string(more) + " more areas on the drive " +
                             drive + " are not found for the same reason");
    }
  }
  // The simulator's own areas are relative to its folder: when none of them is there, the cfg
  // was taken from elsewhere (ProgramData) without naming that folder.
  if (relative > 0 && relative_found == 0) {
    out.problems.push_back(cfg + ": none of the " + std::to_string(relative) +
                           " areas with a relative Local folder is found under " + base +
                           " (give the simulator's folder)");
  }
  return 0;
}

}  // namespace terrova::library
