#include "run/unit_labels.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

TEST(UnitLabels, LabelsOfEachUnitSystem) {
  struct Case {
    int unitsCode;
    const char* length2;
    const char* length3;
    const char* force3;
    const char* force4;
    const char* stress;  // column 19 of the along-pile table
    const char* moment;  // column 9
  };
  const Case cases[] = {
      {1, "IN", " IN", "LBS", " LBS", " LBS/IN**2", "  LBS-IN  "},
      {2, " M", "  M", " KN", "  KN", "  KN/ M**2", "   KN- M  "},
      {3, " L", "  L", "  F", "   F", "   F/ L**2", "    F- L  "},
      {0, " L", "  L", "  F", "   F", "   F/ L**2", "    F- L  "},
  };
  for (const Case& c : cases) {
    setUnitLabels(unitLabelMode(c.unitsCode));
    setAlongPileHeadings(3);
    const UnitLabels& l = unitLabels();
    EXPECT_EQ(l.lengthLabel2, c.length2) << c.unitsCode;
    EXPECT_EQ(l.lengthLabel3, c.length3) << c.unitsCode;
    EXPECT_EQ(l.forceLabel3, c.force3) << c.unitsCode;
    EXPECT_EQ(l.forceLabel4, c.force4) << c.unitsCode;
    EXPECT_EQ(alongPileHeadings().line3[19 - 1], c.stress) << c.unitsCode;
    EXPECT_EQ(alongPileHeadings().line3[9 - 1], c.moment) << c.unitsCode;
  }
}

TEST(UnitLabels, AlongPileUnitsInTenColumns) {
  setUnitLabels(unitLabelMode(1));
  setAlongPileHeadings(3);
  const AlongPileHeadings& h = alongPileHeadings();
  struct Case {
    int column;
    const char* unit;
  };
  const Case cases[] = {
      {1, "    IN    "},  {8, "    IN    "},  {11, "  LBS-IN  "}, {12, "    LBS   "},
      {18, "    LBS   "}, {15, "  LBS/IN  "}, {23, "  LBS/IN  "}, {20, " LBS-IN**2"},
      {24, "          "}, {25, "          "},
  };
  for (const Case& c : cases) EXPECT_EQ(h.line3[c.column - 1], c.unit) << c.column;
  EXPECT_EQ(h.line1[15 - 1], "SOIL REACT");
  EXPECT_EQ(h.line2[4 - 1], "   y-z-DIR");
  EXPECT_EQ(h.distance3, "    IN    ");
  EXPECT_EQ(h.shortDistance, " x(IN)");
}

TEST(UnitLabels, PlaneRunKeepsBlankUnitsOfColumnsItNeverPrints) {
  setUnitLabels(unitLabelMode(1));
  setAlongPileHeadings(2);
  const AlongPileHeadings& h = alongPileHeadings();
  for (int k : {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23}) {
    EXPECT_EQ(h.line3[k - 1], std::string(10, ' ')) << k;
  }
  for (int k : {1, 2, 5, 6, 9, 12, 15, 18, 19, 20, 22}) {
    EXPECT_NE(h.line3[k - 1], std::string(10, ' ')) << k;
  }
}

}  // namespace
}  // namespace tavro
