// File text (names, places, summaries) shown by Qt as plain text, never as rich text.
#pragma once

#include <QString>
#include <QTextDocument>

namespace kindrel {

// A tooltip that shows text as written: Qt would render "<b>" or "<img>" in a plain tooltip
// string as markup.
inline QString PlainToolTip(const QString& text) {
    if (text.isEmpty()) return {};
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return Qt::convertFromPlainText(plain, Qt::WhiteSpacePre);
}

}  // namespace kindrel
