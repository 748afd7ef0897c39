#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace sound {

// Converts samples in -1..1 to 16-bit PCM with rounding; values outside are clamped.
std::vector<int16_t> ToPcm16(const std::vector<double>& samples);

// Writes a canonical RIFF/WAVE file (one "fmt " and one "data" chunk, 16-bit PCM at the
// generator's sample rate). `samples` are interleaved when `channels` is 2. Creates the parent
// folder; throws std::runtime_error when the file cannot be written.
void WriteWav(const std::filesystem::path& path, const std::vector<double>& samples, int channels);

} // namespace sound
