#include "datagen/DataGen.h"
// Placeholder until the sound generator lands.
void GenerateSounds(const std::filesystem::path&) {}
