#pragma once

namespace tk::app {

// The Caps Lock and Num Lock states, where the window system tells them
// (X11); false when it does not.
bool queryLockKeys(bool& caps, bool& num);

} // namespace tk::app
