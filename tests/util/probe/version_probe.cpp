// A loadable module carrying a file version, for FileVersionText.
#include <cstdint>

extern "C" {
__attribute__((visibility("default"))) extern const std::uint16_t OrvelaFileVersion[4];
const std::uint16_t OrvelaFileVersion[4] = {3, 14, 159, 65535};
}
