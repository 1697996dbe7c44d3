#include "input/pile_table.h"

namespace tavro {
namespace {
// Static storage: the pile table alone holds 2002 rows.
constinit PileTable thePileTable{};
constinit SectionProperties theSectionProperties{};
}  // namespace

PileTable& pileTable() { return thePileTable; }
SectionProperties& sectionProperties() { return theSectionProperties; }

}  // namespace tavro
