// Replacing a file only once its new content is completely written.
// Portable: std::filesystem only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace xls {

// Writes the bytes to a new temporary file beside the target, then renames it
// over the target. On any failure the temporary file is removed, the target
// is left as it was and std::filesystem::filesystem_error is thrown.
// (The Win32 export may do the final step with MoveFileExW and
// MOVEFILE_REPLACE_EXISTING; libstdc++'s rename does the same there.)
void WriteFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// A path from a wide file name without help from the C locale: on Linux the
// name becomes UTF-8 even when the locale is "C".
std::filesystem::path PathFromWide(std::wstring_view name);

} // namespace xls
