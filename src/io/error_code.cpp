#include "io/error_code.h"

namespace tavro {
namespace {
std::string& detailStore() {
  static std::string detail;
  return detail;
}
}  // namespace

void setErrorDetail(std::string_view detail) {
  if (detailStore().empty()) detailStore().assign(detail);
}
const std::string& errorDetail() { return detailStore(); }
void clearErrorDetail() { detailStore().clear(); }

}  // namespace tavro
