#include "toolkit/win/resource_bytes.h"

#include <windows.h>

namespace tolvane {

ResourceBytes RcDataBytes(int id) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(self, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL data = res ? LoadResource(self, res) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    return bytes ? ResourceBytes{bytes, SizeofResource(self, res)} : ResourceBytes{nullptr, 0};
}

}  // namespace tolvane
