// Rules of the hidden paddle game one frame at a time: keys, returns, scoring, walls, computer.
#include "scenes/paddle_game.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "core/random.h"

namespace {

// A game with the ball parked at (ballX, ballY) moving by (vx, vy).
PaddleGame Game(float ballX, float ballY, float vx = 0.0f, float vy = 0.0f) {
    PaddleGame game;
    game.ballX = ballX;
    game.ballY = ballY;
    game.ballVx = vx;
    game.ballVy = vy;
    return game;
}

// The horizontal speed a return must give, from the next number of the classic sequence
// (worked out from its state, so the game's own draw is still to come).
float NextReturnSpeed() {
    const uint32_t next = RandState() * 214013u + 2531011u;
    const int32_t r = static_cast<int32_t>((next >> 16) & 0x7FFFu);
    return static_cast<float>(r % 255 - 128) * 0.0002f;
}

TEST(PaddleGame, FrameStepZeroFreezesBallAndPlayerButNotTheComputer) {
    PaddleGame game = Game(0.3f, 0.1f, 0.01f, -0.02f);
    game.playerX = 0.1f;
    PaddleGameStep(game, 0.0f, true, false);
    EXPECT_EQ(game.ballX, 0.3f);
    EXPECT_EQ(game.ballY, 0.1f);
    EXPECT_EQ(game.playerX, 0.1f);
    // Ball to the right moving right: the paddle follows at 0.8 of 0.01, once per frame.
    EXPECT_FLOAT_EQ(game.computerX, 0.008f);
    PaddleGameStep(game, 0.0f, false, false);
    EXPECT_FLOAT_EQ(game.computerX, 0.016f);
    // With time passing the ball moves three times its velocity per unit.
    PaddleGameStep(game, 2.0f, false, false);
    EXPECT_FLOAT_EQ(game.ballX, 0.36f);
    EXPECT_FLOAT_EQ(game.ballY, -0.02f);
}

TEST(PaddleGame, KeysMoveThePlayerWithLimitsTestedBeforeTheMove) {
    const struct {
        float from, step;
        bool left, right;
        float to;
    } cases[] = {
        {0.3f, 2.0f, false, true, 0.39f},     {0.39f, 1.0f, true, false, 0.345f},
        {0.345f, 1.0f, true, true, 0.345f},    // both keys: left then right by the same amount
        {0.84f, 1.0f, false, true, 0.885f},    // just inside the limit: moves and overshoots
        {0.885f, 1.0f, false, true, 0.885f},   // then stops
        {-0.84f, 1.0f, true, false, -0.885f},  // the same on the left
        {-0.86f, 1.0f, true, true, -0.815f},   // beyond the left limit both keys only move right
    };
    for (const auto& c : cases) {
        PaddleGame game = Game(0.0f, 0.0f);
        game.playerX = c.from;
        PaddleGameStep(game, c.step, c.left, c.right);
        EXPECT_FLOAT_EQ(game.playerX, c.to)
            << "from " << c.from << " left " << c.left << " right " << c.right;
    }
}

TEST(PaddleGame, HitBandsAreOpenAndAReturnLandsOnTheBandsEdge) {
    ResetRand();
    // On a band's edge, or on the edge of the paddle's x range, the ball is not returned.
    const std::pair<float, float> edges[] = {{0.0f, 0.7f},  {0.0f, 0.8f},  {0.2f, 0.75f},
                                             {0.0f, -0.7f}, {0.0f, -0.8f}, {-0.2f, -0.75f}};
    for (const auto& [x, y] : edges) {
        PaddleGame game = Game(x, y, 0.0f, 0.02f);
        const uint32_t before = RandState();
        PaddleGameStep(game, 0.0f, false, false);
        EXPECT_EQ(game.ballVy, 0.02f) << x << ", " << y;
        EXPECT_EQ(RandState(), before) << x << ", " << y;
    }
    // Inside: back to the band's inner edge, turned round, with a fresh horizontal speed.
    for (const float side : {1.0f, -1.0f}) {
        PaddleGame game = Game(0.1f * side, 0.75f * side, 0.0f, 0.02f * side);
        const float expectedVx = NextReturnSpeed();
        PaddleGameStep(game, 0.0f, false, false);
        EXPECT_EQ(game.ballY, 0.7f * side);
        EXPECT_EQ(game.ballVy, -0.02f * side);
        EXPECT_EQ(game.ballVx, expectedVx);
        // Sitting on the edge it cannot be returned a second time.
        const uint32_t after = RandState();
        PaddleGameStep(game, 0.0f, false, false);
        EXPECT_EQ(game.ballVy, -0.02f * side);
        EXPECT_EQ(RandState(), after);
    }
}

TEST(PaddleGame, ScoringAndServeComeBeforeTheWalls) {
    // Out at the top while far past the right wall: the serve wins, no reflection happens.
    PaddleGame game = Game(0.95f, -0.89f, 0.01f, -0.02f);
    game.playerX = 0.5f;
    game.computerX = -0.4f;
    PaddleGameStep(game, 1.0f, false, false);
    EXPECT_EQ(game.playerScore, 1);
    EXPECT_EQ(game.computerScore, 0);
    EXPECT_EQ(std::tuple(game.ballX, game.ballY, game.ballVx, game.ballVy, game.playerX),
              std::tuple(0.0f, 0.0f, 0.01f, -0.02f, 0.0f))
        << "served: ball x, y, vx, vy, player x";
    // The computer's move of this frame still follows the serve.
    EXPECT_FLOAT_EQ(game.computerX, 0.008f);

    // Out at the bottom: the computer scores.
    PaddleGame low = Game(5.0f, 0.95f);
    PaddleGameStep(low, 0.0f, false, false);
    EXPECT_EQ(low.computerScore, 1);
    EXPECT_EQ(low.ballX, 0.0f);
}

TEST(PaddleGame, WallClampComesBeforeThePaddleTest) {
    // At x 0.97 the ball is right of the paddle (0.55 .. 0.95); clamped to 0.92 it is on it.
    PaddleGame game = Game(0.97f, 0.75f, 0.0f, 0.02f);
    game.playerX = 0.75f;
    const float expectedVx = NextReturnSpeed();
    PaddleGameStep(game, 0.0f, false, false);
    EXPECT_EQ(game.ballX, 0.92f);
    EXPECT_EQ(game.ballY, 0.7f);
    EXPECT_EQ(game.ballVx, expectedVx);

    // Left wall: clamped and reflected.
    PaddleGame left = Game(-0.95f, 0.2f, -0.01f);
    PaddleGameStep(left, 0.0f, false, false);
    EXPECT_EQ(left.ballX, -0.92f);
    EXPECT_EQ(left.ballVx, 0.01f);
}

TEST(PaddleGame, ComputerMovesPerFrameTowardsOrWithTheBall) {
    const struct {
        float computerX, ballX, vx, to;
    } cases[] = {
        {0.0f, 0.5f, -0.01f, 0.003f},    // ball right, coming back left: catch up at 0.3
        {0.0f, -0.5f, 0.02f, -0.006f},   // ball left, coming back right
        {0.0f, -0.5f, -0.01f, -0.008f},  // ball left, moving further left: follow at 0.8
        {3.0f, 0.0f, 0.02f, 2.994f},     // no limits on the computer's paddle
    };
    for (const auto& c : cases) {
        PaddleGame game = Game(c.ballX, 0.0f, c.vx);
        game.computerX = c.computerX;
        PaddleGameStep(game, 0.0f, false, false);
        EXPECT_FLOAT_EQ(game.computerX, c.to) << "ball " << c.ballX << " moving " << c.vx;
    }
}

}  // namespace
