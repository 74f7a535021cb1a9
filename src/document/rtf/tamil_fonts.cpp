#include "tamil_fonts.h"

namespace tk::rtf {

const QStringList& tamilDisplayFonts()
{
    static const QStringList fonts{"Kolvani", "Pelundu", "Tirasam", "Merivan", "Sondral",
                                   "Vakkur",  "Nelpari", "Udavan",  "RVNEWS"};
    return fonts;
}

bool isTamilDisplayFont(const QString& family)
{
    return tamilDisplayFonts().contains(family, Qt::CaseSensitive);
}

} // namespace tk::rtf
