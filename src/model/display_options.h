// The settings that shape how names and ages are displayed. The application copies them from
// the settings store at start-up and whenever the Options dialog changes them; the model reads
// them from here so that displaying a million names never touches the settings file.
#pragma once

namespace kindrel {

struct DisplayOptions {
    bool preSuf = true;       // PreSuf: show name prefix and suffix
    bool nameSlash = true;    // NameSlash: surname between slashes
    bool nameUpper = false;   // NameUpper: surname upper-cased
    bool fnValueFlag = true;  // FNValueFlag: append an identifier marker to display names
    int fnValue = 1;          // FNValue: 2 " (number)", 3 " {REFN}", else " [id]"
    bool ageCalcCB = true;    // AgeCalcCB: christening/burial stand in for birth/death
    bool useLds = false;      // UseLDS: show LDS ordinances
};

// The process-wide display options.
DisplayOptions& Display();

}  // namespace kindrel
