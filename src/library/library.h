// The scenery library as the simulator loads it: its layers in load order and the BGL files of
// each, read from a scenery.cfg, a folder of Prepar3D add-on packages or an MSFS Community folder.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace terrova::library {

struct LibraryFile {
  std::string path;      // the file on this machine (UTF-8), absolute or relative to the cwd
  std::string relative;  // as the package or area names it (for the index and the report)
};
struct Layer {         // an area of scenery.cfg, a Prepar3D add-on component, or an MSFS package
  std::string kind;    // "area", "add-on", "package"
  std::string title;   // area Title, add-on component Name, or package folder name
  std::string folder;  // the folder on this machine
  std::string origin;  // for MSFS: "base", "official", "community"; else ""
  int64_t layer = 0;   // the layer number (scenery.cfg Layer, add-on Layer), or the load position
  bool active = true;  // inactive areas are listed, not read
  bool folder_missing = false;
  std::vector<LibraryFile> files;    // BGL files in load order within the layer
  std::vector<std::string> missing;  // files a layout.json lists that are not there
};
struct Library {
  std::string kind;                   // "scenery.cfg", "add-ons", "msfs"
  std::vector<Layer> layers;          // in load order, low to high: the last definition wins
  std::vector<std::string> problems;  // damaged configuration files and the like, one line each
};
struct LibraryOptions {
  std::vector<std::pair<char, std::string>> drives;  // drive letter -> folder on this machine
  std::string simulator_folder;  // where scenery.cfg's relative Local paths start; "" = its folder
  std::string official_folder;   // MSFS Official folder, optional
  std::string content_xml;       // MSFS Content.xml, optional
};
// Reads LIBRARY: a scenery.cfg file, a folder of Prepar3D add-on packages, or an MSFS Community
// folder. Returns 0, or an error code with a message in `error` when nothing could be read.
int read_library(const std::string& library, const LibraryOptions& options, Library& out,
                 std::string& error);

}  // namespace terrova::library
