// The three kinds of a pair of two gears in mesh (external, internal, rack)
// behind one interface: a pair's numbers, its checks with their cures and
// its outlines placed in mesh, each chosen by the pair's kind. A planetary set is built from two such pairs (sun–planet and
// planet–ring) and sits above this layer; the table of every kind the front
// ends use (pair_kind.h) sits above that. Draws nothing.
//
// Not here: the kind's own report lines (report_lines.h), the kinds' arithmetic itself (gear_pair.cpp, internal_pair.cpp,
// rack_pair.cpp: kinds.h), what each kind is as data (kind_traits.h).
#pragma once

#include "pair/inputs/gear_pair.h"

struct PairGeometry;

// The numbers of a pair of two gears the checks accept.
PairNumbers meshPairNumbers(const PairInput& input);
// Its inputs' ranges, then its kind's checks, with the cure, if any.
PairCheck checkMeshPair(const PairInput& input);
// Its outlines, placed in mesh (pair/outline.h).
void buildMeshGeometry(const PairInput& input, PairGeometry& pair);
