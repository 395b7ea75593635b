#pragma once
// Earlier versions of a baseline (or a word-check copy) as numbered whole-file
// copies: P.1 the most recent, P.20 the oldest.

#include <string>

namespace orvis {

inline constexpr int kGenerations = 20;

// Shifts P.1..P.19 up by one, overwriting, and copies P to P.1. Copies whose
// source is missing are skipped; P itself stays. Each copy replaces its
// target whole, so a crash leaves at most one generation twice, never a
// torn one.
void rotateGenerations(const std::string& path);

// The shift alone, P.1 staying as it was: the rotation of a baseline that
// is about to be replaced by a capture, which keeps no generation of it.
void shiftGenerations(const std::string& path);

}  // namespace orvis
