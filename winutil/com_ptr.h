// The owner of one reference to a COM object, released once on every way
// out of the scope that holds it.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include "winutil/handles.h"

namespace tolvane {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes ownership of a reference the caller already counted.
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Returns the reference, for a caller that passes it on (an out-parameter
    // of our own, an LRESULT); this owner is empty after.
    [[nodiscard]] T* Detach() {
        T* const p = p_;
        p_ = nullptr;
        return p;
    }
    // Releases the reference held and takes `p`, even when it is the same
    // object: `p` comes with a reference of its own, unlike a handle.
    // The last error stays as it was: a Release that ends the object runs
    // its destructor, whose calls may set it.
    void Reset(T* p = nullptr) {
        T* const old = p_;
        p_ = p;
        // Last: a Release that ends the object may reach back into this owner.
        if (!old) return;
        const KeptLastError kept;
        old->Release();
    }
    // For an out-parameter (QueryInterface, CoCreateInstance): releases the
    // reference held first, so that the one written in is the only one.
    T** Receive() {
        Reset();
        return &p_;
    }

private:
    T* p_ = nullptr;
};

}  // namespace tolvane
