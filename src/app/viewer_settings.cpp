#include "app/viewer_settings.h"

#include "model/display_options.h"
#include "services/options.h"

#include <vector>

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

void RememberOpenedFile(WOptions& options, const std::string& fileName) {
    if (fileName.empty()) return;
    std::vector<std::string> files = {fileName};
    for (int i = 1; i <= 10; ++i) {
        const std::string name = options.ReadText(FileOpt(i));
        if (!name.empty() && name != fileName && files.size() < 10) files.push_back(name);
    }
    for (int i = 1; i <= 10; ++i) {
        const std::string name = i <= static_cast<int>(files.size()) ? files[size_t(i - 1)] : "";
        if (options.ReadText(FileOpt(i)) != name) options.WriteText(FileOpt(i), name);
    }
}

}  // namespace kindrel
