#include "identity.h"

#include "engine/tamil_unicode.h"

namespace tk::about {

QFont decorativeFont(int pointSize)
{
    QFont font(QString::fromLatin1(decorativeFamily), pointSize);
    font.setStyleHint(QFont::Decorative);
    return font;
}

QString tamilCodes(const char* utf8)
{
    // The codes are bytes of the display font: each stands as the Latin-1
    // character of the same value, as in documents.
    return QString::fromLatin1(engine::unicodeToCodes(utf8).codes);
}

QString productNameCodes() { return tamilCodes("தமிழ் கல்வெம்"); }

QString creditsText()
{
    return QStringLiteral("Made for everyone who writes Tamil.\n"
                          "Display fonts drawn from Noto Tamil (SIL Open Font License).");
}

QIcon applicationIcon() { return QIcon(QStringLiteral(":/icons/tamilkalvem.svg")); }

} // namespace tk::about
