#pragma once

#include <string>
#include <string_view>

// The sort key of a path: ASCII letters lowered; with a Depth of -1 (or one not smaller
// than the path) the whole path, with a positive Depth its last Depth characters, and
// with 0 or a Depth below -1 the empty key.
std::string SortKey(std::string_view Path, int Depth);

// Whether the candidate key B takes the place of the current best key A in the
// selection sort. Runs of digits at the same position are compared by value; after two
// runs of equal value both keys go on after A's run. Characters compare as signed bytes,
// the end of a key as 0. Forward, the smaller wins; backward, the greater; in both a key
// that is a proper prefix of the other comes first.
bool CandidateWins(std::string_view A, std::string_view B, bool Forward);
