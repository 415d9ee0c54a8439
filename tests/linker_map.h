// The linker's map of an image (-Map, written beside it) names where each
// symbol lies; a test reads a variable of a loaded image there.
#pragma once
#include <cstdio>
#include <cstring>
#include <string>

namespace tests {

// Returns the offset of `symbol` from the image's base, or 0 if the map or
// either name is missing.
inline unsigned long SymbolOffset(const std::string& mapPath, const char* symbol) {
    FILE* map = std::fopen(mapPath.c_str(), "r");
    char line[512], name[256];
    unsigned long address = 0, base = 0, found = 0;
    while (map && std::fgets(line, sizeof line, map))
        if (std::sscanf(line, " 0x%lx %255s", &address, name) == 2) {
            if (std::strcmp(name, "__image_base__") == 0) base = address;
            if (std::strcmp(name, symbol) == 0) found = address;
        }
    if (map) std::fclose(map);
    return base && found ? found - base : 0;
}

}  // namespace tests
