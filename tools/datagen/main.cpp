// Writes the game's whole data set, and the desktop icon when given a folder for it:
//   skarvold_datagen DATA_DIR [ICON_DIR]
#include "datagen/DataGen.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR [ICON_DIR]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dataDir = argv[1];
    const std::filesystem::path iconDir = argc == 3 ? argv[2] : "";
    try {
        std::filesystem::create_directories(dataDir);
        // Images and sounds share nothing, so they are made side by side.
        std::exception_ptr soundError;
        std::exception_ptr imageError;
        std::thread sounds([&] {
            try {
                GenerateSounds(dataDir);
            } catch (...) {
                soundError = std::current_exception();
            }
        });
        try {
            GenerateImages(dataDir);
            GenerateWindowIcon(dataDir);
            if (!iconDir.empty())
                GenerateIcons(iconDir);
        } catch (...) {
            imageError = std::current_exception();
        }
        sounds.join();
        if (imageError)
            std::rethrow_exception(imageError);
        if (soundError)
            std::rethrow_exception(soundError);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skarvold_datagen: %s\n", error.what());
        return 1;
    }
    return 0;
}
