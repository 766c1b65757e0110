// What LIBRARY names decides the reader: a file is a scenery.cfg or an add-ons.cfg; a folder is
// a scenery.cfg's folder, a folder of Prepar3D add-on packages (or one package), an MSFS
// Community folder (or one package), or the MSFS packages folder that holds Community and
// Official.
#include "library/library.h"

#include "library/library_paths.h"
#include "library/reader_support.h"
#include "platform/platform.h"

namespace terrova::library {
namespace {

enum class FolderKind { kNone, kAddOns, kMsfs };

FolderKind kind_of_subfolders(const std::string& folder, const FolderEntries& entries) {
  if (!find_name(entries.files, "add-on.xml").empty()) return FolderKind::kAddOns;
  if (!find_name(entries.files, "layout.json").empty() ||
      !find_name(entries.files, "manifest.json").empty()) {
    return FolderKind::kMsfs;
  }
  bool msfs = false;
  for (const std::string& name : entries.folders) {
    FolderEntries sub;
    list_sorted(join_path(folder, name), sub);
    if (!find_name(sub.files, "add-on.xml").empty()) return FolderKind::kAddOns;
    if (!find_name(sub.files, "layout.json").empty() ||
        !find_name(sub.files, "manifest.json").empty()) {
      msfs = true;
    }
  }
  return msfs ? FolderKind::kMsfs : FolderKind::kNone;
}

}  // namespace

int read_library(const std::string& library, const LibraryOptions& options, Library& out,
                 std::string& error) {
  out = Library{};
  error.clear();
  if (platform::is_file(library.c_str())) {
    if (equal_ignoring_case(last_part(library), "add-ons.cfg")) {
      return read_addons_cfg(library, options, out, error);
    }
    const int status = read_scenery_cfg(library, options, out, error);
    if (status != kNotALibrary) return status;
    // An add-ons.cfg under another name.
    Library addons;
    std::string addons_error;
    const int addons_status = read_addons_cfg(library, options, addons, addons_error);
    if (addons_status == kNotALibrary) return status;
    out = std::move(addons);
    error = std::move(addons_error);
    return addons_status;
  }
  if (!platform::is_folder(library.c_str())) return not_found(library, error);
  FolderEntries entries;
  if (int code = list_sorted(library, entries)) {
    error = unreadable(library, code);
    return code;
  }
  if (!options.official_folder.empty() || !options.content_xml.empty()) {
    return read_msfs_packages(library, options, out, error);
  }
  if (const std::string cfg = find_name(entries.files, "scenery.cfg"); !cfg.empty()) {
    return read_scenery_cfg(join_path(library, cfg), options, out, error);
  }
  switch (kind_of_subfolders(library, entries)) {
    case FolderKind::kAddOns:
      return read_addon_packages(library, options, out, error);
    case FolderKind::kMsfs:
      return read_msfs_packages(library, options, out, error);
    case FolderKind::kNone:
      break;
  }
  // The folder above Community, with Official beside it.
  if (const std::string community = find_name(entries.folders, "Community"); !community.empty()) {
    LibraryOptions with_official = options;
    if (const std::string official = find_name(entries.folders, "Official"); !official.empty()) {
      with_official.official_folder = join_path(library, official);
    }
    return read_msfs_packages(join_path(library, community), with_official, out, error);
  }
  error =
      library + ": neither a scenery.cfg nor a folder of Prepar3D add-on packages or MSFS packages";
  return kNotALibrary;
}

}  // namespace terrova::library
