#include "document/setupfile.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <random>
#include <regex>
#include <string>
#include <unistd.h>

#include "document/setup.h"
#include "document/setupdoc.h"
#include "files.h"
#include "model/teeth.h"
#include "scenes.h"

namespace orvela {
namespace {

constexpr double Degree = Pi / 180.0;

const std::string ExampleFile =
    std::string(ORVELA_BUILD_DATA_DIR) + "examples/canine-premolar.orvela";

// The schema test (setup_schema_test.sh) runs these tests with ORVELA_SCHEMA_SAMPLES set and
// checks every text they save against data/orvela-setup.schema.json.
void KeepForSchema(const std::string& name, const std::string& text) {
  if (const char* folder = std::getenv("ORVELA_SCHEMA_SAMPLES")) {
    test::WriteTextFile(std::filesystem::path(folder) / (name + ".orvela"), text);
  }
}

bool SameSystem(const TForceMoment& a, const TForceMoment& b) {
  return a.x == b.x && a.y == b.y && a.m == b.m && a.origin == b.origin;
}

// Every wire's systems at both ends and every tooth's total, compared with ==.
void ExpectSameForces(const TSetup& a, const TSetup& b) {
  ASSERT_EQ(a.ToothList().size(), b.ToothList().size());
  ASSERT_EQ(a.WireList().size(), b.WireList().size());
  for (std::size_t w = 0; w < a.WireList().size(); ++w) {
    const TWireStraight& wa = *a.WireList()[w];
    const TWireStraight& wb = *b.WireList()[w];
    for (std::size_t end = 0; end < 2; ++end) {
      EXPECT_TRUE(SameSystem(wa.Forces(*wa.Attachments[end]), wb.Forces(*wb.Attachments[end])))
          << "wire " << w << " end " << end;
    }
  }
  for (std::size_t t = 0; t < a.ToothList().size(); ++t) {
    EXPECT_EQ(a.ToothList()[t]->Name(), b.ToothList()[t]->Name());
    EXPECT_TRUE(SameSystem(a.ToothList()[t]->TotalForce(), b.ToothList()[t]->TotalForce()))
        << "tooth " << t;
  }
}

// What the shared scenes lack: a generic tooth, a second bracket with an attachment less, a
// free wire end, an attachment listing two wires against the order of the wire list, an
// ankylosed tooth, lost support, a curve of its own, a reference away from the pose, other
// model settings.
void AddOddities(TSetup& setup) {
  TModelSettings settings;
  settings.ZeroWidthBrackets = true;
  settings.MaterialTable[4] = {123456.789, "Gold \"24 ct\" / Ü", 312.5};
  settings.DefaultWireSize = settings.SizeTable[5];
  setup.SetModelSettings(settings);
  test::AddCanineAndPremolarScene(setup);
  TTooth& canine = *setup.ToothList()[0];
  TTooth& premolar = *setup.ToothList()[1];
  canine.SetSupportLoss(25);
  canine.MoveResponcePoint(2, {55, 90});
  canine.SetAsOriginalPosition();
  canine.SetOriginalOutline();
  canine.Translate({3.25, -1.0 / 3.0});
  canine.Rotate(canine.cRes(), 0.1);
  premolar.SetAnkylosed(true);
  TBracket& second = premolar.AddBracket(4, 70);
  second.Attachments.pop_back();
  premolar.Rotate(premolar.cRes(), -0.05);

  TWireStraight& first = test::Tie(setup, test::AttachmentOf(canine, "Point Contact"),
                                   test::AttachmentOf(premolar, "Point Contact"));
  test::Tie(setup, *canine.Brackets()[0]->Attachments[1], *second.Attachments[0]);
  // premolar's Point Contact now lists the last wire before the first.
  test::Tie(setup, *second.Attachments[1], test::AttachmentOf(premolar, "Point Contact"));
  first.SetAttachment(first.Attachments[1], second.Attachments[1].get());
  first.SetAttachment(second.Attachments[1].get(), &test::AttachmentOf(premolar, "Point Contact"));
  first.AddBend({TBendKind::V, 0.3, 0.15});
  first.AddBend({TBendKind::Step, 0.7, -2.5});
  TWireStraight& loose = setup.AddNewWire();
  loose.SetAttachment(loose.Attachments[1], second.Attachments[0].get());
  loose.Attachments[0]->SetOrigin({12.5, 1e-7});
  setup.AddTooth(std::make_unique<TTooth>());
}

struct TScene {
  const char* Name;
  std::function<void(TSetup&)> Build;
};

const std::vector<TScene>& Scenes() {
  static const std::vector<TScene> scenes{
      {"canine-premolar", test::AddCanineAndPremolarScene},
      {"lower-arch", test::AddLowerArchScene},
      {"large", [](TSetup& s) { test::AddLargeScene(s, 3); }},
      {"oddities", AddOddities},
  };
  return scenes;
}

TEST(SetupDocument, RestoringACapturedSetupRebuildsItExactly) {
  for (const TScene& scene : Scenes()) {
    SCOPED_TRACE(scene.Name);
    TSetup original;
    scene.Build(original);
    const TSetupDocument doc = CaptureSetup(original);
    TSetup copy;
    test::AddLowerArchScene(copy);  // replaced, not added to
    copy.Select(copy.ToothList()[0].get());
    ASSERT_TRUE(RestoreSetup(doc, copy));
    EXPECT_FALSE(copy.HasSelection());
    EXPECT_TRUE(copy.MarkerList().empty());
    EXPECT_EQ(CaptureSetup(copy), doc);
    EXPECT_EQ(copy.ModelSettings(), original.ModelSettings());
    ExpectSameForces(original, copy);
    // Both move alike, step for step.
    for (int step = 0; step < 5; ++step) {
      original.RunStep();
      copy.RunStep();
    }
    EXPECT_EQ(CaptureSetup(copy), CaptureSetup(original));
    original.ResetToReference();
    copy.ResetToReference();
    ExpectSameForces(original, copy);
  }
}

TEST(SetupDocument, ADocumentThatDoesNotHoldTogetherLeavesTheSetupAsItWas) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  TSetupDocument doc = CaptureSetup(setup);
  doc.Wires[0].Ends[1].Tie->Attachment = 3;
  const std::optional<TSetupProblem> problem = CheckSetupDocument(doc);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->Pointer, "/wires/0/ends/1/attachment");
  TSetup other;
  test::AddLowerArchScene(other);
  EXPECT_FALSE(RestoreSetup(doc, other));
  EXPECT_EQ(other.ToothList().size(), 8u);
  EXPECT_EQ(other.WireList().size(), 7u);
}

TEST(SetupFile, TextAndFilesGiveTheDocumentBackAndTheSameBytes) {
  const test::TTempFolder folder;
  for (const TScene& scene : Scenes()) {
    SCOPED_TRACE(scene.Name);
    TSetup setup;
    scene.Build(setup);
    TSetupDocument doc = CaptureSetup(setup);
    doc.View = {2345, -17, 250, 0.1 + 0.2};
    const std::string text = WriteSetupText(doc);
    KeepForSchema(scene.Name, text);
    TSetupFileError error;
    const std::optional<TSetupDocument> read = ReadSetupText(text, error);
    ASSERT_TRUE(read) << error.Text();
    EXPECT_EQ(*read, doc);
    EXPECT_EQ(WriteSetupText(*read), text);

    const std::string path = (folder.Path() / (std::string(scene.Name) + ".orvela")).string();
    ASSERT_TRUE(SaveSetupFile(path, doc, error)) << error.Text();
    EXPECT_EQ(test::ReadTextFile(path), text);
    const std::optional<TSetupDocument> loaded = LoadSetupFile(path, error);
    ASSERT_TRUE(loaded) << error.Text();
    EXPECT_EQ(*loaded, doc);
  }
  // A name longer than a line is written on its line (it used to recurse without end).
  {
    TSetupDocument doc;
    doc.Settings.MaterialTable[4].Name = std::string(300, 'x');
    const std::string text = WriteSetupText(doc);
    TSetupFileError error;
    const std::optional<TSetupDocument> read = ReadSetupText(text, error);
    ASSERT_TRUE(read) << error.Text();
    EXPECT_EQ(*read, doc);
  }
  // Numbers neither written nor read in the process locale.
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
    TSetup setup;
    AddOddities(setup);
    const TSetupDocument doc = CaptureSetup(setup);
    const std::string text = WriteSetupText(doc);
    TSetupFileError error;
    const std::optional<TSetupDocument> read = ReadSetupText(text, error);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(read) << error.Text();
    EXPECT_EQ(*read, doc);
    EXPECT_FALSE(std::regex_search(text, std::regex("[0-9],[0-9]"))) << "a decimal comma";
  }
}

TEST(SetupFile, TheExampleOpensWithTeethPlacedByTypeAndPose) {
  KeepForSchema("example", test::ReadTextFile(ExampleFile));
  TSetupFileError error;
  const std::optional<TSetupDocument> doc = LoadSetupFile(ExampleFile, error);
  ASSERT_TRUE(doc) << error.Text();
  TSetup setup;
  ASSERT_TRUE(RestoreSetup(*doc, setup));
  ASSERT_EQ(setup.ToothList().size(), 2u);
  const TTooth& canine = *setup.ToothList()[0];
  const TTooth& premolar = *setup.ToothList()[1];
  EXPECT_EQ(canine.Fdi(), 33);
  EXPECT_EQ(premolar.Name(), "Lower Left First Premolar");
  EXPECT_NEAR(canine.cRes().x, 405.0, 1e-9);
  EXPECT_NEAR(canine.cRes().y, 486.0, 1e-9);
  EXPECT_NEAR(premolar.cRes().x, 485.0, 1e-9);
  EXPECT_NEAR(premolar.cRes().y, 504.0, 1e-9);
  EXPECT_NEAR(canine.Tip(), 0.0, 1e-12);
  EXPECT_NEAR(premolar.Tip(), -5.0 * Degree, 1e-12);
  // Support lost from the cervix down: 10 % of the 14 mm root.
  EXPECT_NEAR(premolar.rootLengthFunctional(), 0.9 * 140.0, 1e-9);
  EXPECT_EQ(canine.rootLengthFunctional(), canine.rootLengthAnatomic());
  // One bracket each, bonded as Add Tooth bonds it.
  ASSERT_EQ(canine.Brackets().size(), 1u);
  ASSERT_EQ(premolar.Brackets().size(), 1u);
  EXPECT_NEAR(PointDistance(canine.cusp, canine.Brackets()[0]->Origin()), 45.0, 1e-9);
  EXPECT_NEAR(PointDistance(premolar.cusp, premolar.Brackets()[0]->Origin()), 40.0, 1e-9);

  ASSERT_EQ(setup.WireList().size(), 1u);
  const TWireStraight& wire = *setup.WireList()[0];
  EXPECT_EQ(wire.material, BuiltInMaterials()[0]);
  EXPECT_EQ(wire.size, BuiltInSizes()[0]);
  EXPECT_EQ(wire.Attachments[0], &test::AttachmentOf(canine, "Mesial"));
  EXPECT_EQ(wire.Attachments[1], &test::AttachmentOf(premolar, "Distal"));
  EXPECT_GT(wire.Force(), 1.0);
}

// A valid text changed at one JSON pointer (or replaced whole), and where and what the
// reader must then complain of.
struct TBrokenCase {
  const char* Base;     // "full" (a captured scene), "pose" (the example) or "raw"
  const char* Change;   // a JSON pointer, or the whole text for "raw"
  const char* Value;    // JSON put there; nullptr removes the key
  const char* Pointer;  // expected
  const char* Message;  // expected part of the message
};

TEST(SetupFile, BrokenFilesAreRefusedWithTheFirstProblemAndWhere) {
  TSetup setup;
  test::AddCanineAndPremolarScene(setup);
  const std::string full = WriteSetupText(CaptureSetup(setup));
  const std::string pose = test::ReadTextFile(ExampleFile);
  ASSERT_FALSE(pose.empty());

  static const TBrokenCase Cases[] = {
      {"raw", "", nullptr, "", "ends early"},
      {"raw", "{\"format\": \"orvela-setup\", ", nullptr, "", "ends early"},
      {"raw", "{} x", nullptr, "", "not JSON"},
      {"raw", "{\"format\": \"orvela-setup\", \"version\": NaN}", nullptr, "", "not JSON"},
      {"raw", "[1, 2]", nullptr, "", "not a JSON object"},
      {"raw", "{\"format\": \"orvela-setup\", \"format\": 1}", nullptr, "/format", "given twice"},
      {"raw", "{\"teeth\": [{}, {\"type\": -1e999}]}", nullptr, "/teeth/1/type",
       "not a finite number"},
      {"raw", "{\"version\": 1}", nullptr, "/format", "not an Orvela setup file"},
      {"full", "/format", "\"orvela-settings\"", "/format", "not an Orvela setup file"},
      {"full", "/version", "3", "/version", "newer than this program reads"},
      {"full", "/version", "0", "/version", "no such version"},
      {"full", "/version", "\"1\"", "/version", "not a whole number"},
      {"full", "/version", nullptr, "/version", "missing"},
      {"full", "/extra", "1", "/extra", "unknown key"},
      {"full", "/teeth/1/geometry/cusp/0", "1e400", "/teeth/1/geometry/cusp/0",
       "not a finite number"},
      {"full", "/teeth/0/geometry/crown/3", "[1, 2, 3]", "/teeth/0/geometry/crown/3",
       "not an array of 2"},
      {"full", "/teeth/0/geometry/cRes", nullptr, "/teeth/0/geometry/cRes", "missing"},
      {"full", "/teeth/0/geometry/cervixDiameter", "60.5", "/teeth/0/geometry/cervixDiameter",
       "not a whole number"},
      {"full", "/teeth/0/type", "37", "/teeth/0/type", "no tooth type 37"},
      {"full", "/teeth/0/type", "\"33\"", "/teeth/0/type", "not a number"},
      {"full", "/teeth/0/ankylosed", "1", "/teeth/0/ankylosed", "not true or false"},
      {"full", "/teeth/1/response/2/0", "20", "/teeth/1/response/2/0", "x smaller"},
      {"full", "/teeth/1/response/4/1", "101", "/teeth/1/response/4/1", "outside 0…100"},
      {"full", "/teeth/1/response/4", nullptr, "/teeth/1/response", "not an array of 5"},
      {"full", "/teeth/0/brackets/0/slot/4", "[0, 0]", "/teeth/0/brackets/0/slot",
       "not an array of 4"},
      {"full", "/teeth/0/brackets/0/attachments/0/wires", "[0, 0]",
       "/teeth/0/brackets/0/attachments/0/wires", "not the wire ends tied"},
      {"full", "/teeth/0/brackets/0/attachments/1/wires", "[4]",
       "/teeth/0/brackets/0/attachments/1/wires/0", "no wire 4"},
      {"full", "/wires/0/ends/0/tooth", "2", "/wires/0/ends/0/tooth", "no tooth 2"},
      {"full", "/wires/0/ends/1/bracket", "1", "/wires/0/ends/1/bracket", "no bracket 1"},
      {"full", "/wires/0/ends/1/attachment", "3", "/wires/0/ends/1/attachment", "no attachment 3"},
      {"full", "/wires/0/ends/1/attachment", "-1", "/wires/0/ends/1/attachment", "outside"},
      {"full", "/wires/0/ends/1/attachment", "1.5", "/wires/0/ends/1/attachment",
       "not a whole number"},
      {"full", "/wires/0/ends/2", "{\"free\": [0, 0]}", "/wires/0/ends", "not an array of 2"},
      {"full", "/wires/0/bends", "[{\"kind\": \"V\", \"position\": 1, \"angle\": 0.1}]",
       "/wires/0/bends/0/position", "outside 0.01…0.99"},
      {"full", "/wires/0/bends", "[{\"kind\": \"loop\", \"position\": 0.5}]",
       "/wires/0/bends/0/kind", "not \"V\" or \"step\""},
      {"full", "/wires/0/bends", "[{\"kind\": \"step\", \"position\": 0.5, \"angle\": 1}]",
       "/wires/0/bends/0/angle", "unknown key"},
      {"full", "/wires/0/material/modulus", "0", "/wires/0/material/modulus", "outside"},
      {"full", "/wires/0/size/crossA", "-1", "/wires/0/size/crossA", "outside"},
      {"full", "/wires/0/material", "\"Gold\"", "/wires/0/material", "ships no wire material"},
      {"full", "/settings/materials/5", "{\"name\": \"x\", \"modulus\": 1}", "/settings/materials",
       "not an array of 5"},
      {"full", "/settings/sizes/2/crossB", "100.5", "/settings/sizes/2/crossB", "outside"},
      {"full", "/settings/defaultMaterial/modulus", "2e7", "/settings/defaultMaterial/modulus",
       "outside"},
      {"full", "/settings/zeroWidthBrackets", "\"yes\"", "/settings/zeroWidthBrackets",
       "not true or false"},
      {"full", "/view/zoom", "0", "/view/zoom", "outside"},
      {"full", "/view/forceScale", "-4", "/view/forceScale", "outside"},
      {"pose", "/teeth/0/type", "47", "/teeth/0/type", "no tooth type 47"},
      {"pose", "/teeth/0/cRes/0", "100.5", "/teeth/0/cRes/0", "outside the model area"},
      {"pose", "/teeth/0/cRes", nullptr, "/teeth/0/cRes", "missing"},
      {"pose", "/teeth/1/supportLoss", "150", "/teeth/1/supportLoss", "outside"},
      {"pose", "/teeth/1/angulation", "\"-5\"", "/teeth/1/angulation", "not a number"},
      {"pose", "/teeth/1/brackets", "[]", "/teeth/1/brackets", "unknown key"},
      {"pose", "/wires/0/size", "\"0.015\"", "/wires/0/size", "ships no wire size"},
      {"pose", "/wires/0/ends/1/attachment", "3", "/wires/0/ends/1/attachment", "no attachment 3"},
  };
  for (const TBrokenCase& c : Cases) {
    std::string text = c.Change;
    if (std::string_view(c.Base) != "raw") {
      nlohmann::json j = nlohmann::json::parse(std::string_view(c.Base) == "full" ? full : pose);
      const nlohmann::json::json_pointer at(c.Change);
      if (c.Value == nullptr) {
        j[at.parent_pointer()].erase(j[at.parent_pointer()].is_array()
                                         ? j[at.parent_pointer()].begin() + std::stoi(at.back())
                                         : j[at.parent_pointer()].find(at.back()));
        text = j.dump();
      } else {
        // Put in as text: a value such as 1e400 is no JSON value of the library's.
        j[at] = "@@";
        text = j.dump();
        text.replace(text.find("\"@@\""), 4, c.Value);
      }
    }
    SCOPED_TRACE(std::string(c.Base) + " " + c.Change + " = " + (c.Value ? c.Value : "(removed)"));
    TSetupFileError error;
    EXPECT_FALSE(ReadSetupText(text, error));
    EXPECT_EQ(error.Pointer, c.Pointer) << error.Text();
    EXPECT_NE(error.Message.find(c.Message), std::string::npos) << error.Text();
  }

  TSetupFileError error;
  EXPECT_FALSE(ReadSetupText(std::string(100, '[') + std::string(100, ']'), error));
  EXPECT_NE(error.Message.find("nested deeper"), std::string::npos) << error.Text();
  EXPECT_FALSE(ReadSetupText(std::string(SetupFileMaxBytes + 1, ' '), error));
  EXPECT_NE(error.Message.find("larger than 16 MiB"), std::string::npos) << error.Text();

  // Cut anywhere, a file is refused.
  for (const std::string* valid : {&pose, &full}) {
    for (std::size_t n = 0; n < valid->size(); ++n) {
      if (valid->find_first_not_of(" \n", n) == std::string::npos) break;  // only blanks cut
      ASSERT_FALSE(ReadSetupText(std::string_view(*valid).substr(0, n), error)) << n;
    }
  }
  // Random bytes, and random bytes in a valid file: refused or read whole, never a crash.
  std::mt19937 random(20240611);
  for (int i = 0; i < 300; ++i) {
    std::string noise(random() % 300, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    EXPECT_FALSE(ReadSetupText(noise, error));
    std::string mutated = full;
    for (int k = 0; k < 3; ++k) mutated[random() % mutated.size()] = static_cast<char>(random());
    if (const std::optional<TSetupDocument> doc = ReadSetupText(mutated, error)) {
      TSetup restored;
      EXPECT_TRUE(RestoreSetup(*doc, restored));
    }
  }
}

TEST(SetupFile, FileErrorsNameTheFileAndSayWhy) {
  const test::TTempFolder folder;
  TSetupFileError error;
  const std::string missing = (folder.Path() / "none.orvela").string();
  EXPECT_FALSE(LoadSetupFile(missing, error));
  EXPECT_EQ(error.Text(), missing + ": could not be opened: there is no such file");

  const std::string huge = (folder.Path() / "huge.orvela").string();
  { std::ofstream(huge) << ' '; }
  std::filesystem::resize_file(huge, SetupFileMaxBytes + 1);
  EXPECT_FALSE(LoadSetupFile(huge, error));
  EXPECT_EQ(error.Text(), huge + ": larger than 16 MiB: not a setup file");

  const std::string broken = (folder.Path() / "broken.orvela").string();
  test::WriteTextFile(broken, "{\"format\": \"orvela-setup\", \"version\": 1, \"teeth\": 3}");
  EXPECT_FALSE(LoadSetupFile(broken, error));
  EXPECT_EQ(error.Text(), broken + ": /teeth: not an array");

  const std::string nowhere = (folder.Path() / "no folder" / "a.orvela").string();
  EXPECT_FALSE(SaveSetupFile(nowhere, TSetupDocument{}, error));
  EXPECT_EQ(error.Text(), nowhere + ": could not be saved: its folder does not exist");
}

}  // namespace
}  // namespace orvela
