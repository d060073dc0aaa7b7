// Settings the viewer copies out of the settings store at start.
#pragma once

namespace kindrel {

class WOptions;
struct DisplayOptions;

// Copies PreSuf, NameSlash, NameUpper, FNValueFlag, FNValue, AgeCalcCB and UseLDS from the
// settings into the display options the model reads.
void LoadDisplayOptions(WOptions& options, DisplayOptions& display);

}  // namespace kindrel
