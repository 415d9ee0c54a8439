// The byte blocks carried in the executable as RCDATA resources.
#pragma once
#include <cstddef>

namespace tolvane {

struct ResourceBytes {
    const void* data;
    std::size_t size;
};

// The block with id `id` of this executable; {nullptr, 0} when it is missing.
ResourceBytes RcDataBytes(int id);

}  // namespace tolvane
