#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "graphics/shapes.h"

namespace orvela {

// Kind of symbol a handle shows. The order is fixed.
enum TOGLMarkerType : std::uint8_t {
  oglmCross,
  oglmSquare,
  oglmCircle,
  oglmDiamond,
  oglmTriangle,
  oglmInvTriangle,
  oglmDot,
  oglmImage,
  oglmNone,
};

// Cursor numbers a handle can ask for: 0 the default arrow, 1–4 the program's own cursors
// (registered at start under these numbers), −22 the platform's four-way move cursor, −23
// the platform's sideways split cursor (sliding a bend along its wire).
inline constexpr std::int16_t DefaultCursor = 0;
inline constexpr std::int16_t PlierCursor = 1;
inline constexpr std::int16_t RotateCursor = 2;
inline constexpr std::int16_t ZoomCursor = 3;
inline constexpr std::int16_t MoverCursor = 4;
inline constexpr std::int16_t MoveCursor = -22;
inline constexpr std::int16_t BendCursor = -23;

// The drags a handle can start; the select tool dispatches on these.
enum class THandleAction : std::uint8_t { None, Translate, Rotate, TieWire, MoveBend };

// Half-width in device pixels of a marker that is given no other.
inline constexpr std::int32_t DefaultMarkerSize = 5;

// What the handles of teeth, brackets and wires are drawn with: the program's two picture
// lists (44 × 44 and 22 × 22 pixels), observers that the platform layer owns and null
// without one.
struct TMarkerStyle {
  const TImageList* Markers = nullptr;
  const TImageList* WireMarkers = nullptr;
};

// Extent in model units of n × m device pixels on the surface's current mapping:
// DeviceToLogical(n, m) − DeviceToLogical(0, 0), with y negated, so both are positive on the
// y-up mapping.
TPoint PixelExtent(const TCanvas& aCanvas, std::int32_t n, std::int32_t m);

// An on-screen handle: a symbol of fixed pixel size at origin (model units) whatever the
// zoom, hit-tested with a box of the same pixel size. corner is not used. At creation the
// pen is not-xor and clear and the brush black, so a default cross draws nothing visible.
class TMarker : public TShape {
 public:
  TOGLMarkerType ShapeType = oglmCross;
  // Source of the picture for oglmImage; not owned.
  const TImageList* ImageList = nullptr;
  // Half-width of the symbol in device pixels.
  std::int32_t size = DefaultMarkerSize;
  std::int32_t imageIdx = 0;

  TMarker();

  // Draws the symbol at origin and leaves the surface's pen and brush as they were.
  void Draw(TCanvas& aCanvas) const override;

  // Whether the model point lies in the handle's pixel box (edges included): the picture's
  // half size for oglmImage, size × size otherwise, converted through the surface.
  bool Contains(std::int32_t ax, std::int32_t ay, const TCanvas& aCanvas) const;

  // |origin − a| ≤ size on both axes, size taken in the caller's own units (the response
  // editor's, whose points are not drawn through a pixel mapping).
  bool ContainsInUnits(std::int32_t ax, std::int32_t ay) const;
};

// What a handle's owner derives from, so that the tools can find the tooth or attachment
// behind a handle (dynamic_cast). A handle never frees its owner.
class TMarkerOwner {
 public:
  TMarkerOwner() = default;
  TMarkerOwner(const TMarkerOwner&) = default;
  TMarkerOwner& operator=(const TMarkerOwner&) = default;
  virtual ~TMarkerOwner() = default;
};

// A handle with what the interaction tools need.
class TMarkerExtended : public TMarker {
 public:
  // Cursor shown over the handle: 0 the default arrow, 1–4 the program's cursors, −22 the
  // platform's four-way move cursor.
  std::int16_t Cursor = 0;
  // Status-line text while the pointer is over the handle.
  std::string Hint;
  THandleAction Action = THandleAction::None;
  // The tooth or attachment the handle belongs to; observer, never freed.
  TMarkerOwner* Owner = nullptr;
  // Which part of the owner the handle stands for: a wire's bend.
  std::size_t Index = 0;
};

// Whoever holds the list owns the markers.
using TMarkerList = std::vector<std::unique_ptr<TMarkerExtended>>;

// The picture handle that teeth, brackets and wires offer: picture imageIdx of images at
// position (rounded to the nearest model unit), with its status-line hint, cursor number and
// action, belonging to owner.
std::unique_ptr<TMarkerExtended> MakeImageMarker(TPointDouble position, const TImageList* images,
                                                 std::int32_t imageIdx, std::string hint,
                                                 std::int16_t cursor, THandleAction action,
                                                 TMarkerOwner* owner);

}  // namespace orvela
