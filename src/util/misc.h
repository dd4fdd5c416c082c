#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/nestedlist.h"

namespace orvela {

// Special folder numbers understood by ShellFolderPath.
inline constexpr std::int32_t PersonalFolderId = 5;        // the user's documents
inline constexpr std::int32_t CommonAppDataFolderId = 35;  // shared application data

// The text without the runs of c at both ends; empty when it holds nothing else.
std::string TrimChar(std::string_view text, char c);

// Fields of text separated by sep. Runs of separators give no empty fields; a field that
// begins with '"' runs to the next '"' (to the end when none follows) and may hold sep.
// The last field loses the double quotes at its two ends.
std::vector<std::string> SplitQuoted(std::string_view text, char sep);

std::int32_t IntMax(std::int32_t a, std::int32_t b);
std::int32_t IntMin(std::int32_t a, std::int32_t b);

// Copies the files and sub-folders of source into destination, recursively. Never
// overwrites and never deletes; failures are ignored. A copy is a new file of the user's
// (0666 less the umask) whatever the mode of its source. The destination itself is created
// only as the parent of a copied sub-folder, so files at the top level are copied only when
// it already exists (a second call copies them). Folder links are not followed, and the
// destination is never copied into itself.
void CopyFolderTree(const std::string& source, const std::string& destination);

// "major.minor.release.build": the program's own version for an empty name; for another
// module the four numbers it exports as `const std::uint16_t OrvelaFileVersion[4]`
// (extern "C"), or "0" when it cannot be loaded or carries no version.
std::string FileVersionText(const std::string& fileName);

// Path of special folder `id` without a trailing "/", or empty when it cannot be found
// (or, with `create`, cannot be created). Unknown ids give empty.
std::string ShellFolderPath(std::int32_t id, bool create);

}  // namespace orvela
