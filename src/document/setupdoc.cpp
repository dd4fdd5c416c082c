#include "document/setupdoc.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

#include "model/catalogue.h"
#include "model/wire.h"

namespace orvela {

namespace {

std::string Index(std::size_t i) { return std::to_string(i); }

std::string ToothPointer(std::size_t t) { return "/teeth/" + Index(t); }

std::string AttachmentPointer(const TTieDocument& at) {
  return ToothPointer(at.Tooth) + "/brackets/" + Index(at.Bracket) + "/attachments/" +
         Index(at.Attachment);
}

// The problem with a tie, if any, pointing at the end's key that is wrong.
std::optional<TSetupProblem> CheckTie(const TSetupDocument& doc, const TTieDocument& tie,
                                      const std::string& end) {
  if (tie.Tooth >= doc.Teeth.size()) {
    return TSetupProblem{end + "/tooth", "there is no tooth " + Index(tie.Tooth) +
                                             " (the setup has " + Index(doc.Teeth.size()) + ")"};
  }
  const TToothDocument& tooth = doc.Teeth[tie.Tooth];
  if (tie.Bracket >= tooth.Brackets.size()) {
    return TSetupProblem{end + "/bracket",
                         "tooth " + Index(tie.Tooth) + " has no bracket " + Index(tie.Bracket)};
  }
  if (tie.Attachment >= tooth.Brackets[tie.Bracket].Attachments.size()) {
    return TSetupProblem{end + "/attachment", "bracket " + Index(tie.Bracket) + " of tooth " +
                                                  Index(tie.Tooth) + " has no attachment " +
                                                  Index(tie.Attachment)};
  }
  return std::nullopt;
}

}  // namespace

TToothDocument CaptureTooth(const TTooth& tooth) {
  TToothDocument doc;
  doc.Type = tooth.Fdi();
  doc.Geometry = tooth.Geometry();
  doc.Ankylosed = tooth.Ankylosed();
  doc.Responce = tooth.Responce;
  doc.ReferenceOutline = tooth.origOutline;
  doc.ReferenceCRes = tooth.OriginalCRes();
  doc.ReferenceTip = tooth.OriginalTip();
  doc.Brackets.reserve(tooth.Brackets().size());
  for (const auto& bracket : tooth.Brackets()) {
    TBracketDocument& b = doc.Brackets.emplace_back();
    b.Pose = bracket->Pose();
    b.Attachments.reserve(bracket->Attachments.size());
    for (const auto& att : bracket->Attachments) {
      b.Attachments.push_back({att->Name(), att->Origin(), att->Angulation(), {}});
    }
  }
  return doc;
}

TSetupDocument CaptureSetup(const TSetup& setup) {
  TSetupDocument doc;
  doc.Settings = setup.ModelSettings();
  const TSetup::TToothList& teeth = setup.ToothList();
  const TSetup::TWireList& wires = setup.WireList();

  std::unordered_map<const TAttachment*, TTieDocument> places;
  doc.Teeth.reserve(teeth.size());
  for (std::size_t t = 0; t < teeth.size(); ++t) {
    doc.Teeth.push_back(CaptureTooth(*teeth[t]));
    const TBracketList& brackets = teeth[t]->Brackets();
    for (std::size_t b = 0; b < brackets.size(); ++b) {
      for (std::size_t a = 0; a < brackets[b]->Attachments.size(); ++a)
        places.emplace(brackets[b]->Attachments[a].get(), TTieDocument{t, b, a});
    }
  }

  std::unordered_map<const TWireStraight*, std::size_t> wireIndex;
  doc.Wires.reserve(wires.size());
  for (std::size_t w = 0; w < wires.size(); ++w) {
    const TWireStraight& wire = *wires[w];
    wireIndex.emplace(&wire, w);
    TWireDocument& out = doc.Wires.emplace_back();
    out.Material = wire.material;
    out.Size = wire.size;
    out.Bends = wire.Bends();
    for (std::size_t end = 0; end < 2; ++end) {
      const TAttachment* att = wire.Attachments[end];
      const auto place = places.find(att);
      if (wire.IsTied(end) && place != places.end()) {
        out.Ends[end].Tie = place->second;
      } else {
        out.Ends[end].Free = att->Origin();
      }
    }
  }

  // Each attachment's list as it stands; a wire held by no end of the list cannot be named.
  for (const auto& [att, at] : places) {
    std::vector<std::size_t>& list =
        doc.Teeth[at.Tooth].Brackets[at.Bracket].Attachments[at.Attachment].Wires;
    for (const TWireStraight* wire : att->Wires()) {
      if (const auto it = wireIndex.find(wire); it != wireIndex.end()) list.push_back(it->second);
    }
  }
  return doc;
}

std::vector<std::pair<TTieDocument, std::vector<std::size_t>>> TyingOrder(
    const std::vector<TWireDocument>& wires) {
  std::map<TTieDocument, std::vector<std::size_t>> lists;
  for (std::size_t w = 0; w < wires.size(); ++w) {
    for (const TWireEndDocument& end : wires[w].Ends) {
      if (end.Tie) lists[*end.Tie].push_back(w);
    }
  }
  return {lists.begin(), lists.end()};
}

std::optional<TSetupProblem> CheckSetupDocument(const TSetupDocument& doc) {
  for (std::size_t t = 0; t < doc.Teeth.size(); ++t) {
    const std::optional<std::int32_t> type = doc.Teeth[t].Type;
    if (type && !IsToothType(*type)) {
      return TSetupProblem{ToothPointer(t) + "/type",
                           "there is no tooth type " + std::to_string(*type)};
    }
  }
  for (std::size_t w = 0; w < doc.Wires.size(); ++w) {
    for (std::size_t e = 0; e < 2; ++e) {
      const std::optional<TTieDocument>& tie = doc.Wires[w].Ends[e].Tie;
      if (!tie) continue;
      const std::string end = "/wires/" + Index(w) + "/ends/" + Index(e);
      if (auto problem = CheckTie(doc, *tie, end)) return problem;
    }
  }
  // Every list must hold exactly the ends tied there, in some order.
  const auto tied = TyingOrder(doc.Wires);
  auto next = tied.begin();
  for (std::size_t t = 0; t < doc.Teeth.size(); ++t) {
    const std::vector<TBracketDocument>& brackets = doc.Teeth[t].Brackets;
    for (std::size_t b = 0; b < brackets.size(); ++b) {
      for (std::size_t a = 0; a < brackets[b].Attachments.size(); ++a) {
        const TTieDocument here{t, b, a};
        std::vector<std::size_t> listed = brackets[b].Attachments[a].Wires;
        std::sort(listed.begin(), listed.end());
        const bool holds = next != tied.end() && next->first == here;
        if (listed != (holds ? next->second : std::vector<std::size_t>{})) {
          return TSetupProblem{AttachmentPointer(here) + "/wires",
                               "the list is not the wire ends tied to this attachment"};
        }
        if (holds) ++next;
      }
    }
  }
  return std::nullopt;
}

bool RestoreSetup(const TSetupDocument& doc, TSetup& setup) {
  if (CheckSetupDocument(doc)) return false;
  // Built aside and moved in at the end, so that a failed allocation leaves the setup as it
  // was. The wires are declared last so that they go first.
  TSetup::TToothList teeth;
  TSetup::TWireList wires;
  teeth.reserve(doc.Teeth.size());
  wires.reserve(doc.Wires.size());
  for (const TToothDocument& t : doc.Teeth) {
    std::unique_ptr<TTooth> tooth = t.Type ? CreateTooth(*t.Type) : std::make_unique<TTooth>();
    tooth->SetGeometry(t.Geometry);
    tooth->SetAnkylosed(t.Ankylosed);
    tooth->SetResponce(t.Responce);
    tooth->origOutline = t.ReferenceOutline;
    tooth->SetOriginalPosition(t.ReferenceCRes, t.ReferenceTip);
    for (const TBracketDocument& b : t.Brackets) {
      TBracket& bracket = tooth->AddBracket(b.Pose);
      bracket.Attachments.clear();
      bracket.Attachments.reserve(b.Attachments.size());
      for (const TAttachmentDocument& a : b.Attachments) {
        bracket.Attachments.push_back(
            std::make_unique<TAttachment>(&bracket, a.Name, a.Origin, a.Angulation));
      }
    }
    teeth.push_back(std::move(tooth));
  }
  const auto attachmentAt = [&teeth](const TTieDocument& at) {
    return teeth[at.Tooth]->Brackets()[at.Bracket]->Attachments[at.Attachment].get();
  };
  // The wires refer to the setup's own settings, which SetModelSettings below overwrites in
  // place.
  for (const TWireDocument& w : doc.Wires) {
    auto wire = std::make_unique<TWireStraight>(setup.ModelSettings());
    wire->SetMaterial(w.Material);
    wire->SetSize(w.Size);
    wire->SetBends(w.Bends);
    for (std::size_t end = 0; end < 2; ++end) {
      TAttachment* at = wire->Attachments[end];
      if (w.Ends[end].Tie) {
        wire->SetAttachment(at, attachmentAt(*w.Ends[end].Tie));
      } else {
        at->SetOrigin(w.Ends[end].Free);
      }
    }
    wires.push_back(std::move(wire));
  }
  // Tying in wire order lists the wires so; where the document lists them otherwise, the
  // list is laid anew, since a tooth sums the forces in that order.
  for (std::size_t t = 0; t < doc.Teeth.size(); ++t) {
    for (std::size_t b = 0; b < doc.Teeth[t].Brackets.size(); ++b) {
      const std::vector<TAttachmentDocument>& atts = doc.Teeth[t].Brackets[b].Attachments;
      for (std::size_t a = 0; a < atts.size(); ++a) {
        TAttachment& att = *attachmentAt({t, b, a});
        const std::vector<std::size_t>& order = atts[a].Wires;
        const bool same =
            std::equal(order.begin(), order.end(), att.Wires().begin(), att.Wires().end(),
                       [&wires](std::size_t w, const TWireStraight* listed) {
                         return wires[w].get() == listed;
                       });
        if (same) continue;
        while (!att.Wires().empty()) att.DetachWire(att.Wires().front());
        for (const std::size_t w : order) att.AttachWire(wires[w].get());
      }
    }
  }

  setup.ResetNew();
  setup.SetModelSettings(doc.Settings);
  setup.ToothList() = std::move(teeth);
  setup.WireList() = std::move(wires);
  return true;
}

}  // namespace orvela
