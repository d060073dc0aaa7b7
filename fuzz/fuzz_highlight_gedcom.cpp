// Fuzz target for condition strings over real loaded records: the input is a condition
// string, optionally followed by a zero byte and a GEDCOM text. The conditions are set on a
// highlighter group over that GEDCOM once loaded (or, without one, over the sample family),
// recalculated, and every individual is asked about.
#include "containers/errors.h"
#include "gedcom/ged_collection.h"
#include "highlight/hl_group.h"

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace {

using namespace kindrel;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

std::unique_ptr<WGEDCollection> Load(const std::string& path) {
    std::string error;
    std::unique_ptr<WGEDCollection> c = OpenGedcomCollection(path, error);
    if (!c || !c->LoadFile()) return nullptr;
    c->AfterLoad();
    return c;
}

WGEDCollection& SampleFamily() {
    static WGEDCollection* const sample = [] {
        std::unique_ptr<WGEDCollection> c =
            Load(std::string(KINDREL_SAMPLES_DIR) + "/sample_family.ged");
        Check(c != nullptr);
        return c.release();
    }();
    return *sample;
}

void Highlight(WGEDCollection& c, std::string_view conditions) {
    WHLGroup group(&c);
    try {
        group.SetConditions(conditions);
    } catch (const KindrelError&) {
        return;
    }
    try {
        group.Recalculate();
    } catch (const KindrelError&) {
        // A parameter that could not be read: its rule answers false; the group still works.
    }
    const int32_t count = c.IndividualCount();
    for (int32_t n = -1; n <= count + 1; ++n) {
        (void)group.IsHighlighted(n);
        (void)group.BackgroundColour(n);
    }
    (void)group.Describe();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const void* zero = std::memchr(text, 0, size);
    const size_t cut = zero ? static_cast<const char*>(zero) - text : size;
    const std::string_view conditions(text, cut);
    if (zero == nullptr || cut + 1 == size) {
        Highlight(SampleFamily(), conditions);
        return 0;
    }
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("kindrel_fuzz_hl_" + std::to_string(::getpid()) + ".ged"))
                                        .string();
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text + cut + 1, 1, size - cut - 1, out);
        std::fclose(out);
    }
    try {
        if (std::unique_ptr<WGEDCollection> c = Load(path)) Highlight(*c, conditions);
    } catch (const KindrelError&) {
    }
    return 0;
}
