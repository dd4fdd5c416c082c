#include "workspace/history.h"

#include <memory>
#include <vector>

namespace orvela {

namespace {

template <class T>
std::size_t IndexIn(const std::vector<std::unique_ptr<T>>& list, const T* object) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].get() == object) return i;
  }
  return list.size();
}

}  // namespace

TSelectionPlace PlaceOfSelection(const TSetup& setup) {
  using TKind = TSelectionPlace::TKind;
  if (const TTooth* tooth = setup.SelectedTooth()) {
    return {TKind::Tooth, IndexIn(setup.ToothList(), tooth)};
  }
  if (const TWireStraight* wire = setup.SelectedWire()) {
    return {TKind::Wire, IndexIn(setup.WireList(), wire)};
  }
  return {};
}

void SelectPlace(TSetup& setup, TSelectionPlace place) {
  using TKind = TSelectionPlace::TKind;
  if (place.Kind == TKind::Tooth && place.Index < setup.ToothList().size()) {
    setup.Select(setup.ToothList()[place.Index].get());
  } else if (place.Kind == TKind::Wire && place.Index < setup.WireList().size()) {
    setup.Select(setup.WireList()[place.Index].get());
  } else {
    setup.ClearSelection();
  }
}

TSetupState CaptureState(const TSetup& setup) {
  return {CaptureSetup(setup), PlaceOfSelection(setup), setup.History(), setup.ToothKeys()};
}

void RestoreState(const TSetupState& state, TSetup& setup) {
  RestoreSetup(state.Document, setup);
  setup.SetToothKeys(state.ToothKeys);
  setup.SetHistory(state.History);
  SelectPlace(setup, state.Selection);
}

void TSetupChange::redo() {
  if (FDone) {
    FDone = false;
    return;
  }
  FApply(FAfter);
}

}  // namespace orvela
