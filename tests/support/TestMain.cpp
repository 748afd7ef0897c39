// Runs every test headless unless the environment already chose drivers.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A software renderer on a window otherwise borrows a GL texture as its framebuffer,
    // and the GL driver leaks inside system libraries on every window.
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
