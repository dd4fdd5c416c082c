// The setup-file reader on any text: it refuses or reads, never crashes; what it reads
// rebuilds a setup whose capture is the same document, and writes out to a text that reads
// back to it and writes the same bytes again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/setup.h"
#include "document/setupdoc.h"
#include "document/setupfile.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  orvela::TSetupFileError error;
  const std::optional<orvela::TSetupDocument> doc = orvela::ReadSetupText(text, error);
  if (!doc) {
    Check(!error.Message.empty());
    return 0;
  }
  orvela::TSetup setup;
  Check(orvela::RestoreSetup(*doc, setup));
  for (const auto& tooth : setup.ToothList()) (void)tooth->TotalForce();
  orvela::TSetupDocument captured = orvela::CaptureSetup(setup);
  captured.View = doc->View;
  Check(captured == *doc);

  const std::string written = orvela::WriteSetupText(*doc);
  const std::optional<orvela::TSetupDocument> back = orvela::ReadSetupText(written, error);
  Check(back.has_value() && *back == *doc);
  Check(orvela::WriteSetupText(*back) == written);
  return 0;
}
