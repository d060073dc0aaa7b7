// Typed arrays over WABSArrayIndex: 32-bit integers, booleans (one byte each) and floats
// (double precision). Positions are 1-based; invalid positions read as 0 / false / 0.0 and
// writes to them are ignored.
#pragma once

#include "containers/array_index.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace kindrel {

// Array of signed 32-bit integers.
class WIntArray final : public WABSArrayIndex {
  public:
    // An anonymous array of n zeros.
    explicit WIntArray(int n = 0);
    // An array of n zeros over the named file (empty name: anonymous).
    WIntArray(std::string fileName, int n);

    // Appends v; returns the new count (the position of v).
    int Add(std::int32_t v) { return WABSArrayIndex::Add(&v); }
    // Sets element i; ignored when i is not valid.
    void SetValue(int i, std::int32_t v) noexcept {
        if (!IsValidIndex(i)) return;
        std::memcpy(RecordAt(i), &v, sizeof v);
        Touch();
    }
    // Element i, 0 when i is not valid.
    std::int32_t GetValue(int i) const noexcept {
        if (!IsValidIndex(i)) return 0;
        std::int32_t v;
        std::memcpy(&v, RecordAt(i), sizeof v);
        return v;
    }
    // Sets every element to v.
    void Fill(std::int32_t v) noexcept;
    // Adds one to element i; ignored when i is not valid.
    void Increment(int i) noexcept { SetValue(i, std::int32_t(std::uint32_t(GetValue(i)) + 1u)); }
};

// Array of booleans, one byte each (1 true, 0 false).
class WBoolArray final : public WABSArrayIndex {
  public:
    // An anonymous array of n false values.
    explicit WBoolArray(int n = 0);
    // An array of n false values over the named file (empty name: anonymous).
    WBoolArray(std::string fileName, int n);

    // Appends b; returns the new count.
    int Add(bool b) {
        const char byte = b ? 1 : 0;
        return WABSArrayIndex::Add(&byte);
    }
    // Stores 1 for true, 0 for false; ignored when i is not valid.
    void SetValue(int i, bool b) noexcept {
        if (!IsValidIndex(i)) return;
        *RecordAt(i) = b ? 1 : 0;
        Touch();
    }
    // True only when the stored byte is 1; false when i is not valid.
    bool GetValue(int i) const noexcept { return IsValidIndex(i) && *RecordAt(i) == 1; }
    // Sets every element to b (one block fill).
    void Fill(bool b) noexcept;
};

// Array of floating-point numbers (stored as double).
class WFloatArray final : public WABSArrayIndex {
  public:
    // An anonymous array of n zeros.
    explicit WFloatArray(int n = 0);
    // An array of n zeros over the named file (empty name: anonymous).
    WFloatArray(std::string fileName, int n);

    // Appends x; returns the new count.
    int Add(double x) { return WABSArrayIndex::Add(&x); }
    // Sets element i; ignored when i is not valid.
    void SetValue(int i, double x) noexcept {
        if (!IsValidIndex(i)) return;
        std::memcpy(RecordAt(i), &x, sizeof x);
        Touch();
    }
    // Element i, 0.0 when i is not valid.
    double GetValue(int i) const noexcept {
        if (!IsValidIndex(i)) return 0.0;
        double x;
        std::memcpy(&x, RecordAt(i), sizeof x);
        return x;
    }
    // Sets every element to x.
    void Fill(double x) noexcept;
};

}  // namespace kindrel
