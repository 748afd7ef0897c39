#pragma once

#include <cstdint>
#include <string>

// One row of the hiscore table.
struct HiscoreEntry {
    std::string name;
    uint32_t score = 0;
};
