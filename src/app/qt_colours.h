// The one conversion of the stored colour values (0x00BBGGRR, as Windows keeps them) to Qt.
#pragma once

#include <QColor>

#include <cstdint>

namespace kindrel {

// 0x00BBGGRR to a QColor: 0xFFFF00 is aqua and 65535 yellow (not QColor(rgb)'s reading).
inline QColor ToQColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// A QColor back to 0x00BBGGRR.
inline uint32_t FromQColor(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

}  // namespace kindrel
