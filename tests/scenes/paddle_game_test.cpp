// Rules of the hidden paddle game, one frame at a time, without GL.
#include "scenes/paddle_game.h"

#include <gtest/gtest.h>

#include "scenes/scenes.h"
#include "shell/random.h"

namespace {

// A game with the ball parked and still, so one rule at a time can be watched.
PaddleGame StillGame(float ballX, float ballY) {
    PaddleGame game;
    game.ballX = ballX;
    game.ballY = ballY;
    game.ballVx = 0.0f;
    game.ballVy = 0.0f;
    return game;
}

// The horizontal speed a return must give, from the next number of the classic sequence
// (worked out from its state, so the game's own draw is still to come).
float NextReturnSpeed() {
    const uint32_t next = RandState() * 214013u + 2531011u;
    const int32_t r = static_cast<int32_t>((next >> 16) & 0x7FFFu);
    return static_cast<float>(r % 255 - 128) * 0.0002f;
}

TEST(PaddleGame, StartsFromTheTableValues) {
    paddleGame.playerScore = 7;
    paddleGame.ballX = 0.5f;
    PaddleGameInit();
    EXPECT_EQ(paddleGame.playerScore, 0);
    EXPECT_EQ(paddleGame.computerScore, 0);
    EXPECT_EQ(paddleGame.ballX, 0.0f);
    EXPECT_EQ(paddleGame.ballVx, 0.01f);
    EXPECT_EQ(paddleGame.ballVy, -0.02f);
    EXPECT_EQ(paddleGame.playerRow, 0.8f);
    EXPECT_EQ(paddleGame.computerRow, -0.8f);
}

TEST(PaddleGame, FrameStepZeroFreezesBallAndPlayerButNotTheComputer) {
    PaddleGame game;
    game.ballX = 0.3f;
    game.ballY = 0.1f;
    game.playerX = 0.1f;
    PaddleGameStep(game, 0.0f, true, false);
    EXPECT_EQ(game.ballX, 0.3f);
    EXPECT_EQ(game.ballY, 0.1f);
    EXPECT_EQ(game.playerX, 0.1f);
    // Ball to the right moving right: the paddle follows at 0.8 of 0.01.
    EXPECT_FLOAT_EQ(game.computerX, 0.008f);
    PaddleGameStep(game, 0.0f, false, false);
    EXPECT_FLOAT_EQ(game.computerX, 0.016f);
}

TEST(PaddleGame, KeysMoveThePlayerWithLimitsTestedBeforeTheMove) {
    PaddleGame game = StillGame(0.0f, 0.0f);
    game.playerX = 0.3f;
    PaddleGameStep(game, 2.0f, false, true);
    EXPECT_FLOAT_EQ(game.playerX, 0.39f);
    PaddleGameStep(game, 1.0f, true, false);
    EXPECT_FLOAT_EQ(game.playerX, 0.345f);

    // Both keys: left then right by the same amount.
    PaddleGameStep(game, 1.0f, true, true);
    EXPECT_NEAR(game.playerX, 0.345f, 1e-6f);

    // Just inside the right limit the move still happens and overshoots; then it stops.
    game.playerX = 0.84f;
    PaddleGameStep(game, 1.0f, false, true);
    EXPECT_FLOAT_EQ(game.playerX, 0.885f);
    PaddleGameStep(game, 1.0f, false, true);
    EXPECT_FLOAT_EQ(game.playerX, 0.885f);

    // The same on the left side.
    game.playerX = -0.84f;
    PaddleGameStep(game, 1.0f, true, false);
    EXPECT_FLOAT_EQ(game.playerX, -0.885f);

    // Beyond the left limit both keys only move right.
    game.playerX = -0.86f;
    PaddleGameStep(game, 1.0f, true, true);
    EXPECT_FLOAT_EQ(game.playerX, -0.815f);
}

TEST(PaddleGame, BallMovesThreeTimesItsVelocityPerTimeUnit) {
    PaddleGame game;
    PaddleGameStep(game, 2.0f, false, false);
    EXPECT_FLOAT_EQ(game.ballX, 0.06f);
    EXPECT_FLOAT_EQ(game.ballY, -0.12f);
}

TEST(PaddleGame, PlayerBandIsOpenAndAReturnLandsOnItsEdge) {
    ResetRand();
    for (const float y : {0.7f, 0.8f}) {
        PaddleGame game = StillGame(0.0f, y);
        game.ballVy = 0.0f;
        const uint32_t before = RandState();
        PaddleGameStep(game, 0.0f, false, false);
        EXPECT_EQ(game.ballY, y) << "a ball on the band's edge is not returned";
        EXPECT_EQ(RandState(), before);
    }
    // The paddle's x range is open too.
    {
        PaddleGame game = StillGame(0.2f, 0.75f);
        PaddleGameStep(game, 0.0f, false, false);
        EXPECT_EQ(game.ballY, 0.75f);
    }

    PaddleGame game = StillGame(0.1f, 0.75f);
    game.ballVy = 0.02f;
    const float expectedVx = NextReturnSpeed();
    const uint32_t before = RandState();
    PaddleGameStep(game, 0.0f, false, false);
    EXPECT_NE(RandState(), before);
    EXPECT_EQ(game.ballY, 0.7f);
    EXPECT_EQ(game.ballVy, -0.02f);
    EXPECT_EQ(game.ballVx, expectedVx);
    EXPECT_GE(game.ballVx, -0.0256f);
    EXPECT_LE(game.ballVx, 0.0252f);

    // Sitting on 0.7 it cannot be returned a second time.
    const uint32_t after = RandState();
    PaddleGameStep(game, 0.0f, false, false);
    EXPECT_EQ(game.ballVy, -0.02f);
    EXPECT_EQ(RandState(), after);
}

TEST(PaddleGame, ComputerBandReturnsTheBallDownwards) {
    PaddleGame game = StillGame(-0.1f, -0.75f);
    game.ballVy = -0.02f;
    const float expectedVx = NextReturnSpeed();
    PaddleGameStep(game, 0.0f, false, false);
    EXPECT_EQ(game.ballY, -0.7f);
    EXPECT_EQ(game.ballVy, 0.02f);
    EXPECT_EQ(game.ballVx, expectedVx);

    PaddleGame edge = StillGame(0.0f, -0.8f);
    edge.ballVy = -0.02f;
    PaddleGameStep(edge, 0.0f, false, false);
    EXPECT_EQ(edge.ballVy, -0.02f);
}

TEST(PaddleGame, ScoringAndServeComeBeforeTheWalls) {
    // Out at the top while far past the right wall: the serve wins, no reflection happens.
    PaddleGame game;
    game.ballX = 0.95f;
    game.ballY = -0.89f;
    game.playerX = 0.5f;
    game.computerX = -0.4f;
    PaddleGameStep(game, 1.0f, false, false);
    EXPECT_EQ(game.playerScore, 1);
    EXPECT_EQ(game.computerScore, 0);
    EXPECT_EQ(game.ballX, 0.0f);
    EXPECT_EQ(game.ballY, 0.0f);
    EXPECT_EQ(game.ballVx, 0.01f);
    EXPECT_EQ(game.ballVy, -0.02f);
    EXPECT_EQ(game.playerX, 0.0f);
    // The computer's move of this frame still follows the serve.
    EXPECT_FLOAT_EQ(game.computerX, 0.008f);

    // Out at the bottom: the computer scores.
    PaddleGame low = StillGame(5.0f, 0.95f);
    PaddleGameStep(low, 0.0f, false, false);
    EXPECT_EQ(low.computerScore, 1);
    EXPECT_EQ(low.ballX, 0.0f);
}

TEST(PaddleGame, BallPassingBesideAPaddleTravelsOn) {
    PaddleGame game = StillGame(0.6f, 0.69f);
    game.ballVy = 0.02f;
    PaddleGameStep(game, 1.0f, false, false);
    EXPECT_FLOAT_EQ(game.ballY, 0.75f) << "inside the band but beside the paddle";
    EXPECT_EQ(game.ballVy, 0.02f);
    PaddleGameStep(game, 3.0f, false, false);
    EXPECT_EQ(game.computerScore, 1);
    EXPECT_EQ(game.ballY, 0.0f);
}

TEST(PaddleGame, WallClampComesBeforeThePaddleTest) {
    // At x 0.97 the ball is right of the paddle (0.55 .. 0.95); clamped to 0.92 it is on it.
    PaddleGame game = StillGame(0.97f, 0.75f);
    game.playerX = 0.75f;
    game.ballVy = 0.02f;
    const float expectedVx = NextReturnSpeed();
    PaddleGameStep(game, 0.0f, false, false);
    EXPECT_EQ(game.ballX, 0.92f);
    EXPECT_EQ(game.ballY, 0.7f);
    EXPECT_EQ(game.ballVx, expectedVx);

    // Left wall: clamped and reflected.
    PaddleGame left = StillGame(-0.95f, 0.2f);
    left.ballVx = -0.01f;
    PaddleGameStep(left, 0.0f, false, false);
    EXPECT_EQ(left.ballX, -0.92f);
    EXPECT_EQ(left.ballVx, 0.01f);
}

TEST(PaddleGame, ComputerMovesPerFrameTowardsOrWithTheBall) {
    // Ball right of the paddle, coming back left: catch up at 0.3 of the speed.
    PaddleGame a = StillGame(0.5f, 0.0f);
    a.ballVx = -0.01f;
    PaddleGameStep(a, 0.0f, false, false);
    EXPECT_FLOAT_EQ(a.computerX, 0.003f);

    // Ball left of the paddle, coming back right.
    PaddleGame b = StillGame(-0.5f, 0.0f);
    b.ballVx = 0.02f;
    PaddleGameStep(b, 0.0f, false, false);
    EXPECT_FLOAT_EQ(b.computerX, -0.006f);

    // Ball left of the paddle moving further left: follow at 0.8.
    PaddleGame c = StillGame(-0.5f, 0.0f);
    c.ballVx = -0.01f;
    PaddleGameStep(c, 0.0f, false, false);
    EXPECT_FLOAT_EQ(c.computerX, -0.008f);

    // No limits on the computer's paddle.
    PaddleGame d = StillGame(0.0f, 0.0f);
    d.computerX = 3.0f;
    d.ballVx = 0.02f;
    PaddleGameStep(d, 0.0f, false, false);
    EXPECT_FLOAT_EQ(d.computerX, 2.994f);
}

TEST(PaddleGame, LongUnattendedGameOnlyGrowsTheScoresAndStaysFinite) {
    PaddleGameInit();
    int32_t lastTotal = 0;
    for (int frame = 0; frame < 20000; ++frame) {
        PaddleGameStep(paddleGame, 1.0f, false, false);
        const int32_t total = paddleGame.playerScore + paddleGame.computerScore;
        ASSERT_GE(total, lastTotal);
        lastTotal = total;
        ASSERT_LE(paddleGame.ballX, 0.92f);
        ASSERT_GE(paddleGame.ballX, -0.92f);
        ASSERT_LE(paddleGame.ballY, 0.9f);
        ASSERT_GE(paddleGame.ballY, -0.9f);
    }
    EXPECT_GT(lastTotal, 0);
}

}  // namespace

// The game drawn as the hidden mode draws it: black clear, identity, the scene.
#include <GL/gl.h>

#include "closing_scene_support.h"
#include "platform/window_messages.h"
#include "shell/demo_globals.h"
#include "shell/demo_window.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

class PaddleGameDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        PaddleGameInit();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }
    void TearDown() override {
        ResetDemoGlobals();
        GlTest::TearDown();
    }
    Picture DrawFrame(float step) {
        frameStep = step;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        PaddleGameDraw();
        GLint after = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
        EXPECT_EQ(after, depth);
        return ReadPicture();
    }
};

TEST_F(PaddleGameDrawTest, FirstFrameShowsPaddlesOnTheirRowsAndZeroScoresAtTheRightEdge) {
    const Picture picture = DrawFrame(1.0f);
    // Player's paddle: 128 x 24 pixels centred on (320, 432); the computer's on (320, 48).
    EXPECT_EQ(CountInRect(picture, 258, 422, 382, 442, kWhite), 124 * 20);
    EXPECT_EQ(CountInRect(picture, 262, 38, 378, 58, kWhite), 116 * 20);
    EXPECT_EQ(PixelAt(picture, 250, 432), kBlack);
    EXPECT_EQ(PixelAt(picture, 390, 48), kBlack);
    EXPECT_EQ(PixelAt(picture, 320, 410), kBlack);
    // The ball's disc a little up and right of the centre.
    EXPECT_EQ(PixelAt(picture, 325, 226), kWhite);
    // Each "0" stands next to its paddle's row at the right edge, baseline about 115 and 365.
    const int top = CountInRect(picture, 545, 85, 600, 120, kWhite);
    const int bottom = CountInRect(picture, 545, 335, 600, 370, kWhite);
    EXPECT_GT(top, 30);
    EXPECT_GT(bottom, 30);
    EXPECT_EQ(top, bottom) << "both scores print the same glyph";
    // Nothing else is white: left half of the field off the paddles, ball and text.
    EXPECT_EQ(CountInRect(picture, 0, 100, 200, 400, kWhite), 0);
}

TEST_F(PaddleGameDrawTest, HoldingTheRightArrowMovesThePlayerRightUntilNearTheLimit) {
    // Ball parked in the centre so that no serve puts the paddle back meanwhile.
    paddleGame.ballVx = 0.0f;
    paddleGame.ballVy = 0.0f;
    // The key reaches the game as the window procedure turns it into the held-key flag.
    WindowProc(WindowMessage{MessageKind::KeyDown, KeyCode::Right});
    float last = paddleGame.playerX;
    Picture picture;
    for (int frame = 0; frame < 30; ++frame) {
        picture = DrawFrame(1.0f);
        EXPECT_GE(paddleGame.playerX, last);
        last = paddleGame.playerX;
    }
    EXPECT_GT(paddleGame.playerX, 0.85f);
    EXPECT_LT(paddleGame.playerX, 0.85f + 0.045f + 1e-6f);
    // The paddle now spans about 538..666 (clipped at 640) on its row; the centre is dark.
    EXPECT_EQ(PixelAt(picture, 600, 432), kWhite);
    EXPECT_EQ(PixelAt(picture, 320, 432), kBlack);

    // Released: it stays; the left arrow then moves it back.
    WindowProc(WindowMessage{MessageKind::KeyUp, KeyCode::Right});
    DrawFrame(1.0f);
    EXPECT_EQ(paddleGame.playerX, last);
    WindowProc(WindowMessage{MessageKind::KeyDown, KeyCode::Left});
    DrawFrame(1.0f);
    EXPECT_FLOAT_EQ(paddleGame.playerX, last - 0.045f);
    WindowProc(WindowMessage{MessageKind::KeyUp, KeyCode::Left});
}

}  // namespace
