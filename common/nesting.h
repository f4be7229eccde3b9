#pragma once
// How deep brackets and braces may nest in a РВАС or СКУ expression, in both programs.
// The converters walk a group recursively; each level holds a few frames of the stack, so
// this keeps even a thread with a small stack far from its end, while no written text comes
// near it (a hand-written expression nests a handful of levels).
namespace vexo {
constexpr int kMaxNesting = 500;
}  // namespace vexo
