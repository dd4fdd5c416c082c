#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "model/teeth.h"

namespace orvela {
namespace {

struct TCatalogueRow {
  std::int32_t Fdi;
  const char* Name;
  TPointDouble Cusp, Apex, CRes;
  double ToothLength, RootLength, RootAreaMm2;
  TPointDouble UpperLeft, LowerRight;
  std::size_t CrownCount, RootCount;
};

class CatalogueTest : public ::testing::TestWithParam<TCatalogueRow> {};

TEST_P(CatalogueTest, NewToothHasItsTypesNumbers) {
  const TCatalogueRow& row = GetParam();
  const std::unique_ptr<TTooth> tooth = CreateTooth(row.Fdi);
  ASSERT_NE(tooth, nullptr);
  EXPECT_EQ(tooth->Name(), row.Name);
  EXPECT_EQ(tooth->Fdi(), row.Fdi);
  EXPECT_TRUE(IsToothType(row.Fdi));
  EXPECT_EQ(tooth->cusp, row.Cusp);
  EXPECT_EQ(tooth->apex, row.Apex);
  EXPECT_EQ(tooth->cRes(), row.CRes);
  EXPECT_EQ(tooth->Cervix(), tooth->cervixAnatomic);
  EXPECT_DOUBLE_EQ(tooth->toothLength(), row.ToothLength);
  EXPECT_DOUBLE_EQ(tooth->rootLengthAnatomic(), row.RootLength);
  EXPECT_DOUBLE_EQ(tooth->rootLengthFunctional(), row.RootLength);
  EXPECT_NEAR(tooth->rootAreaFunctional() / 100.0, row.RootAreaMm2, 0.005);
  EXPECT_EQ(tooth->UpperLeft(), row.UpperLeft);
  EXPECT_EQ(tooth->LowerRight(), row.LowerRight);
  EXPECT_EQ(tooth->crown.size(), row.CrownCount);
  EXPECT_EQ(tooth->root.size(), row.RootCount);
  EXPECT_EQ(tooth->Tip(), 0.0);
  const TRect bounds = tooth->BoundsRect();
  EXPECT_EQ(bounds, (TRect{static_cast<std::int32_t>(row.Cusp.x) - 2,
                           static_cast<std::int32_t>(row.Apex.y) - 2,
                           static_cast<std::int32_t>(row.Cusp.x) + 2,
                           static_cast<std::int32_t>(row.Cusp.y) + 2}));
  EXPECT_TRUE(tooth->Brackets().empty());
  EXPECT_FALSE(tooth->Ankylosed());
  EXPECT_TRUE(tooth->origOutline.empty());
  EXPECT_EQ(tooth->Responce, DefaultResponce);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, CatalogueTest,
                         ::testing::Values(TCatalogueRow{33,
                                                         "Lower Left Canine",
                                                         {205, 960},
                                                         {205, 690},
                                                         {205, 786},
                                                         270,
                                                         160,
                                                         203.55,
                                                         {170, 960},
                                                         {240, 690},
                                                         15,
                                                         18},
                                           TCatalogueRow{43,
                                                         "Lower Right Canine",
                                                         {195, 960},
                                                         {195, 690},
                                                         {195, 786},
                                                         270,
                                                         160,
                                                         203.55,
                                                         {160, 960},
                                                         {230, 690},
                                                         15,
                                                         18},
                                           TCatalogueRow{34,
                                                         "Lower Left First Premolar",
                                                         {200, 935},
                                                         {200, 710},
                                                         {200, 794},
                                                         225,
                                                         140,
                                                         148.26,
                                                         {165, 935},
                                                         {235, 710},
                                                         16,
                                                         17},
                                           TCatalogueRow{44,
                                                         "Lower Right First Premolar",
                                                         {200, 935},
                                                         {200, 710},
                                                         {200, 794},
                                                         225,
                                                         140,
                                                         148.26,
                                                         {165, 935},
                                                         {235, 710},
                                                         16,
                                                         17},
                                           TCatalogueRow{35,
                                                         "Lower Left Second Premolar",
                                                         {205, 930},
                                                         {205, 705},
                                                         {205, 792},
                                                         225,
                                                         145,
                                                         153.44,
                                                         {170, 930},
                                                         {240, 705},
                                                         20,
                                                         17},
                                           TCatalogueRow{45,
                                                         "Lower Right Second Premolar",
                                                         {195, 930},
                                                         {195, 705},
                                                         {195, 792},
                                                         225,
                                                         145,
                                                         153.44,
                                                         {160, 930},
                                                         {230, 705},
                                                         20,
                                                         17},
                                           TCatalogueRow{36,
                                                         "Lower Left First Molar",
                                                         {200, 920},
                                                         {200, 711},
                                                         {200, 795},
                                                         209,
                                                         139,
                                                         303.67,
                                                         {150, 921},
                                                         {268, 711},
                                                         31,
                                                         32},
                                           TCatalogueRow{46,
                                                         "Lower Right First Molar",
                                                         {200, 920},
                                                         {200, 711},
                                                         {200, 795},
                                                         209,
                                                         139,
                                                         303.67,
                                                         {132, 921},
                                                         {250, 711},
                                                         31,
                                                         32}));

TEST(CatalogueConstruction, EveryWayOfBuildingGivesTheFullTooth) {
  // Direct construction, make_unique and the factory must all run the type's own Init.
  TTooth33 onStack;
  EXPECT_EQ(onStack.Name(), "Lower Left Canine");
  EXPECT_EQ(onStack.crown.size(), 15u);
  const std::unique_ptr<TTooth> molar = std::make_unique<TTooth46>();
  EXPECT_EQ(molar->Name(), "Lower Right First Molar");
  EXPECT_EQ(molar->cervixDiameter, 100);
  EXPECT_EQ(molar->cRes(), (TPointDouble{200, 795}));

  for (const std::int32_t fdi : {0, 31, 32, 37, 42, 47, 13, -33}) {
    EXPECT_EQ(CreateTooth(fdi), nullptr);
    EXPECT_FALSE(IsToothType(fdi));
  }
  EXPECT_EQ(StandardBracketDepth(33), 45.0);
  EXPECT_EQ(StandardBracketDepth(43), 45.0);
  EXPECT_EQ(StandardBracketDepth(36), 40.0);
}

TEST(CatalogueConstruction, BaseToothIsGeneric) {
  const TTooth generic;
  EXPECT_EQ(generic.Name(), "Generic");
  EXPECT_EQ(generic.Fdi(), std::nullopt);
  EXPECT_TRUE(generic.crown.empty());
  EXPECT_TRUE(generic.root.empty());
  EXPECT_EQ(generic.cusp, (TPointDouble{0, 0}));
  EXPECT_EQ(generic.apex, (TPointDouble{0, 0}));
  EXPECT_EQ(generic.cRes(), (TPointDouble{0, 0}));
  EXPECT_EQ(generic.cervixDiameter, 0);
  EXPECT_EQ(generic.Responce, DefaultResponce);
}

TEST(CatalogueConstruction, RightTypesMirrorTheLeftOnes) {
  // Mirrored about x = 200 (the common starting place), vertex for vertex.
  for (const auto& [left, right] : {std::pair{33, 43}, {34, 44}, {35, 45}, {36, 46}}) {
    const auto l = CreateTooth(left);
    const auto r = CreateTooth(right);
    ASSERT_EQ(l->crown.size(), r->crown.size());
    ASSERT_EQ(l->root.size(), r->root.size());
    for (std::size_t i = 0; i < l->crown.size(); ++i) {
      EXPECT_EQ(400 - l->crown[i].x, r->crown[i].x) << left << " crown " << i;
      EXPECT_EQ(l->crown[i].y, r->crown[i].y);
    }
    for (std::size_t i = 0; i < l->root.size(); ++i) {
      EXPECT_EQ(400 - l->root[i].x, r->root[i].x) << left << " root " << i;
      EXPECT_EQ(l->root[i].y, r->root[i].y);
    }
    EXPECT_EQ(l->cervixDiameter, r->cervixDiameter);
  }
}

}  // namespace
}  // namespace orvela
