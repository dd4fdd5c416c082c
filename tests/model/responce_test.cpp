#include "model/responce.h"

#include <gtest/gtest.h>
#include <string>

namespace orvela {
namespace {

using TKind = TResponceParseError::TKind;

TEST(ResponceText, TheDefaultCurveRoundTripsAndTheSquaresEdgesRead) {
  EXPECT_EQ(FormatResponce(DefaultResponce), "10, 50, 25, 75, 50, 80, 75, 75, 90, 70");
  TResponceParseError error;
  EXPECT_EQ(ParseResponce(FormatResponce(DefaultResponce), error), DefaultResponce);
  // Blanks around the pieces, a leading '+', both edges, and neighbours sharing their x.
  const TResponceCurve edges{{{0, 0}, {0, 100}, {50, 50}, {50, 50}, {100, 100}}};
  EXPECT_EQ(ParseResponce(" +0,0, 0 ,100,50,50,50,50,100,100 ", error), edges);
}

TEST(ResponceText, ABadValueNamesThePieceAtFault) {
  const struct {
    const char* Value;
    TKind Kind;
    const char* Text;
  } cases[] = {
      {"1, 2, 3, x4, 5, 6, 7, 8, 9, 10", TKind::NotAnInteger, "x4"},
      {"1, 2, 3, 4x, 5, 6, 7, 8, 9, 10", TKind::NotAnInteger, "4x"},
      {"1, 2, 3, 4, 1.5, 6, 7, 8, 9, 10", TKind::NotAnInteger, "1.5"},
      {"1, 2, 3, , 5, 6, 7, 8, 9, 10", TKind::NotAnInteger, ""},
      {"1, 2, 3, 4, 5, 6, 7, 8, 9, 99999999999", TKind::NotAnInteger, "99999999999"},
      // Not ten pieces: the whole value.
      {"1, 2, 3", TKind::NotAnInteger, "1, 2, 3"},
      {"1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11", TKind::NotAnInteger,
       "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11"},
      // Outside the editor's square, on either axis.
      {"1, 2, 3, 4, 5, 6, 7, 8, 9, 2147483647", TKind::OutOfRange, "2147483647"},
      {"1, -2, 3, 4, 5, 6, 7, 8, 9, 10", TKind::OutOfRange, "-2"},
      {"1, 2, 3, 4, 5, 6, 7, 8, 101, 10", TKind::OutOfRange, "101"},
      // An x left of the point before.
      {"10, 50, 25, 75, 20, 80, 75, 75, 90, 70", TKind::Decreasing, "20"},
  };
  for (const auto& c : cases) {
    TResponceParseError error;
    EXPECT_FALSE(ParseResponce(c.Value, error)) << c.Value;
    EXPECT_EQ(error.Kind, c.Kind) << c.Value;
    EXPECT_EQ(error.Text, c.Text) << c.Value;
  }
}

TEST(ResponceText, NamesThatCannotBeReadBackAsKeysAreInvalid) {
  EXPECT_TRUE(IsValidResponceName("Soft curve"));
  EXPECT_TRUE(IsValidResponceName(std::string(ResponceNameMaxLength, 'n')));
  for (const std::string& name : {std::string(), std::string(ResponceNameMaxLength + 1, 'n'),
                                  std::string("a=b"), std::string("[x"), std::string(";x"),
                                  std::string(" x"), std::string("x\n"), std::string("\xFF")}) {
    EXPECT_FALSE(IsValidResponceName(name)) << name;
  }
  EXPECT_TRUE(SameResponceName("Soft", "SOFT"));
  EXPECT_FALSE(SameResponceName("Soft", "Soft2"));
}

}  // namespace
}  // namespace orvela
