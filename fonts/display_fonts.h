#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QTextCharFormat;

namespace tk::fonts {

// The display fonts the program carries, as Qt resource paths
// (":/fonts/Kolvani-Regular.ttf" and so on).
QStringList displayFontResources();

// Makes the Tamil display fonts carried by the program available to Qt, so
// documents show Tamil without anything installed system-wide. Safe to call
// more than once; needs a QGuiApplication. Returns false if any of them
// could not be registered.
bool registerDisplayFonts();

// The default document font, and the one used for Tamil labels.
inline constexpr const char* kolvaniFamily = "Kolvani";
inline constexpr const char* nelpariFamily = "Nelpari";

// The nine families that hold Tamil font codes, in the order the Font
// command lists them. Choosing one of them switches Tamil typing on.
const QStringList& tamilDisplayFontNames();

// True for exactly those names, case included.
bool isTamilDisplayFont(const QString& family);

// The Unicode Tamil font a display font was made from, which draws Unicode
// Tamil as the display font draws its codes: Noto Serif Tamil for Nelpari,
// Noto Sans Tamil for the others.
QString unicodeFamilyOf(const QString& displayFamily);

// Text in a Tamil display font is never letter-spaced: the spacing would
// open a gap between a consonant and the sign drawn before it (the codes
// are shaped as separate Latin letters). These reset the letter spacing to
// none when the font's family is a Tamil display font and leave any other
// font alone.
void applyNoLetterSpacing(QFont& font);
void applyNoLetterSpacing(QTextCharFormat& format);

} // namespace tk::fonts
