#pragma once

#include <functional>

namespace tk::recovery {
class AutoRecovery;
}

namespace tk::app {

class MDIForm1;

// Starts keeping copies of the frame's changed documents, keeps them when the
// session ends (through the session manager, SIGTERM or SIGHUP), and, once
// the event loop runs, offers what an earlier run left behind, after calling
// beforeAsking when there is something to offer. The object belongs to the
// frame.
recovery::AutoRecovery* startRecovery(MDIForm1& frame, std::function<void()> beforeAsking = {});

// For tests that run the program as a person would use it, without a
// display to type on: TK_TYPE_AT_START=text types the text, key by key,
// into a new document once the frame is up, and then prints "typed".
void typeAtStartForTests(MDIForm1& frame);

} // namespace tk::app
