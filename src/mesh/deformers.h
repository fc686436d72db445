// Per-frame deformers: sine waves that displace every vertex along a fixed direction.
#pragma once

#include "mesh/mesh.h"

// Both need PrepareDeform first. Per frame: SavePositions, any number of waves (they add up), draw,
// RestorePositions, which brings positions back bit for bit.
void SavePositions(Mesh& mesh);
void RestorePositions(Mesh& mesh);

// Moves every vertex by (dirX, dirY, dirZ) * amplitude * sin((frequency * d + phase) / 6.28318),
// where d is the vertex's x (WaveAlongX) or z (WaveAlongZ) read before it moves.
void WaveAlongX(Mesh& mesh, float dirX, float dirY, float dirZ, float amplitude, float phase,
                float frequency);
void WaveAlongZ(Mesh& mesh, float dirX, float dirY, float dirZ, float amplitude, float phase,
                float frequency);
