#include "display_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QTextCharFormat>

namespace tk::fonts {

QStringList displayFontResources()
{
    return {QStringLiteral(":/fonts/Kolvani-Regular.ttf"), QStringLiteral(":/fonts/Kolvani-Bold.ttf"),
            QStringLiteral(":/fonts/Nelpari-Regular.ttf"), QStringLiteral(":/fonts/Nelpari-Bold.ttf")};
}

bool registerDisplayFonts()
{
    // Registering a font twice would list its family twice: remember what
    // is in, and try again only what failed (before a QGuiApplication
    // exists, everything does).
    static QStringList registered;
    bool ok = true;
    for (const QString& path : displayFontResources()) {
        if (registered.contains(path))
            continue;
        if (QFontDatabase::addApplicationFont(path) != -1)
            registered.append(path);
        else
            ok = false;
    }
    return ok;
}

const QStringList& tamilDisplayFontNames()
{
    static const QStringList names{QString::fromLatin1(kolvaniFamily), QStringLiteral("Pelundu"),
                                   QStringLiteral("Tirasam"), QStringLiteral("Merivan"),
                                   QStringLiteral("Sondral"), QStringLiteral("Vakkur"),
                                   QString::fromLatin1(nelpariFamily), QStringLiteral("Udavan"),
                                   QStringLiteral("RVNEWS")};
    return names;
}

bool isTamilDisplayFont(const QString& family)
{
    return tamilDisplayFontNames().contains(family, Qt::CaseSensitive);
}

QString unicodeFamilyOf(const QString& displayFamily)
{
    return displayFamily == QLatin1String(nelpariFamily) ? QStringLiteral("Noto Serif Tamil")
                                                         : QStringLiteral("Noto Sans Tamil");
}

void applyNoLetterSpacing(QFont& font)
{
    if (isTamilDisplayFont(font.family()))
        font.setLetterSpacing(QFont::PercentageSpacing, 100);
}

void applyNoLetterSpacing(QTextCharFormat& format)
{
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && isTamilDisplayFont(families.first())) {
        format.setFontLetterSpacingType(QFont::PercentageSpacing);
        format.setFontLetterSpacing(100);
    }
}

} // namespace tk::fonts
