#include "app/viewer_settings.h"

#include "model/display_options.h"
#include "services/options.h"

namespace kindrel {

void LoadDisplayOptions(WOptions& options, DisplayOptions& display) {
    display.preSuf = options.ReadBool(Opt::PreSuf);
    display.nameSlash = options.ReadBool(Opt::NameSlash);
    display.nameUpper = options.ReadBool(Opt::NameUpper);
    display.fnValueFlag = options.ReadBool(Opt::FNValueFlag);
    // FNValue is 1 to 3; anything else reads as 1.
    const int fnValue = options.ReadInt(Opt::FNValue);
    display.fnValue = fnValue >= 1 && fnValue <= 3 ? fnValue : 1;
    display.ageCalcCB = options.ReadBool(Opt::AgeCalcCB);
    display.useLds = options.ReadBool(Opt::UseLDS);
}

}  // namespace kindrel
