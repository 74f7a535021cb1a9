#pragma once

#include <QString>

namespace tk::about {

// The companion program "obt" in the program's own folder.
QString companionPath();
// Starts it on its own (not waited for); false when it is missing or could
// not be started.
bool runCompanion();

} // namespace tk::about
