// The process-wide display options.
#include "model/display_options.h"

namespace kindrel {

DisplayOptions& Display() {
    static DisplayOptions options;
    return options;
}

}  // namespace kindrel
