// The sound effects. Peaks are set per effect: frequent sounds (the player's shot, enemy
// shots, the menu tick) sit well below the rare, big ones (deaths), so the mix stays balanced
// under the game's master volume.
#include "datagen/sound/SfxSynth.h"
#include "datagen/sound/SoundSet.h"

namespace sound {

namespace {

    // The player's shot plays five times a second for minutes: short, soft and round. A triangle
    // falling a little more than an octave, a sine body beneath it and a faint breathy edge; all
    // of it under 4 kHz.
    std::vector<double> PlayerAttack(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Triangle,
                    .frequency = 1150.0,
                    .slide = -7.0,
                    .attack = 0.002,
                    .hold = 0.012,
                    .decay = 0.1,
                    .decayCurve = 2.0,
                    .lowPass = 3600.0,
                    .gain = 0.8 },
                { .wave = Wave::Sine,
                    .frequency = 575.0,
                    .slide = -6.0,
                    .attack = 0.002,
                    .hold = 0.01,
                    .decay = 0.085,
                    .gain = 0.6 },
                { .wave = Wave::Noise,
                    .frequency = 3000.0,
                    .attack = 0.001,
                    .decay = 0.025,
                    .decayCurve = 3.0,
                    .lowPass = 4000.0,
                    .highPass = 1200.0,
                    .gain = 0.12 },
            },
            seed, -10.0);
    }

    // A shield hit: a falling saw ring-modulated by an unrelated frequency for a metallic clang,
    // a short bright zap on top, a crackle and a dull knock beneath.
    std::vector<double> PlayerDamaged(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Saw,
                    .frequency = 820.0,
                    .slide = -3.5,
                    .ringFrequency = 1370.0,
                    .attack = 0.002,
                    .hold = 0.03,
                    .decay = 0.24,
                    .lowPass = 6000.0,
                    .resonance = 0.3,
                    .gain = 0.7 },
                { .wave = Wave::Square,
                    .frequency = 2300.0,
                    .slide = -6.0,
                    .duty = 0.3,
                    .ringFrequency = 3170.0,
                    .attack = 0.001,
                    .decay = 0.09,
                    .decayCurve = 2.5,
                    .lowPass = 7000.0,
                    .gain = 0.3 },
                { .wave = Wave::Noise,
                    .frequency = 4000.0,
                    .attack = 0.001,
                    .decay = 0.07,
                    .decayCurve = 2.5,
                    .lowPass = 9000.0,
                    .highPass = 2000.0,
                    .gain = 0.3 },
                { .wave = Wave::Sine,
                    .frequency = 150.0,
                    .slide = -2.0,
                    .attack = 0.002,
                    .decay = 0.12,
                    .gain = 0.5 },
            },
            seed, -2.0);
    }

    // The player's ship breaking up: a long blast with a deep thump and sub rumble, and over it a
    // detuned, wobbling tone powering down.
    std::vector<double> PlayerDeath(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Noise,
                    .frequency = 600.0,
                    .attack = 0.003,
                    .hold = 0.05,
                    .decay = 1.1,
                    .decayCurve = 2.2,
                    .punch = 0.6,
                    .lowPass = 3200.0,
                    .lowPassSweep = -2.0,
                    .resonance = 0.2,
                    .gain = 1.0 },
                { .wave = Wave::Sine,
                    .frequency = 95.0,
                    .slide = -1.5,
                    .attack = 0.002,
                    .decay = 0.55,
                    .decayCurve = 1.6,
                    .gain = 0.9 },
                { .wave = Wave::Noise,
                    .frequency = 40.0,
                    .noiseSteps = 4.0,
                    .attack = 0.01,
                    .decay = 1.1,
                    .decayCurve = 1.4,
                    .lowPass = 220.0,
                    .drive = 0.5,
                    .gain = 1.1 },
                { .wave = Wave::Saw,
                    .frequency = 620.0,
                    .slide = -2.4,
                    .vibratoDepth = 0.6,
                    .vibratoRate = 9.0,
                    .detuneCents = 18.0,
                    .attack = 0.004,
                    .hold = 0.1,
                    .decay = 0.9,
                    .decayCurve = 1.5,
                    .lowPass = 3000.0,
                    .lowPassSweep = -1.5,
                    .gain = 0.45 },
            },
            seed, -1.5);
    }

    // Gaining a shield: a bright rising arpeggio of bells, C E G C, the last ringing longest.
    std::vector<double> ShieldPickedUp(uint32_t seed)
    {
        std::vector<SfxLayer> layers;
        const double notes[] = { 1046.5, 1318.5, 1568.0, 2093.0 };
        for (int i = 0; i < 4; ++i) {
            const double start = 0.055 * static_cast<double>(i);
            const double decay = i == 3 ? 0.5 : 0.3;
            layers.push_back({ .wave = Wave::Sine,
                .frequency = notes[i],
                .vibratoDepth = 0.08,
                .vibratoRate = 7.0,
                .attack = 0.003,
                .decay = decay,
                .decayCurve = 1.6,
                .gain = 0.55,
                .start = start });
            layers.push_back({ .wave = Wave::Triangle,
                .frequency = notes[i] * 2.0,
                .attack = 0.002,
                .decay = decay * 0.5,
                .decayCurve = 2.0,
                .lowPass = 9000.0,
                .gain = 0.12,
                .start = start });
        }
        return RenderEffect(layers, seed, -3.0);
    }

    // Moving through the menu: a crisp, very short tick.
    std::vector<double> MenuMove(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Square,
                    .frequency = 1760.0,
                    .attack = 0.001,
                    .decay = 0.035,
                    .decayCurve = 2.0,
                    .lowPass = 6000.0,
                    .gain = 0.6 },
                { .wave = Wave::Sine,
                    .frequency = 880.0,
                    .attack = 0.001,
                    .decay = 0.03,
                    .gain = 0.5 },
            },
            seed, -7.0);
    }

    // Taking a choice: a confirming two-note blip, a fifth upwards.
    std::vector<double> MenuSelect(uint32_t seed)
    {
        std::vector<SfxLayer> layers;
        const double notes[] = { 660.0, 990.0 };
        for (int i = 0; i < 2; ++i) {
            const double start = 0.075 * static_cast<double>(i);
            layers.push_back({ .wave = Wave::Square,
                .frequency = notes[i],
                .duty = 0.25,
                .attack = 0.002,
                .hold = 0.04,
                .decay = 0.1 + 0.05 * i,
                .lowPass = 5000.0,
                .gain = 0.5,
                .start = start });
            layers.push_back({ .wave = Wave::Sine,
                .frequency = notes[i] * 0.5,
                .attack = 0.002,
                .hold = 0.04,
                .decay = 0.1 + 0.05 * i,
                .gain = 0.4,
                .start = start });
        }
        return RenderEffect(layers, seed, -4.0);
    }

    // The small enemy's shot: a quick, thin, high pip.
    std::vector<double> SmallAttack(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Square,
                    .frequency = 1500.0,
                    .slide = -4.0,
                    .duty = 0.3,
                    .attack = 0.002,
                    .hold = 0.01,
                    .decay = 0.08,
                    .lowPass = 5000.0,
                    .gain = 0.7 },
                { .wave = Wave::Sine,
                    .frequency = 3000.0,
                    .slide = -4.0,
                    .attack = 0.001,
                    .decay = 0.04,
                    .gain = 0.2 },
            },
            seed, -9.0);
    }

    // The medium enemy fires fans of three: three rapid chirps in one sound.
    std::vector<double> MediumAttack(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Square,
                    .frequency = 900.0,
                    .slide = -9.0,
                    .duty = 0.4,
                    .dutySweep = -1.0,
                    .repeatTime = 0.045,
                    .attack = 0.002,
                    .hold = 0.09,
                    .decay = 0.06,
                    .lowPass = 4000.0,
                    .resonance = 0.3,
                    .gain = 0.7 },
                { .wave = Wave::Saw,
                    .frequency = 450.0,
                    .slide = -9.0,
                    .repeatTime = 0.045,
                    .attack = 0.002,
                    .hold = 0.09,
                    .decay = 0.06,
                    .lowPass = 2000.0,
                    .gain = 0.3 },
            },
            seed, -7.0);
    }

    // The big enemy's aimed shot: a heavy, warbling plasma bolt with a low push.
    std::vector<double> BigAttack(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Saw,
                    .frequency = 330.0,
                    .slide = -2.5,
                    .vibratoDepth = 1.2,
                    .vibratoRate = 28.0,
                    .detuneCents = 25.0,
                    .attack = 0.003,
                    .hold = 0.05,
                    .decay = 0.26,
                    .lowPass = 2200.0,
                    .lowPassSweep = -2.5,
                    .resonance = 0.5,
                    .gain = 0.7 },
                { .wave = Wave::Sine,
                    .frequency = 120.0,
                    .slide = -1.5,
                    .attack = 0.003,
                    .decay = 0.2,
                    .gain = 0.7 },
                { .wave = Wave::Noise,
                    .frequency = 2000.0,
                    .attack = 0.001,
                    .decay = 0.05,
                    .lowPass = 5000.0,
                    .highPass = 800.0,
                    .gain = 0.2 },
            },
            seed, -5.0);
    }

    // A small ship pops: a short, bright burst.
    std::vector<double> SmallDeath(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Noise,
                    .frequency = 1100.0,
                    .attack = 0.001,
                    .hold = 0.01,
                    .decay = 0.3,
                    .decayCurve = 2.6,
                    .lowPass = 6000.0,
                    .lowPassSweep = -4.0,
                    .gain = 1.0 },
                { .wave = Wave::Sine,
                    .frequency = 220.0,
                    .slide = -3.0,
                    .attack = 0.001,
                    .decay = 0.12,
                    .gain = 0.5 },
            },
            seed, -4.0);
    }

    // A medium ship: a fuller blast with a thump.
    std::vector<double> MediumDeath(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Noise,
                    .frequency = 550.0,
                    .attack = 0.002,
                    .hold = 0.03,
                    .decay = 0.55,
                    .decayCurve = 2.2,
                    .punch = 0.4,
                    .lowPass = 4000.0,
                    .lowPassSweep = -2.8,
                    .resonance = 0.15,
                    .gain = 1.0 },
                { .wave = Wave::Sine,
                    .frequency = 115.0,
                    .slide = -1.8,
                    .attack = 0.002,
                    .decay = 0.32,
                    .decayCurve = 1.8,
                    .gain = 0.8 },
                { .wave = Wave::Noise,
                    .frequency = 60.0,
                    .noiseSteps = 4.0,
                    .attack = 0.01,
                    .decay = 0.5,
                    .lowPass = 300.0,
                    .gain = 0.6 },
            },
            seed, -2.5);
    }

    // The big ship: a long, deep boom that rolls on as rumble, with debris crackle on top.
    std::vector<double> BigDeath(uint32_t seed)
    {
        return RenderEffect(
            {
                { .wave = Wave::Noise,
                    .frequency = 320.0,
                    .attack = 0.004,
                    .hold = 0.06,
                    .decay = 1.05,
                    .decayCurve = 1.8,
                    .punch = 0.6,
                    .lowPass = 2000.0,
                    .lowPassSweep = -1.6,
                    .resonance = 0.25,
                    .gain = 1.0 },
                { .wave = Wave::Sine,
                    .frequency = 72.0,
                    .slide = -1.2,
                    .attack = 0.003,
                    .decay = 0.85,
                    .decayCurve = 1.5,
                    .gain = 1.0 },
                { .wave = Wave::Noise,
                    .frequency = 25.0,
                    .noiseSteps = 4.0,
                    .attack = 0.02,
                    .decay = 1.1,
                    .decayCurve = 1.2,
                    .lowPass = 160.0,
                    .drive = 0.5,
                    .gain = 1.3 },
                { .wave = Wave::Noise,
                    .frequency = 6000.0,
                    .attack = 0.002,
                    .decay = 0.3,
                    .decayCurve = 2.5,
                    .lowPass = 8000.0,
                    .highPass = 2500.0,
                    .gain = 0.15,
                    .start = 0.04 },
            },
            seed, -1.5);
    }

} // namespace

std::vector<SoundMaker> EffectMakers()
{
    return {
        { "Data/Player/Attack.wav", 101, PlayerAttack },
        { "Data/Player/Damaged.wav", 102, PlayerDamaged },
        { "Data/Player/Death.wav", 103, PlayerDeath },
        { "Data/ShieldPickup/PickedUp.wav", 104, ShieldPickedUp },
        { "Data/Gui/MenuMove.wav", 105, MenuMove },
        { "Data/Gui/MenuSelect.wav", 106, MenuSelect },
        { "Data/Enemies/Small/Attack.wav", 107, SmallAttack },
        { "Data/Enemies/Medium/Attack.wav", 108, MediumAttack },
        { "Data/Enemies/Big/Attack.wav", 109, BigAttack },
        { "Data/Enemies/Small/Death.wav", 110, SmallDeath },
        { "Data/Enemies/Medium/Death.wav", 111, MediumDeath },
        { "Data/Enemies/Big/Death.wav", 112, BigDeath },
    };
}

} // namespace sound
