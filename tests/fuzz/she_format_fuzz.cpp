// Any byte string, with and without a password: the parser must return
// a status, stay inside the buffer, and return only in-range metrics.
#include "skin_engine/she_format.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy, so ASan sees any read past the end.
    std::vector<std::uint8_t> copy(data, data + size);
    const void* p = copy.empty() ? nullptr : copy.data();
    const char* passwords[] = {"", nullptr, "pw"};
    for (const char* pw : passwords) {
        she::Skin skin;
        int line = -1;
        she::Status s = she::Parse(p, copy.size(), pw, &skin, &line);
        if (s < she::kOk || s > she::kNoResources || line < 0) std::abort();
        if (s != she::kOk) continue;
        for (int id = 0; id < she::kMetricCount; ++id) {
            she::MetricRange r = she::RangeOf(static_cast<she::MetricId>(id));
            int v = skin.metric(static_cast<she::MetricId>(id));
            if (v < r.min || v > r.max) std::abort();
        }
        if (std::strlen(skin.name) == 0 || std::strlen(skin.name) > she::kMaxTextBytes) std::abort();
        if (skin.password[0] != '\0' && (pw == nullptr || std::strcmp(pw, skin.password) != 0)) std::abort();
    }
    return 0;
}
