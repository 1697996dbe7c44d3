// The run's unit labels ("LBS", " KN", ...) that every report heading inserts, and the three
// heading lines of the along-pile result table built from them.
#pragma once

#include <array>
#include <string>

namespace tavro {

struct UnitLabels {
  std::string lengthLabel2;  // "IN", " M" or " L"
  std::string lengthLabel3;  // " IN", "  M" or "  L"
  std::string forceLabel3;   // "LBS", " KN" or "  F"
  std::string forceLabel4;   // " LBS", "  KN" or "   F"
  // Pieces that do not depend on the unit system.
  std::string quotient = "/";
  std::string product = "-";
  std::string power = "**";
  std::string two = "2";
  std::string three = "3";
  std::string four = "4";
  std::string radians = "RAD";
  std::string degrees = "DEG";
  std::string caret = "^";
};

constexpr int kAlongPileColumns = 25;

/// Headings of the along-pile result table: three lines of 25 columns of 10 characters, and
/// the pieces of the leading distance column.
struct AlongPileHeadings {
  std::array<std::string, kAlongPileColumns> line1;
  std::array<std::string, kAlongPileColumns> line2;
  std::array<std::string, kAlongPileColumns> line3;
  std::string distance1 = "     x    ";
  std::string distance2 = "          ";
  std::string distance3;                 // the length label in 10 characters, "    IN    "
  std::string distanceUnderline = "**********";
  std::string shortDistance;             // " x(IN)"
  std::string shortUnderline = "******";
  std::string shortPile = " PILE ";
};

/// The labels of this run, set by setUnitLabels.
const UnitLabels& unitLabels();
/// The along-pile headings of this run, set by setAlongPileHeadings.
const AlongPileHeadings& alongPileHeadings();

/// Chooses the labels: mode > 0 English, mode < 0 SI, 0 generic units.
void setUnitLabels(int mode);
/// The mode that setUnitLabels takes for a `unitsCode` of the input (1 English, 2 SI).
int unitLabelMode(int unitsCode);
/// Builds the along-pile headings for `analysisType` (2 two-dimensional, else three) from the
/// current unit labels.
void setAlongPileHeadings(int analysisType);

}  // namespace tavro
