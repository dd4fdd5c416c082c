#include "setup_scenes.h"

#include <utility>

namespace orvela::test {

void LoadScene(TSetup& setup, TScene&& scene) {
  for (auto& tooth : scene.Teeth) setup.AddTooth(std::move(tooth));
  for (auto& wire : scene.Wires) setup.AddWire(std::move(wire));
  scene.Wires.clear();
  scene.Teeth.clear();
}

}  // namespace orvela::test
