#include "drawing/dxf_blockers.h"

namespace torvane {
namespace {

// How many entities of a kind are named by line, how many kinds are
// listed, and how much of a type and a handle is kept: what a message can
// show, however many entities a drawing holds.
constexpr std::size_t kNamedPerKind = 10;
constexpr std::size_t kKindsListed = 20;
constexpr std::size_t kTypeBytes = 64;

std::string Why(RunErrorKind kind) {
  switch (kind) {
    case RunErrorKind::kDrawingProxy:
      return "a proxy";
    case RunErrorKind::kDrawingExtrusion:
      return "in another plane";
    default:
      return "not converted";
  }
}

}  // namespace

bool DrawingBlockers::Blocks(const RunError& e) {
  return e.kind == RunErrorKind::kDrawingEntity || e.kind == RunErrorKind::kDrawingProxy ||
         e.kind == RunErrorKind::kDrawingExtrusion;
}

void DrawingBlockers::Add(const RunError& e) {
  if (!first_) first_ = e;
  const std::string type = e.entity_type.substr(0, kTypeBytes);
  Kind* kind = nullptr;
  for (Kind& k : kinds_) {
    if (k.kind == e.kind && k.type == type) kind = &k;
  }
  if (kind == nullptr) {
    if (kinds_.size() == kKindsListed) {
      ++others_;
      return;
    }
    kind = &kinds_.emplace_back(Kind{e.kind, type, 0, {}});
  }
  ++kind->count;
  if (kind->at.size() < kNamedPerKind) {
    kind->at.push_back(std::to_string(e.line) +
                       (e.handle.empty() ? "" : " (handle " + MessageExcerpt(e.handle) + ")"));
  }
}

RunError DrawingBlockers::Refusal() const {
  RunError e = *first_;
  if (kinds_.size() == 1 && kinds_[0].count == 1) return e;
  for (const Kind& k : kinds_) {
    std::string line = EscapeControlBytes(k.type) + " (" + Why(k.kind) +
                       "): " + std::to_string(k.count) +
                       (k.count == 1 ? ", on line " : ", on lines ");
    for (std::size_t i = 0; i < k.at.size(); ++i) line += (i > 0 ? ", " : "") + k.at[i];
    if (k.count > k.at.size()) line += " and " + std::to_string(k.count - k.at.size()) + " more";
    e.blocking.push_back(std::move(line));
  }
  if (others_ > 0) {
    e.blocking.push_back(std::to_string(others_) + " more of other kinds");
  }
  return e;
}

}  // namespace torvane
