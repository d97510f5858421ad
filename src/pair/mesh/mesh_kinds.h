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

// Each takes the user's input (normal system) and makes its transverse
// section (pair/helical.h) once, which the kinds work in and
// PairNumbers::section keeps.
//
// The numbers of a pair of two gears the checks accept.
PairNumbers meshPairNumbers(const PairInput& input);
// Its inputs' ranges, then its kind's checks, with the cure, if any.
PairCheck checkMeshPair(const PairInput& input);
// Its kind's checks alone (the ranges checked before), with the cure.
PairCheck meshPairRules(const PairInput& input);
// Whether checkMeshPair accepts the pair, without working out a refusal's
// cure (a search of its own): what a search over many pairs asks. The memo
// keeps the last ring's answer on whether a cutter cuts it (pair/kinds.h).
struct RingCutterMemo;
bool pairAccepted(const PairInput& input, RingCutterMemo& memo);
// Whether a pair whose inputs are in range passes every rule of its kind.
bool meshPairPasses(const PairInput& input, RingCutterMemo& memo);
// Its outlines, placed in mesh (pair/outline.h).
void buildMeshGeometry(const PairInput& input, PairGeometry& pair);
