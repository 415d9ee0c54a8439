// Owners of the kernel's handles, search handles, registry keys and modules:
// each is given back once, by the scope that got it, on every way out of it.
// GDI objects use the same owner (gdi_objects.h).
#pragma once
#include <windows.h>

namespace tolvane {

template <typename Traits>
class Owned {
public:
    using Type = typename Traits::Type;
    Owned() = default;
    explicit Owned(Type h) : h_(h) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Type Get() const { return h_; }
    explicit operator bool() const { return Traits::Valid(h_); }
    // Hands it over to a holder of the process's life; this owner is empty after.
    Type Detach() {
        const Type h = h_;
        h_ = Traits::Empty();
        return h;
    }
    // Gives it back now; false only when the giving back itself failed (a
    // close that reports a lost write, for one).
    bool Reset(Type h = Traits::Empty()) {
        const bool ok = !Traits::Valid(h_) || Traits::Close(h_);
        h_ = h;
        return ok;
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
    static bool Close(Type h) { return RegCloseKey(h) == ERROR_SUCCESS; }
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
