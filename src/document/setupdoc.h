#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/setup.h"
#include "mechanics/wiremechanics.h"
#include "model/bracket.h"
#include "model/tooth.h"

namespace orvela {

// The setup as a value: everything that rebuilds its teeth and wires exactly, in list order,
// with the model settings their forces depend on, and the view the caller keeps beside it.
// Positions are absolute model units (0.1 mm), angles radians, as the model holds them; a
// setup file (setupfile.h) is this value written out.

struct TAttachmentDocument {
  std::string Name;
  TPointDouble Origin;
  // Of the slot, relative to the bracket's axis.
  double Angulation = 0.0;
  // The wires tied here as indices into TSetupDocument::Wires, in the order the attachment
  // lists them, which is the order a tooth sums their forces in; a wire tied here by both
  // ends is listed twice.
  std::vector<std::size_t> Wires;

  friend bool operator==(const TAttachmentDocument&, const TAttachmentDocument&) = default;
};

struct TBracketDocument {
  TBracketPose Pose;
  std::vector<TAttachmentDocument> Attachments;

  friend bool operator==(const TBracketDocument&, const TBracketDocument&) = default;
};

struct TToothDocument {
  // The FDI number of the type (33…36, 43…46); none for the Generic tooth.
  std::optional<std::int32_t> Type;
  TToothGeometry Geometry;
  bool Ankylosed = false;
  TResponceCurve Responce = DefaultResponce;
  // What Set as Reference keeps: the outline (empty when none or cleared) and the pose.
  std::vector<TPointDouble> ReferenceOutline;
  TPointDouble ReferenceCRes;
  double ReferenceTip = 0.0;
  std::vector<TBracketDocument> Brackets;

  friend bool operator==(const TToothDocument&, const TToothDocument&) = default;
};

// The attachment a wire end is tied to: its tooth in TSetupDocument::Teeth, the bracket on
// that tooth and the attachment on that bracket, each counted from 0.
struct TTieDocument {
  std::size_t Tooth = 0;
  std::size_t Bracket = 0;
  std::size_t Attachment = 0;

  friend auto operator<=>(const TTieDocument&, const TTieDocument&) = default;
};

struct TWireEndDocument {
  // None for a free end, which lies at Free.
  std::optional<TTieDocument> Tie;
  TPointDouble Free;

  friend bool operator==(const TWireEndDocument&, const TWireEndDocument&) = default;
};

struct TWireDocument {
  TWireMaterial Material;
  TWireSize Size;
  // End A, end B.
  std::array<TWireEndDocument, 2> Ends;
  // In the wire's order.
  std::vector<TWireBend> Bends;

  friend bool operator==(const TWireDocument&, const TWireDocument&) = default;
};

// What the view showed, in the view's own numbers; the setup does not hold it, the caller
// fills it before writing and reads it after reading.
struct TSetupView {
  std::int32_t Zoom = 1500;  // TViewMapping::ZoomValue: 1500 is 150 %
  std::int32_t ScrollX = 0;  // TViewMapping::H, model units
  std::int32_t ScrollY = 0;  // TViewMapping::V, model units
  double ForceScale = 4.0;   // TForceDrawing::Scale, gf per model unit of arrow

  friend bool operator==(const TSetupView&, const TSetupView&) = default;
};

struct TSetupDocument {
  TModelSettings Settings;
  std::vector<TToothDocument> Teeth;
  std::vector<TWireDocument> Wires;
  TSetupView View;

  friend bool operator==(const TSetupDocument&, const TSetupDocument&) = default;
};

// One tooth with its brackets and attachments; the attachments' wire lists stay empty.
TToothDocument CaptureTooth(const TTooth& tooth);

// The whole setup; the view keeps its defaults. A wire end tied to an attachment of no tooth
// of the setup is taken as free where it lies.
TSetupDocument CaptureSetup(const TSetup& setup);

// Where a document does not hold together: a JSON pointer into its file form (setupfile.h)
// and what is wrong there.
struct TSetupProblem {
  std::string Pointer;
  std::string Message;
};

// The first tie to a tooth, bracket or attachment that is not there, attachment wire list
// that is not exactly the wire ends tied there, or tooth type that does not exist.
std::optional<TSetupProblem> CheckSetupDocument(const TSetupDocument& doc);

// The wire lists the attachments would hold had the wires been tied in list order, end A
// before end B, for every attachment that holds one.
std::vector<std::pair<TTieDocument, std::vector<std::size_t>>> TyingOrder(
    const std::vector<TWireDocument>& wires);

// Replaces the model settings, teeth and wires of the setup by the document's; nothing is
// selected afterwards. The forces are then bit for bit those of the setup it was captured
// from. False, and the setup as it was, when CheckSetupDocument finds a problem.
bool RestoreSetup(const TSetupDocument& doc, TSetup& setup);

}  // namespace orvela
