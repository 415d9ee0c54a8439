// OLE for the process's one GUI thread, owned like every other resource.
#pragma once
#include <windows.h>
#include <ole2.h>

#include "winutil/handles.h"

namespace tolvane {

// OLE for the process's one GUI thread: begun at start, ended at shutdown or
// by the fatal path, whichever comes first, and only if it had begun.
class OleSession {
public:
    OleSession() = default;
    ~OleSession() { End(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    void Begin() { begun_ = SUCCEEDED(OleInitialize(nullptr)); }
    // Keeps the last error, as every owner's release does.
    void End() {
        const KeptLastError kept;
        if (begun_) OleUninitialize();
        begun_ = false;
    }

private:
    bool begun_ = false;
};

}  // namespace tolvane
