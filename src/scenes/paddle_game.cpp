// Hidden paddle game: two paddles and a ball on a black screen, the player on the arrow keys.
#include "scenes/paddle_game.h"

#include "core/random.h"
#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "platform/gl.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

// Single-precision constants of the game, in half-screen units (per time unit where a speed).
constexpr float kPaddleSpeed = 0.045f;
constexpr float kPaddleLimit = 0.85f;
constexpr float kBallSpeedFactor = 3.0f;
constexpr float kGoalLine = 0.9f;
constexpr float kWall = 0.92f;
constexpr float kPaddleHalfWidth = 0.2f;
constexpr float kBandInner =
    0.7f;  // the hit band lies strictly between 0.7 and 0.8 from the centre
constexpr float kBandOuter = 0.8f;
constexpr float kReturnSpeedStep = 0.0002f;
constexpr float kComputerCatchUp = 0.3f;
constexpr float kComputerFollow = 0.8f;

// New horizontal speed after a return: -0.0256 .. 0.0252.
float ReturnSpeed() {
    const int32_t r = Rand();
    return static_cast<float>(r % 255 - 128) * kReturnSpeedStep;
}

// Ball, player's paddle, computer's paddle.
thread_local Sprite paddleSprites[3];

void SetSprite(Sprite& sprite, bool textured, bool alphaBlend, float halfWidth, float halfHeight) {
    sprite.textured = textured;
    sprite.alphaBlend = alphaBlend;
    sprite.color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
    sprite.halfWidth = halfWidth;
    sprite.halfHeight = halfHeight;
    sprite.rotation = 0.0f;
}

}  // namespace

thread_local PaddleGame paddleGame;

void PaddleGameServe(PaddleGame& game) {
    const PaddleGame start;
    game.ballX = start.ballX;
    game.ballY = start.ballY;
    game.ballVx = start.ballVx;
    game.ballVy = start.ballVy;
    game.playerX = start.playerX;
    game.computerX = start.computerX;
}

void PaddleGameStep(PaddleGame& game, float step, bool leftHeld, bool rightHeld) {
    // The limits are tested before the move, so the paddle may end a little beyond them.
    if (leftHeld && game.playerX > -kPaddleLimit) {
        game.playerX -= step * kPaddleSpeed;
    }
    if (rightHeld && game.playerX < kPaddleLimit) {
        game.playerX += step * kPaddleSpeed;
    }

    game.ballX += game.ballVx * kBallSpeedFactor * step;
    game.ballY += game.ballVy * kBallSpeedFactor * step;

    // Scoring comes before the walls: a ball out at the top or bottom is served at once.
    if (game.ballY < -kGoalLine) {
        game.playerScore += 1;
        PaddleGameServe(game);
    }
    if (game.ballY > kGoalLine) {
        game.computerScore += 1;
        PaddleGameServe(game);
    }

    // Walls before paddles: a ball in a hit band at a wall is clamped first, then returned.
    if (game.ballX > kWall) {
        game.ballX = kWall;
        game.ballVx = -game.ballVx;
    }
    if (game.ballX < -kWall) {
        game.ballX = -kWall;
        game.ballVx = -game.ballVx;
    }

    // Open bands; a returned ball sits on the band's inner edge, so it is not returned twice.
    if (game.ballY > kBandInner && game.ballY < kBandOuter &&
        game.ballX > game.playerX - kPaddleHalfWidth &&
        game.ballX < game.playerX + kPaddleHalfWidth) {
        game.ballVx = ReturnSpeed();
        game.ballVy = -game.ballVy;
        game.ballY = kBandInner;
    }
    if (game.ballY > -kBandOuter && game.ballY < -kBandInner &&
        game.ballX > game.computerX - kPaddleHalfWidth &&
        game.ballX < game.computerX + kPaddleHalfWidth) {
        game.ballY = -kBandInner;
        game.ballVx = ReturnSpeed();
        game.ballVy = -game.ballVy;
    }

    // Per frame, deliberately not scaled by step; computer x has no limits.
    if ((game.ballX > game.computerX && game.ballVx < 0.0f) ||
        (game.ballX < game.computerX && game.ballVx > 0.0f)) {
        game.computerX -= game.ballVx * kComputerCatchUp;
    } else {
        game.computerX += game.ballVx * kComputerFollow;
    }
}

void PaddleGameInit() {
    paddleGame = PaddleGame{};
    SetSprite(paddleSprites[0], true, false, 0.07f, 0.1f);  // the ball wears the white disc
    SetSprite(paddleSprites[1], false, true, 0.2f, 0.05f);
    SetSprite(paddleSprites[2], false, true, 0.2f, 0.05f);
}

bool PaddleGameDraw(const FrameInput& frame) {
    PaddleGame& game = paddleGame;
    PaddleGameStep(game, frame.frameStep, frame.leftKeyHeld, frame.rightKeyHeld);

    Begin2D();
    if (const Texture* disc = sharedTextures[1]) {
        BindTexture(*disc);
    }
    Sprite& ball = paddleSprites[0];
    ball.x = game.ballX;
    ball.y = game.ballY;
    DrawSprite(ball, 1.0f);
    Sprite& player = paddleSprites[1];
    player.x = game.playerX;
    player.y = game.playerRow;
    DrawSprite(player, 1.0f);
    Sprite& computer = paddleSprites[2];
    computer.x = game.computerX;
    computer.y = game.computerRow;
    DrawSprite(computer, 1.0f);
    End2D();

    // Text space has y up: the computer's score at the top, the player's at the bottom.
    PushTextSpace();
    SetTextPosition(smallFont, 1.7f, 0.9f, 1.0f, 1.0f, 1.0f, 1.0f);
    PrintText(smallFont, "%d", game.computerScore);
    SetTextPosition(smallFont, 1.7f, -0.9f, 1.0f, 1.0f, 1.0f, 1.0f);
    PrintText(smallFont, "%d", game.playerScore);
    glPopMatrix();
    return false;  // the game runs until the player quits
}

void PaddleGameStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, paddleGame);
    AddStateBlock(blocks, paddleSprites);
}
