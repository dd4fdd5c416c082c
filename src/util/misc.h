#pragma once

#include <cstdint>
#include <string>

namespace orvela {

// Special folder numbers understood by ShellFolderPath.
inline constexpr std::int32_t PersonalFolderId = 5;        // the user's documents
inline constexpr std::int32_t CommonAppDataFolderId = 35;  // shared application data

// Path of special folder `id` without a trailing "/", or empty when it cannot be found
// (or, with `create`, cannot be created). Unknown ids give empty.
std::string ShellFolderPath(std::int32_t id, bool create);

}  // namespace orvela
