#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QString>
#include <QUndoCommand>

#include "document/setup.h"
#include "document/setupdoc.h"

namespace orvela {

// The selection as a place in the lists, which survives the setup being rebuilt from its
// document form.
struct TSelectionPlace {
  enum class TKind : std::uint8_t { None, Tooth, Wire };
  TKind Kind = TKind::None;
  std::size_t Index = 0;

  friend bool operator==(const TSelectionPlace&, const TSelectionPlace&) = default;
};

TSelectionPlace PlaceOfSelection(const TSetup& setup);
// Selects the object at the place, or nothing where there is none any more.
void SelectPlace(TSetup& setup, TSelectionPlace place);

// The setup and its selection at one moment, with the run history and the teeth's keys
// into it, which a document does not hold.
struct TSetupState {
  TSetupDocument Document;
  TSelectionPlace Selection;
  std::shared_ptr<const TRunHistory> History;
  std::vector<std::uint64_t> ToothKeys;
};

TSetupState CaptureState(const TSetup& setup);
// Rebuilds the setup from the state: its document, keys, history and selection.
void RestoreState(const TSetupState& state, TSetup& setup);

// One user action, kept as the setup before and after it; undo and redo hand one of the two
// to apply, which rebuilds the setup from it. The action has already happened when the
// command is pushed, so its first redo does nothing.
class TSetupChange : public QUndoCommand {
 public:
  using TApply = std::function<void(const TSetupState&)>;

  TSetupChange(const QString& text, TSetupState before, TSetupState after, TApply apply)
      : QUndoCommand(text),
        FBefore(std::move(before)),
        FAfter(std::move(after)),
        FApply(std::move(apply)) {}

  void undo() override { FApply(FBefore); }
  void redo() override;

 private:
  TSetupState FBefore;
  TSetupState FAfter;
  TApply FApply;
  bool FDone = true;
};

}  // namespace orvela
