// Path helpers of the runs: the folder of a path, a changed extension and a joined path. Paths
// are UTF-8 text with '/' or '\' separators.
#pragma once

#include <string>

namespace terrova {

// The directory part of a path, separator kept: 'C:\scenery\out.xml' gives 'C:\scenery\'; a
// path without a separator (index 0 is never examined) gives an empty text.
std::string directory_of(const std::string& path);
// The name cut at its last '.', if any, with the extension appended.
std::string replace_extension(const std::string& name, const std::string& extension);
// The relative path under the folder, joined by the platform's separator unless the folder ends
// in one; an empty folder gives the relative path alone.
std::string join_path(const std::string& folder, const std::string& relative);

}  // namespace terrova
