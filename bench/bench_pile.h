// The pile of the benchmark programs: one property of one uniform circular steel section.
#pragma once

#include "input/model_preparation.h"

namespace tavro::bench {

struct UniformPile {
  double length;
  double modulus;
  double diameter;
  double area;
  double inertia;  // about both axes
};

/// Makes `pile` the only pile property and cross section of `m` (100 increments) and derives
/// its section properties.
inline void setUniformPile(AnalysisModel& m, SectionProperties& sections,
                           const UniformPile& pile) {
  m.nPileProperties = 1;
  PileProperty& p = m.pileProperties[1];
  p.nSections = 1;
  p.increments = 100;
  p.length = pile.length;
  p.sections[1] = {0.0, pile.length, 1, pile.modulus, 0, 0};
  m.nCrossSections = 1;
  PileSection& s = m.crossSections[1];
  s.type = 1;
  for (int offset : {0, static_cast<int>(kBottomValues)}) {
    s.values[kDiameter + offset] = pile.diameter;
    s.values[kArea + offset] = pile.area;
    s.values[kInertiaZ + offset] = pile.inertia;
    s.values[kInertiaY + offset] = pile.inertia;
  }
  buildSectionProperties(m, sections);
}

}  // namespace tavro::bench
