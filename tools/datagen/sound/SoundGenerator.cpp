#include "datagen/DataGen.h"
#include "datagen/sound/SoundSet.h"
#include "datagen/sound/WavWriter.h"

// Effects are mono (the game places nothing in the stereo field); music is stereo.
void GenerateSounds(const std::filesystem::path& dataDir)
{
    for (const sound::EffectFile& effect : sound::RenderEffects())
        sound::WriteWav(dataDir / effect.path, effect.samples, 1);
    sound::WriteWav(dataDir / "Music/Menu.wav", sound::RenderMenuMusic(), 2);
    sound::WriteWav(dataDir / "Music/Game.wav", sound::RenderGameMusic(), 2);
}
