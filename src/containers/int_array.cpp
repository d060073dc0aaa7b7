#include "containers/int_array.h"

#include <utility>

namespace kindrel {

WIntArray::WIntArray(int n) : WIntArray(std::string(), n) {}

WIntArray::WIntArray(std::string fileName, int n)
    : WABSArrayIndex(std::move(fileName), false, sizeof(std::int32_t), n) {
    SetCount(n);
}

void WIntArray::Fill(std::int32_t v) noexcept {
    const int count = RecordCount();
    if (count < 1) return;
    if (v == 0) {
        std::memset(RecordAt(1), 0, std::size_t(count) * sizeof v);
    } else {
        char* p = RecordAt(1);
        for (int i = 0; i < count; ++i, p += sizeof v) std::memcpy(p, &v, sizeof v);
    }
    Touch();
}

WBoolArray::WBoolArray(int n) : WBoolArray(std::string(), n) {}

WBoolArray::WBoolArray(std::string fileName, int n)
    : WABSArrayIndex(std::move(fileName), false, 1, n) {
    SetCount(n);
}

void WBoolArray::Fill(bool b) noexcept {
    const int count = RecordCount();
    if (count < 1) return;
    std::memset(RecordAt(1), b ? 1 : 0, std::size_t(count));
    Touch();
}

WFloatArray::WFloatArray(int n) : WFloatArray(std::string(), n) {}

WFloatArray::WFloatArray(std::string fileName, int n)
    : WABSArrayIndex(std::move(fileName), false, sizeof(double), n) {
    SetCount(n);
}

void WFloatArray::Fill(double x) noexcept {
    const int count = RecordCount();
    if (count < 1) return;
    char* p = RecordAt(1);
    for (int i = 0; i < count; ++i, p += sizeof x) std::memcpy(p, &x, sizeof x);
    Touch();
}

}  // namespace kindrel
