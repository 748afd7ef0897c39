#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The bytes of `file`, or "" when it cannot be read. Copied through the stream buffer: GCC 12
// at -O3 warns wrongly about a string built from stream iterators.
inline std::string FileContents(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream contents;
    if (in)
        contents << in.rdbuf();
    return contents.str();
}
