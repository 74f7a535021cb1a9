#pragma once

namespace tk::fonts {

// Makes the Tamil display fonts carried by the program available to Qt, so
// documents show Tamil without anything installed system-wide. Returns false
// if any of them could not be registered.
bool registerDisplayFonts();

} // namespace tk::fonts
