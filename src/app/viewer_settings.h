// Settings the viewer copies out of the settings store at start.
#pragma once

#include <string>

namespace kindrel {

class WOptions;
struct DisplayOptions;

// Copies PreSuf, NameSlash, NameUpper, FNValueFlag, FNValue, AgeCalcCB and UseLDS from the
// settings into the display options the model reads.
void LoadDisplayOptions(WOptions& options, DisplayOptions& display);

// Puts fileName first in the list of files viewed (File1 to File10), once.
void RememberOpenedFile(WOptions& options, const std::string& fileName);

}  // namespace kindrel
