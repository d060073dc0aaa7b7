// Fuzz target for the GEDCOM line functions: the input becomes a mapped file and, separately,
// a heap block of exactly its size (so a read past the end is caught by AddressSanitizer).
// Every line and record is walked with every line function, and every value is converted
// with every character set, whose output must be valid UTF-8.
#include "containers/errors.h"
#include "containers/temp_file.h"
#include "gedcom/charset.h"
#include "gedcom/gedcom_line.h"
#include "gedcom/text_mmf.h"

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

using namespace kindrel;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool Within(std::string_view view, const char* begin, const char* end) {
    return view.empty() || (view.data() >= begin && view.data() + view.size() <= end);
}

void Convert(std::string_view value) {
    Check(IsValidUtf8(AnselToUtf8(value)));
    Check(IsValidUtf8(Cp1252ToUtf8(value)));
    Check(IsValidUtf8(Cp437ToUtf8(value)));
    Check(IsValidUtf8(Utf8OrCp1252ToUtf8(value)));
    Check(IsValidUtf8(Utf8OrCp437ToUtf8(value)));
}

void WalkText(const char* begin, const char* end) {
    UsesLF(begin, end);
    int lines = 0;
    const char* first = begin < end ? begin : nullptr;
    for (const char* p = first; p != nullptr; p = NextLine(p, end, true)) {
        Check(p >= begin && p < end);
        const std::string_view value = TagValue(p, end);
        Check(Within(value, begin, end));
        Check(Within(LineValue(p, end), begin, end));
        Convert(value);
        LineLevel(p, end);
        const int kind = RecordKind(p, end);
        Check(kind >= 0 && kind <= 8);
        for (const bool dropFirst : {false, true}) {
            const auto id = ExtractXref(p, end, dropFirst);
            if (id) Check(Within(*id, begin, end));
        }
        // Continued texts are read from the first lines only, to keep one run linear.
        if (++lines < 64) {
            for (const std::string& entry : ReadText(p + (end - p > 6 ? 6 : end - p), end))
                Convert(entry);
            const auto date = EventDateValue(p, end, true);
            if (date) Check(Within(*date, begin, end));
            Check(Within(ReadEventPlace(p, end), begin, end));
        }
        const char* raw = NextLine(p, end, false);
        Check(raw == nullptr || (raw > p && raw < end));
    }
    for (const char* r = first; r != nullptr; r = NextRecord(r, end)) {
        Check(r >= begin && r < end);
        const std::string_view text = RawRecordText(r, end);
        Check(!text.empty() && text.data() == r && Within(text, begin, end));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The exact-size heap copy: any read at or past the end is an overflow.
    std::unique_ptr<char[]> copy(new char[size > 0 ? size : 1]);
    if (size > 0) std::memcpy(copy.get(), data, size);
    WalkText(copy.get(), copy.get() + size);

    // The same bytes as a mapped file, the way the viewer reads them.
    TempFile file = CreateTempFile();
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(file.fd, data + written, size - written);
        if (n <= 0) break;
        written += std::size_t(n);
    }
    ::close(file.fd);
    try {
        const WGEDTextMMF text(file.path);
        Check(text.Size() == std::int64_t(size));
        WalkText(text.TextStart(), text.TextEnd());
    } catch (const EFileError&) {
        Check(size == 0);  // only an empty file cannot be mapped
    }
    RemoveTempFile(file.path);
    return 0;
}
