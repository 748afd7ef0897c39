#include "world/FlyingText.h"

#include "render/TextItem.h"

#include "world/ObjectFrames.h"

#include <gtest/gtest.h>

namespace {

class FlyingTextTest : public ObjectFrames {
protected:
    // A score notice made at gameTime 1000, in the same step as its first frame.
    FlyingText* Notice()
    {
        gameTime = lastFrameTime = 1000;
        auto* notice = world->Create<FlyingText>(world);
        notice->label->SetText("Score: + 3");
        notice->SetPosition({ 400, 300 });
        return notice;
    }
};

TEST_F(FlyingTextTest, FadesInHoldsFromFullOpacityThenFadesOutAndLeaves)
{
    FlyingText* notice = Notice();
    Frame(0);
    EXPECT_EQ(notice->label->opacity, 0);
    EXPECT_EQ(DrawnBounds().w, 0);
    EXPECT_FALSE(notice->dead);
    RunUntil(1480, 40);
    EXPECT_EQ(notice->label->opacity, 244);
    Frame(40); // first frame at full opacity: the hold runs to 4520
    EXPECT_EQ(notice->label->opacity, 255);
    const SDL_Rect drawn = DrawnBounds();
    EXPECT_NEAR(drawn.x + drawn.w / 2, 400, 2);
    long red = 0, green = 0; // the notice's own light green, not the white it was added in
    for (const uint32_t pixel : ReadPicture()) {
        red += RedOf(pixel);
        green += GreenOf(pixel);
    }
    EXPECT_GT(green, 3 * red);
    RunUntil(4480, 40);
    EXPECT_EQ(notice->label->opacity, 255);
    Frame(40);
    Frame(500);
    EXPECT_EQ(notice->label->opacity, 127);
    Frame(460);
    EXPECT_EQ(notice->label->opacity, 10);
    Frame(40);
    EXPECT_TRUE(notice->dead);
    EXPECT_EQ(notice->label->opacity, 10);
    Frame(40);
    EXPECT_TRUE(world->objects.empty());
    EXPECT_TRUE(renderer->textLayers[4].empty());
}

TEST_F(FlyingTextTest, RisesTenPixelsPerSecondAndStandsStillWhilePaused)
{
    FlyingText* notice = Notice();
    RunUntil(1512, 16);
    EXPECT_NEAR(notice->position.y, 300 - 16 * 0.32f, 1e-3f);
    Frame(16); // between steps: drawn half a step up
    EXPECT_NEAR(notice->label->position.y, 300 - 15.5f * 0.32f, 1e-3f);
    EXPECT_EQ(notice->label->position.x, 400.0f);
    const Vec2 before = notice->label->position;
    for (int paused = 0; paused < 200; ++paused)
        Frame(0);
    EXPECT_EQ(notice->label->position.y, before.y);
    // The hold began at 1512, and still runs out only after 3000 ms of unpaused time.
    RunUntil(4504, 16);
    EXPECT_TRUE(notice->fadingIn);
    Frame(16);
    EXPECT_FALSE(notice->fadingIn);
    EXPECT_EQ(notice->label->opacity, 255);
}

} // namespace

// A ship destroyed at the top of its band or against a side leaves its notice where half of
// it would be off the window; the label is drawn inside, against that edge.
TEST_F(FlyingTextTest, LabelNearAnEdgeIsDrawnInsideTheWindow)
{
    struct Case {
        Vec2 at;
        bool left, top, right;
    };
    // The whole label, drawn in the middle.
    FlyingText* middle = Notice();
    RunUntil(1600, 40);
    const SDL_Rect whole = DrawnBounds();
    ASSERT_GT(whole.w, 20);
    middle->dead = true;
    Frame(40);
    Frame(40);
    for (const Case& c :
        { Case { { 0, 300 }, true, false, false }, Case { { 400, -20 }, false, true, false },
            Case { { 800, 20 }, false, false, true }, Case { { 10, 4 }, true, true, false } }) {
        SCOPED_TRACE(testing::Message() << "at (" << c.at.x << ", " << c.at.y << ")");
        FlyingText* notice = Notice();
        notice->SetPosition(c.at);
        RunUntil(1600, 40);
        const SDL_Rect drawn = DrawnBounds();
        EXPECT_EQ(drawn.w, whole.w);
        EXPECT_EQ(drawn.h, whole.h);
        EXPECT_GE(drawn.x, 0);
        EXPECT_GE(drawn.y, 0);
        EXPECT_LE(drawn.x + drawn.w, 800);
        EXPECT_LE(drawn.y + drawn.h, 600);
        if (c.left) {
            EXPECT_LE(drawn.x, 2);
        }
        if (c.top) {
            EXPECT_LE(drawn.y, 4);
        }
        if (c.right) {
            EXPECT_GE(drawn.x + drawn.w, 797);
        }
        notice->dead = true;
        Frame(40);
        Frame(40);
    }
}
