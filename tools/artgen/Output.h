// Writing the generated artwork to disk.
#pragma once

#include "tools/artgen/Artwork.h"

#include <filesystem>
#include <string>

namespace artgen {

// One "NAME BITMAP "file"" line per bitmap and the MAINICON line, with the
// files named by absolute path in dir.
std::string ResourceScript(const std::vector<Art>& art, const std::filesystem::path& dir);
std::string BitmapFileName(const std::string& resourceName);

// Writes every bitmap, mainicon.ico and artwork.rc into dir (created when
// missing). On failure returns false and names the file in error.
bool WriteArtwork(const std::filesystem::path& dir, std::string& error);

} // namespace artgen
