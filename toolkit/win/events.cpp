#include "toolkit/win/events.h"

namespace tolvane {

namespace {
// The process's, not a window's: the fatal report and the wait for the
// elevated helper stop delivery whatever window exists, on the one GUI thread.
int g_suspended = 0;
}  // namespace

void SuspendEvents() { ++g_suspended; }
void ResumeEvents() {
    if (g_suspended > 0) --g_suspended;
}
bool EventsSuspended() { return g_suspended > 0; }

}  // namespace tolvane
