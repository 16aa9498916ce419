// Every entity that stops a drawing (of a kind not converted, a proxy, one
// off the drawing's plane), gathered in one reading, so that a refusal
// names them all at once: a line for each kind, the first ten of the kind
// by line and handle, and how many there are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/run_error.h"

namespace torvane {

class DrawingBlockers {
 public:
  // Whether `e` is about an entity that stops the drawing, past which the
  // reading goes on to find the others.
  static bool Blocks(const RunError& e);

  // Counts the entity that `e` (for which Blocks holds) is about.
  void Add(const RunError& e);
  bool empty() const { return !first_; }
  // The first entity's error; with more than one entity, every one of them
  // in its `blocking`, a line for each kind in the order the kinds came.
  RunError Refusal() const;

 private:
  std::optional<RunError> first_;
  std::vector<BlockingKind> kinds_;
  std::uint64_t others_ = 0;  // entities of kinds beyond the kinds listed
};

}  // namespace torvane
