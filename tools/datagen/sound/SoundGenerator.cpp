#include "datagen/DataGen.h"
#include "datagen/sound/SoundSet.h"
#include "datagen/sound/WavWriter.h"

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sound {

std::vector<SoundMaker> MusicMakers()
{
    return {
        { "Data/Music/Menu.wav", 2002, RenderMenuMusic },
        { "Data/Music/Game.wav", 3002, RenderGameMusic },
    };
}

} // namespace sound

// Effects are mono (the game places nothing in the stereo field); music is stereo.
void GenerateSounds(const std::filesystem::path& dataDir)
{
    struct Maker {
        sound::SoundMaker maker;
        SoundKind kind = SoundKind::Effect;
    };
    std::map<std::string_view, Maker> makers;
    std::vector<SeededAsset> seeds;
    for (const sound::SoundMaker& effect : sound::EffectMakers())
        makers[effect.path] = { effect, SoundKind::Effect };
    for (const sound::SoundMaker& music : sound::MusicMakers())
        makers[music.path] = { music, SoundKind::Music };
    for (const auto& [path, made] : makers)
        seeds.push_back({ path, made.maker.seed });
    CheckSeedsDiffer(seeds);

    for (const SoundAsset& asset : soundAssets) {
        const auto found = makers.find(asset.path);
        if (found == makers.end() || found->second.kind != asset.kind)
            throw std::runtime_error(std::string(asset.path) + ": no synthesiser of its kind");
        const int channels = asset.kind == SoundKind::Music ? 2 : 1;
        sound::WriteWav(dataDir / BelowDataFolder(asset.path),
            found->second.maker.render(found->second.maker.seed), channels);
        makers.erase(found);
    }
    // A synthesiser without a row would make a sound the game never plays.
    if (!makers.empty())
        throw std::runtime_error(
            std::string(makers.begin()->first) + ": synthesised but not in the sound table");
}
