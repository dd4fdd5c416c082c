#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/teeth.h"

namespace orvela::test {

// A setup of teeth tied by wires, owning both. Wires are declared last so that they are
// destroyed first, while the attachments they are tied to still exist.
struct TScene {
  std::vector<std::unique_ptr<TTooth>> Teeth;
  std::vector<std::unique_ptr<TWireStraight>> Wires;

  TScene() = default;
  TScene(TScene&&) = default;
  TScene& operator=(TScene&&) noexcept;
  ~TScene();

  // Creates the tooth of that FDI number with its standard bracket, moved by offset.
  TTooth& AddTooth(std::int32_t fdi, TPointDouble offset);
  // A new wire of row 2 of each table (Nitinol, 0.014 round: a light wire whose forces
  // between neighbours stay near 100 gf) with end A tied at a and end B at b.
  TWireStraight& Tie(TAttachment& a, TAttachment& b);
};

// The attachment of that name on the tooth's first bracket.
TAttachment& AttachmentOf(const TTooth& tooth, std::string_view name);

// (a) A lower left canine and first premolar side by side, the canine's "Mesial" tied to
// the premolar's "Distal" by one wire that is bent (the premolar sits higher and is
// turned a few degrees).
TScene MakeCanineAndPremolarScene();

// (b) All eight lower teeth in a row, 46 … 43, 33 … 36 from left to right, each
// neighbour's "Mesial" tied to the next one's "Distal" (seven wires); the brackets are
// levelled on y = 530 and 45, 43, 33 and 35 are turned by 2 to 4 degrees.
TScene MakeLowerArchScene();

// (c) copies of scene (b), one below the other: 8 × copies teeth, 7 × copies wires.
TScene MakeLargeScene(std::int32_t copies);

// One step of a run: every tooth's TotalForce first, then every OrthoMove in order.
void SimulationStep(TScene& scene);

}  // namespace orvela::test
