#include "run/unit_labels.h"

#include <algorithm>

#include "io/record_layout.h"

namespace tavro {
namespace {

UnitLabels& labelStore() {
  static UnitLabels labels;
  return labels;
}

AlongPileHeadings& headingStore() {
  static AlongPileHeadings headings;
  return headings;
}

// Formats one record of a layout and pads it with blanks to a field of 10 characters.
template <class... Args>
std::string field10(const char* layout, const Args&... values) {
  const LayoutValue list[] = {LayoutValue(values)...};
  std::string text;
  formatRecords(text, layout, std::span<const LayoutValue>(list, sizeof...(Args)));
  if (!text.empty() && text.back() == '\n') text.pop_back();
  text.resize(10, ' ');
  return text;
}

std::string text10(const char* text) {
  std::string out;
  appendText(out, 10, text);
  return out;
}

struct ColumnText {
  const char* line1;
  const char* line2;
};

constexpr ColumnText kColumnTexts[kAlongPileColumns] = {
    {"DISPL.", "x-DIR"},      {"DISPL.", "y-DIR"},     {"DISPL.", "z-DIR"},
    {"DISPL.", "y-z-DIR"},    {"DISPL.", "X-DIR"},     {"DISPL.", "Y-DIR"},
    {"DISPL.", "Z-DIR"},      {"DISPL.", "Y-Z-DIR"},   {"MOMENT", "z-DIR"},
    {"MOMENT", "y-DIR"},      {"MOMENT", "y-z-DIR"},   {"SHEAR", "y-DIR"},
    {"SHEAR", "z-DIR"},       {"SHEAR", "y-z-DIR"},    {"SOIL REACT", "y-DIR"},
    {"SOIL REACT", "z-DIR"},  {"SOIL REACT", "y-z-DIR"}, {"AXIAL F.", "x-DIR"},
    {"TOTAL", "STRESS"},      {"FLEX. RIG.", "z-DIR"}, {"FLEX. RIG.", "y-DIR"},
    {"DIST. LOAD", "y-DIR"},  {"DIST. LOAD", "z-DIR"}, {"DEM./CAP.", "MOMENT"},
    {"DEM./CAP.", "SHEAR"},
};

// Columns (1-based) that a two-dimensional run never prints; they keep blank units.
constexpr int kPlaneHiddenColumns[] = {3, 4, 7, 8, 10, 11, 13, 14, 16, 17, 21, 23};

}  // namespace

const UnitLabels& unitLabels() { return labelStore(); }
const AlongPileHeadings& alongPileHeadings() { return headingStore(); }

int unitLabelMode(int unitsCode) {
  if (unitsCode == 1) return 1;
  if (unitsCode == 2) return -1;
  return 0;
}

void setUnitLabels(int mode) {
  UnitLabels& l = labelStore();
  l = UnitLabels{};
  if (mode > 0) {
    l.lengthLabel2 = "IN";
    l.lengthLabel3 = " IN";
    l.forceLabel3 = "LBS";
    l.forceLabel4 = " LBS";
  } else if (mode < 0) {
    l.lengthLabel2 = " M";
    l.lengthLabel3 = "  M";
    l.forceLabel3 = " KN";
    l.forceLabel4 = "  KN";
  } else {
    l.lengthLabel2 = " L";
    l.lengthLabel3 = "  L";
    l.forceLabel3 = "  F";
    l.forceLabel4 = "   F";
  }
}

void setAlongPileHeadings(int analysisType) {
  const UnitLabels& l = labelStore();
  AlongPileHeadings& h = headingStore();
  h = AlongPileHeadings{};
  const std::string blank(10, ' ');
  const std::string displacement = field10("(4X,A2)", l.lengthLabel2);
  const std::string moment = field10("(2X,A3,A1,A2)", l.forceLabel3, l.product, l.lengthLabel2);
  const std::string force = field10("(4X,A3)", l.forceLabel3);
  const std::string perLength =
      field10("(2X,A3,A1,A2)", l.forceLabel3, l.quotient, l.lengthLabel2);
  const std::string stress =
      field10("(1X,A3,A1,A2,A2,A1)", l.forceLabel3, l.quotient, l.lengthLabel2, l.power, l.two);
  const std::string rigidity =
      field10("(1X,A3,A1,A2,A2,A1)", l.forceLabel3, l.product, l.lengthLabel2, l.power, l.two);

  for (int k = 1; k <= kAlongPileColumns; ++k) {
    const ColumnText& t = kColumnTexts[k - 1];
    h.line1[k - 1] = text10(t.line1);
    h.line2[k - 1] = text10(t.line2);
    std::string unit = blank;
    if (k <= 8) unit = displacement;
    else if (k <= 11) unit = moment;
    else if (k <= 14 || k == 18) unit = force;
    else if (k <= 17 || k == 22 || k == 23) unit = perLength;
    else if (k == 19) unit = stress;
    else if (k <= 21) unit = rigidity;
    if (analysisType == 2 && std::find(std::begin(kPlaneHiddenColumns),
                                       std::end(kPlaneHiddenColumns), k) !=
                                 std::end(kPlaneHiddenColumns)) {
      unit = blank;
    }
    h.line3[k - 1] = unit;
  }
  h.distance3 = displacement;
  h.shortDistance = field10("(1X,'x(',A2,')')", l.lengthLabel2).substr(0, 6);
}

}  // namespace tavro
