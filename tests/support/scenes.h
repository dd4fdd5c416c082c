#pragma once

#include <cstdint>
#include <string_view>

#include "document/setup.h"
#include "model/teeth.h"

namespace orvela::test {

// Adds the tooth of that FDI number with its standard bracket, moved by offset, to the
// setup; the setup owns it.
TTooth& AddTooth(TSetup& setup, std::int32_t fdi, TPointDouble offset);

// Adds a wire of row 2 of each table (Nitinol, 0.014 round: a light wire whose forces between
// neighbours stay near 100 gf) with end A tied at a and end B at b; the setup owns it.
TWireStraight& Tie(TSetup& setup, TAttachment& a, TAttachment& b);

// The attachment of that name on the tooth's first bracket.
TAttachment& AttachmentOf(const TTooth& tooth, std::string_view name);

// The builders below append their teeth and wires after those the setup already holds.

// (a) A lower left canine and first premolar side by side, the canine's "Mesial" tied to
// the premolar's "Distal" by one wire that is bent (the premolar sits higher and is
// turned a few degrees).
void AddCanineAndPremolarScene(TSetup& setup);

// (b) All eight lower teeth in a row, 46 … 43, 33 … 36 from left to right, each
// neighbour's "Mesial" tied to the next one's "Distal" (seven wires); the brackets are
// levelled on y = 530 and 45, 43, 33 and 35 are turned by 2 to 4 degrees.
void AddLowerArchScene(TSetup& setup);

// (c) copies of scene (b), one below the other: 8 × copies teeth, 7 × copies wires.
void AddLargeScene(TSetup& setup, std::int32_t copies);

}  // namespace orvela::test
