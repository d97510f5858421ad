// The pair's report as data: the lines every kind of pair yields, in
// order, each a quantity (symbol, value, unit, its name in Japanese and in
// English, the gear it belongs to), a count, a line of text (a heading, a
// note) or a warning (an identifier, the gear and the input it concerns,
// both languages). The console formats the lines (formatReport); the page
// shows the same lines and warnings. Builds no text of its own beyond the
// lines' words; draws nothing, reads no program state.
//
// Not here: the numbers (pair/gear_pair.h, pair/line_of_action.h), which
// lines each kind yields (pair/pair_kind.h hands them over).
#pragma once

#include <string>
#include <vector>

#include "pair/inputs/gear_pair.h"
#include "pair/inputs/units.h"

enum class Language { ja, en };

enum class ReportLineKind {
    quantity,  // "<name> <symbol> = <value to 4 decimals> <unit>"
    count,     // "<name> <symbol> = <whole value>"
    text,      // a heading or a note, said whole in each language; "" a blank line
    warning,   // "警告: <ja>" / "Warning: <en>"
};

struct ReportLine {
    ReportLineKind kind = ReportLineKind::text;
    std::string symbol;   // a quantity's or a count's, "d1", "εα_eff"
    double value = 0.0;
    Unit unit = Unit::none;
    std::string ja;       // a quantity's name, or the whole text or warning
    std::string en;
    int gear = 0;         // the gear it belongs to, 1 to 3 (a set's ring); 0 the pair
    std::string id;       // a warning's identifier ("undercut", "thinTip", ...), or a note's the page
                          // shows ("involuteStart": where a gear's involute begins); "" otherwise
    PairField field = PairField::none;  // the input a warning concerns, if any
};

using PairReport = std::vector<ReportLine>;

// The whole report of a pair that checkPair accepts, as its kind gives it.
PairReport pairReport(const PairInput& input, const PairNumbers& numbers);

// The whole report of one mesh: the shifts chosen for a given centre
// distance, the kind's own lines, then the lines along the line of action.
PairReport meshReport(const PairInput& input, const PairNumbers& numbers);

// The lines as the console prints them: each begun by its newline, the last
// ended by one too. Language::ja is the program's report as it always was.
std::string formatReport(const PairReport& report, Language language);

// A quantity's value as the report writes it: 4 decimals, never -0.0000.
std::string reportValue(const ReportLine& line);
