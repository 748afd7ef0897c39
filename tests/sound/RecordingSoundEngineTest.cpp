#include "support/RecordingSoundEngine.h"

#include <gtest/gtest.h>

namespace {

using Kind = RecordingSoundEngine::Kind;

TEST(RecordingSoundEngineTest, RecordsWhatPlayedWhenAndTracksMusicHandles)
{
    ResetClock();
    RecordingSoundEngine sound;
    sound.FailMusic("Data/Music/Broken.wav");

    gameTime = 100;
    sound.PlayEffect("Data/Player/Attack.wav");
    sound.PlayEffect("Data/Enemies/Small/Death.wav");
    MusicHandle* menu = sound.PlayMusic("Data/Music/Menu.wav");
    gameTime = 132;
    sound.PlayEffect("Data/Player/Attack.wav");
    MusicHandle* game = sound.PlayMusic("Data/Music/Game.wav");
    sound.SetMusicPaused(game, false);
    sound.SetMusicVolume(game, 0.65f);

    EXPECT_EQ(sound.Played("Data/Player/Attack.wav"), 2);
    EXPECT_EQ(sound.Played("Data/Player/Death.wav"), 0);
    EXPECT_EQ(sound.EffectsAt(100),
        (std::vector<std::string> { "Data/Player/Attack.wav", "Data/Enemies/Small/Death.wav" }));
    EXPECT_EQ(sound.TimesPlayed("Data/Player/Attack.wav"), (std::vector<uint32_t> { 100, 132 }));

    ASSERT_NE(menu, nullptr);
    ASSERT_NE(game, nullptr);
    EXPECT_NE(menu, game);
    EXPECT_EQ(sound.PathOf(game), "Data/Music/Game.wav");
    EXPECT_TRUE(menu->paused);
    EXPECT_FALSE(game->paused);
    EXPECT_FLOAT_EQ(game->volume, 0.65f);
    EXPECT_EQ(sound.LiveMusic(), (std::vector<MusicHandle*> { menu, game }));
    EXPECT_EQ(sound.calls.back().path, "Data/Music/Game.wav");
    EXPECT_EQ(sound.calls.back().time, 132u);

    sound.StopMusic(menu);
    EXPECT_EQ(sound.LiveMusic(), (std::vector<MusicHandle*> { game }));
    EXPECT_EQ(sound.staleCalls, 0);

    // Null is allowed; using a stopped handle is a fault in the caller.
    EXPECT_EQ(sound.PlayMusic("Data/Music/Broken.wav"), nullptr);
    sound.SetMusicVolume(nullptr, 0.5f);
    EXPECT_EQ(sound.staleCalls, 0);
    sound.SetMusicVolume(menu, 0.5f);
    sound.StopMusic(menu);
    EXPECT_EQ(sound.staleCalls, 2);
    EXPECT_EQ(sound.Count(Kind::StopMusic), 2);
    EXPECT_EQ(sound.Count(Kind::PlayMusic), 3);
    ResetClock();
}

} // namespace
