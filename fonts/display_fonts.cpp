#include "display_fonts.h"

namespace tk::fonts {

bool registerDisplayFonts()
{
    // The generated fonts are not wired in yet.
    return true;
}

} // namespace tk::fonts
