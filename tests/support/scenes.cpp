#include "scenes.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orvela::test {

namespace {

constexpr double Degree = Pi / 180.0;

struct TArchPlace {
  std::int32_t Fdi;
  double X;     // where the tooth's local origin goes
  double Turn;  // degrees, about cRes
};

// Left to right as seen from the side: widths of about 11 mm (molars) and 7 mm (others)
// with small gaps, so that every wire spans 2 to 4 mm.
constexpr double BracketLine = 530.0;

constexpr std::array<TArchPlace, 8> ArchPlaces{{
    {46, 70, 0.0},
    {45, 175, 3.0},
    {44, 255, 0.0},
    {43, 335, -4.0},
    {33, 415, 2.0},
    {34, 495, 0.0},
    {35, 575, -3.0},
    {36, 670, 0.0},
}};

void AddArch(TSetup& setup, double dy) {
  std::vector<TTooth*> row;
  for (const TArchPlace& place : ArchPlaces) {
    // New teeth start with their local origin at (200, 850).
    TTooth& tooth = AddTooth(setup, place.Fdi, {place.X - 200.0, 0.0});
    // Brackets levelled on one line; only the turns bend the wires.
    tooth.Translate({0.0, BracketLine + dy - tooth.Brackets()[0]->Origin().y});
    tooth.Rotate(tooth.cRes(), place.Turn * Degree);
    row.push_back(&tooth);
  }
  for (std::size_t i = 0; i + 1 < row.size(); ++i)
    Tie(setup, AttachmentOf(*row[i], "Mesial"), AttachmentOf(*row[i + 1], "Distal"));
}

}  // namespace

TTooth& AddTooth(TSetup& setup, std::int32_t fdi, TPointDouble offset) {
  auto tooth = CreateTooth(fdi);
  if (!tooth) throw std::invalid_argument("no tooth type " + std::to_string(fdi));
  tooth->AddBracket(0, StandardBracketDepth(fdi));
  tooth->Translate(offset);
  return setup.AddTooth(std::move(tooth));
}

TWireStraight& Tie(TSetup& setup, TAttachment& a, TAttachment& b) {
  auto wire = std::make_unique<TWireStraight>(setup.ModelSettings());
  wire->material = setup.ModelSettings().MaterialTable[2];
  wire->size = setup.ModelSettings().SizeTable[2];
  wire->SetAttachment(wire->Attachments[0], &a);
  wire->SetAttachment(wire->Attachments[1], &b);
  return setup.AddWire(std::move(wire));
}

TAttachment& AttachmentOf(const TTooth& tooth, std::string_view name) {
  for (const auto& att : tooth.Brackets().at(0)->Attachments) {
    if (att->Name() == name) return *att;
  }
  throw std::invalid_argument("no attachment " + std::string(name));
}

void AddCanineAndPremolarScene(TSetup& setup) {
  TTooth& canine = AddTooth(setup, 33, {200, -300});
  TTooth& premolar = AddTooth(setup, 34, {285, -290});
  premolar.Rotate(premolar.cRes(), -5.0 * Degree);
  Tie(setup, AttachmentOf(canine, "Mesial"), AttachmentOf(premolar, "Distal"));
}

void AddLowerArchScene(TSetup& setup) { AddArch(setup, 0.0); }

void AddLargeScene(TSetup& setup, std::int32_t copies) {
  for (std::int32_t k = 0; k < copies; ++k) AddArch(setup, -300.0 * k);
}

}  // namespace orvela::test
