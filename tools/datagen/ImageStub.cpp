#include "datagen/DataGen.h"
// Placeholder until the image generator lands.
void GenerateImages(const std::filesystem::path&) {}
