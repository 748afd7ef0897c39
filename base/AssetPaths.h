#pragma once

#include <string_view>

// Every image and sound file of the game, by the path the game reads it from (relative to the
// working directory). The renderer's preloading, the data generator and the data tests all read
// these two tables, so adding an asset means adding its row here and its painter or synthesiser
// in tools/datagen.
//
// Keep one row per line, starting with its path: the build reads the paths from this file to
// know which files the data generator writes.

// An animation: a folder of PNG frames numbered from 0000.
struct ImageAsset {
    std::string_view path {};
    // Loaded by the menu before any game starts, in the order of this table.
    bool preloaded = false;
};

inline constexpr ImageAsset imageAssets[] = {
    { "Data/Gui/GameBackground", true },
    { "Data/Gui/GameOverBackground", true },
    { "Data/Gui/ShieldIcon", true },
    { "Data/Enemies/Medium", true },
    { "Data/Enemies/Medium/Projectile", true },
    { "Data/Player/Explosion", true },
    { "Data/Player/Debris/Small/1", true },
    { "Data/Player/Debris/Small/2", true },
    { "Data/Player/Debris/Small/3", true },
    { "Data/Player/Debris/Small/4", true },
    { "Data/Player/Debris/Small/5", true },
    { "Data/Player/Debris/Small/6", true },
    { "Data/Player/Debris/Small/7", true },
    { "Data/Player/Debris/Tiny/1", true },
    { "Data/Enemies/Big", true },
    { "Data/Enemies/Big/Projectile", true },
    { "Data/Enemies/Big/Explosion", true },
    { "Data/Enemies/Big/Debris/1", true },
    { "Data/Enemies/Big/Debris/2", true },
    { "Data/Enemies/Big/Debris/3", true },
    { "Data/Enemies/Big/Debris/4", true },
    { "Data/Enemies/Big/Debris/5", true },
    { "Data/Enemies/Small", true },
    { "Data/Enemies/Small/Projectile", true },
    { "Data/Enemies/Small/Explosion", true },
    { "Data/Enemies/Small/Debris/1", true },
    { "Data/Enemies/Small/Debris/2", true },
    { "Data/Player/Shield", true },
    { "Data/Player", true },
    { "Data/Player/Projectile", true },
    { "Data/Player/Debris/Large/1", true },
    { "Data/Player/Debris/Large/2", true },
    { "Data/Player/Debris/Medium/1", true },
    { "Data/Player/Debris/Medium/2", true },
    { "Data/Player/Debris/Medium/3", true },
    { "Data/ShieldPickup", true },
    { "Data/Gui/BlackOverlay", true },
    // Shown by no screen, but preloaded all the same.
    { "Data/MenuBackground", true },
    // The menu loads its own backdrop when it builds it.
    { "Data/Gui/MenuBackground", false },
};

enum class SoundKind {
    Effect, // played once, never stopped
    Music,  // looped by the screen that started it
};

// A WAV file.
struct SoundAsset {
    std::string_view path {};
    SoundKind kind = SoundKind::Effect;
};

inline constexpr SoundAsset soundAssets[] = {
    { "Data/Music/Menu.wav", SoundKind::Music },
    { "Data/Music/Game.wav", SoundKind::Music },
    { "Data/Gui/MenuMove.wav", SoundKind::Effect },
    { "Data/Gui/MenuSelect.wav", SoundKind::Effect },
    { "Data/Player/Attack.wav", SoundKind::Effect },
    { "Data/Player/Damaged.wav", SoundKind::Effect },
    { "Data/Player/Death.wav", SoundKind::Effect },
    { "Data/ShieldPickup/PickedUp.wav", SoundKind::Effect },
    { "Data/Enemies/Small/Attack.wav", SoundKind::Effect },
    { "Data/Enemies/Medium/Attack.wav", SoundKind::Effect },
    { "Data/Enemies/Big/Attack.wav", SoundKind::Effect },
    { "Data/Enemies/Small/Death.wav", SoundKind::Effect },
    { "Data/Enemies/Medium/Death.wav", SoundKind::Effect },
    { "Data/Enemies/Big/Death.wav", SoundKind::Effect },
};

// The picture the window carries for the desktop's task bar and window switcher: the game's icon,
// one still PNG of a modest size (the installed icon theme has the larger ones). The game reads
// it once, when the window opens; without it the window simply has no icon.
// Keep it on one line: the build reads the path from here to know the file the generator writes.
inline constexpr std::string_view windowIconPath = "Data/Gui/WindowIcon.png";

// Every data path starts with this folder; the generator writes below it.
inline constexpr std::string_view dataFolder = "Data/";
