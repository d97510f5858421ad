// The units of the pair's numbers and the words each front end says them
// with: the report's unit after a value, the symbol after a field, the
// noun of --help ("a number of degrees"), in one table. Not here: the
// numbers themselves (their units are fixed where they are computed: mm,
// degrees, N·m, GPa, N, MPa).
#pragma once

enum class Unit { none, mm, degree, newtonMetre, gigapascal, newton, megapascal };

struct UnitWords {
    const char* symbol;   // after a value on the page and in messages: "mm", "°", "N·m"; "" for none
    const char* report;   // after a value in the report: "mm", "deg", "N·m"
    const char* plural;   // --help's "a number of ...": "mm", "degrees", "N·m"
};

inline const UnitWords& unitWords(Unit unit) {
    // In the order of Unit.
    static constexpr UnitWords words[] = {
        {"", "", ""},
        {"mm", "mm", "mm"},
        {"°", "deg", "degrees"},
        {"N·m", "N·m", "N·m"},
        {"GPa", "GPa", "GPa"},
        {"N", "N", "N"},
        {"MPa", "MPa", "MPa"},
    };
    return words[static_cast<int>(unit)];
}
