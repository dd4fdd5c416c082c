#pragma once

#include "document/setup.h"
#include "scenes.h"

namespace orvela::test {

// Hands the scene's teeth and wires over to the setup (teeth first, so that every wire's
// attachments are already owned when the wire arrives). The scene is left empty.
void LoadScene(TSetup& setup, TScene&& scene);

}  // namespace orvela::test
