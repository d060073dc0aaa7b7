// A GEDCOM file loaded as the viewer loads it, for the benchmarks that time the core.
#pragma once

#include "containers/errors.h"
#include "gedcom/ged_collection.h"

#include <memory>
#include <string>

namespace bench {

// The file opened, loaded and linked; throws with the reason when it cannot be.
inline std::unique_ptr<kindrel::WGEDCollection> LoadGedcom(const std::string& file) {
    std::string error;
    std::unique_ptr<kindrel::WGEDCollection> collection =
        kindrel::OpenGedcomCollection(file, error, kindrel::kKindGedcom);
    if (!collection) throw kindrel::KindrelError(error);
    if (!collection->LoadFile()) throw kindrel::KindrelError("loading was cancelled");
    collection->AfterLoad();
    return collection;
}

}  // namespace bench
