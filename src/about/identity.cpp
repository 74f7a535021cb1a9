#include "identity.h"

#include "display_fonts.h"
#include "engine/tamil_unicode.h"

#include <QLabel>

namespace tk::about {

QFont decorativeFont(int pointSize)
{
    QFont font(QString::fromLatin1(decorativeFamily), pointSize);
    font.setStyleHint(QFont::Decorative);
    return font;
}

QFont tamilFont(const char* family, int pointSize)
{
    QFont font(QString::fromLatin1(family), pointSize);
    fonts::applyNoLetterSpacing(font);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->adjustSize();
    return label;
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
