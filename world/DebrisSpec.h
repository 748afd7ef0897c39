#pragma once

#include <cstdint>
#include <string>

// One entry of an explosion's debris list: which image, how many pieces.
struct DebrisSpec {
    std::string path;
    uint32_t count = 0;
};
