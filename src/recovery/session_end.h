#pragma once

#include <functional>

class QObject;

namespace tk::recovery {

// Many desktops end a session, and a shutdown ends every program, with
// SIGTERM or SIGHUP rather than through the session manager. Turns those
// signals into a call of onEnd on the event loop (once), so the program can
// keep its unsaved documents before it goes. A second signal while onEnd
// runs ends the program at once.
void callOnTerminationSignals(QObject* context, std::function<void()> onEnd);

} // namespace tk::recovery
