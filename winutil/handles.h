// Owners of the kernel's handles, search handles, registry keys and modules:
// each is closed once, by the scope that got it or by the one it was moved
// to, on every way out of it.
// GDI objects use the same owner (gdi_objects.h).
#pragma once
#include <windows.h>

namespace tolvane {

// Puts the last error back as it was when the scope began: for a release
// that a caller must not see, since a Release, an uninitialize or a close
// that succeeded may still have set it.
class KeptLastError {
public:
    KeptLastError() : error_(GetLastError()) {}
    ~KeptLastError() { SetLastError(error_); }
    KeptLastError(const KeptLastError&) = delete;
    KeptLastError& operator=(const KeptLastError&) = delete;

private:
    const DWORD error_;
};

template <typename Traits>
class Owned {
public:
    using Type = typename Traits::Type;
    Owned() = default;
    explicit Owned(Type h) : h_(h) {}
    // Keeps the last error whatever the close says, so that a caller may read
    // the reason of a failure after the owner went out of scope.
    ~Owned() {
        if (!Traits::Valid(h_)) return;
        const KeptLastError kept;
        Traits::Close(h_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    // A maker can return its owner; the moved-from owner is empty.
    Owned(Owned&& other) noexcept : h_(other.Detach()) {}
    Owned& operator=(Owned&& other) noexcept {
        Reset(other.Detach());  // safe on itself: Detach empties it before the Reset
        return *this;
    }

    Type Get() const { return h_; }
    explicit operator bool() const { return Traits::Valid(h_); }
    // Returns the handle and takes ownership away from this owner, which is
    // empty after: for a holder of the process's life, or another owner.
    // Dropping the result would leak the handle.
    [[nodiscard]] Type Detach() {
        const Type h = h_;
        h_ = Traits::Empty();
        return h;
    }
    // Closes the handle held and takes `h`; the handle already held is kept
    // open, never closed under its own owner. False only when the close
    // failed (a close that reports a lost write, for one); then the last
    // error is the close's, and otherwise it is left as it was, so that
    // Reset(CreateFileA(...)) reads like the call it wraps.
    bool Reset(Type h = Traits::Empty()) {
        if (h == h_) return true;
        bool ok = true;
        if (Traits::Valid(h_)) {
            const DWORD error = GetLastError();
            ok = Traits::Close(h_);
            if (ok) SetLastError(error);
        }
        h_ = h;
        return ok;
    }
    // For an API that fills a handle through a pointer:
    // OpenProcessToken(..., token.Receive()). The handle held is closed
    // first, so filling a used owner leaks nothing.
    Type* Receive() {
        Reset();
        return &h_;
    }

private:
    Type h_ = Traits::Empty();
};

// Null for process and token handles, INVALID_HANDLE_VALUE for files: both mean none.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return CloseHandle(h) != FALSE; }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return FindClose(h) != FALSE; }
};
struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    // RegCloseKey returns its error and leaves the last error alone; a failed
    // Reset must still say why, as every other owner's does.
    static bool Close(Type h) {
        const LONG result = RegCloseKey(h);
        if (result != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(result));
        return result == ERROR_SUCCESS;
    }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static bool Close(Type h) { return FreeLibrary(h) != FALSE; }
};

using KernelHandle = Owned<KernelHandleTraits>;
using FindHandle = Owned<FindHandleTraits>;
using RegistryKey = Owned<RegistryKeyTraits>;
using Module = Owned<ModuleTraits>;

}  // namespace tolvane
