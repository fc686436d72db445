// The hidden paddle game's state and its per-frame rules, separate from drawing.
#pragma once

#include <cstdint>

// Field in half-screen units: x from -1 (left edge) to 1 (right edge), y from -1 (top edge) to
// 1 (bottom edge). The player plays along the bottom row, the computer along the top row.
struct PaddleGame {
    float playerX = 0.0f;
    float playerRow = 0.8f;
    float computerX = 0.0f;
    float computerRow = -0.8f;
    float ballX = 0.0f;
    float ballY = 0.0f;
    float ballVx = 0.01f;     // half-screen units per time unit, before the factor 3 of the motion
    float ballVy = -0.02f;    // negative: towards the computer's side at the top
    int32_t playerScore = 0;  // balls that left the field at the top
    int32_t computerScore = 0;  // balls that left the field at the bottom
};

// The one game, drawn by PaddleGameDraw; PaddleGameInit puts it back to its start values.
extern thread_local PaddleGame paddleGame;

// Ball back to the centre with its start velocity, both paddles back to x = 0.
void PaddleGameServe(PaddleGame& game);

// One frame of the rules: keys, ball motion, scoring, side walls, paddle returns (each takes one
// Rand()) and the computer's move, which is per frame and not scaled by step.
void PaddleGameStep(PaddleGame& game, float step, bool leftHeld, bool rightHeld);
