#include "drawing/dxf_blockers.h"

namespace torvane {
namespace {

// How many entities of a kind are named by line, how many kinds are
// listed, and how much of a type and a handle is kept: what a message can
// show, however many entities a drawing holds.
constexpr std::size_t kNamedPerKind = 10;
constexpr std::size_t kKindsListed = 20;
constexpr std::size_t kTypeBytes = 64;

}  // namespace

bool DrawingBlockers::Blocks(const RunError& e) {
  return e.kind == RunErrorKind::kDrawingEntity || e.kind == RunErrorKind::kDrawingProxy ||
         e.kind == RunErrorKind::kDrawingExtrusion;
}

void DrawingBlockers::Add(const RunError& e) {
  if (!first_) first_ = e;
  const std::string type = e.entity_type.substr(0, kTypeBytes);
  BlockingKind* kind = nullptr;
  for (BlockingKind& k : kinds_) {
    if (k.kind == e.kind && k.type == type) kind = &k;
  }
  if (kind == nullptr) {
    if (kinds_.size() == kKindsListed) {
      ++others_;
      return;
    }
    kind = &kinds_.emplace_back(BlockingKind{e.kind, type, 0, {}});
  }
  ++kind->count;
  if (kind->first.size() < kNamedPerKind) kind->first.push_back({e.line, e.handle});
}

RunError DrawingBlockers::Refusal() const {
  RunError e = *first_;
  if (kinds_.size() == 1 && kinds_[0].count == 1) return e;
  e.blocking = kinds_;
  e.blocking_others = others_;
  return e;
}

}  // namespace torvane
