#pragma once

#include <QString>
#include <QStringList>

namespace tk::rtf {

// The nine Tamil display fonts, in the order the Font command lists them. Text
// in these fonts is 8-bit font codes, whatever code page a file declares.
const QStringList& tamilDisplayFonts();

// Exact, case-sensitive comparison with the list above.
bool isTamilDisplayFont(const QString& family);

} // namespace tk::rtf
