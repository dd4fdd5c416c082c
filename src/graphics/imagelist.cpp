#include "graphics/imagelist.h"

namespace orvela {

const TImageList* ImageListMarkers = nullptr;
const TImageList* ImageListWireMarkers = nullptr;

}  // namespace orvela
