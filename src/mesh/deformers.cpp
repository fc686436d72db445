// Deformers: save and restore of positions, and travelling sine waves along a direction.
#include "mesh/deformers.h"

#include <cmath>
#include <cstddef>
#include <cstring>

namespace {

// Divisor of the wave argument, in double precision as the wave uses it (not exactly 2 pi).
constexpr double kWaveDivisor = 6.28318;

// axis: 0 for x, 2 for z.
void Wave(Mesh& mesh, int axis, float dirX, float dirY, float dirZ, float amplitude, float phase,
          float frequency) {
    float* p = mesh.positions.data();
    for (int32_t v = 0; v < mesh.vertexCount; ++v, p += 3) {
        const float d = p[axis];
        const float t = static_cast<float>((frequency * d + phase) / kWaveDivisor);
        const float s = static_cast<float>(std::sin(static_cast<double>(t)));
        const float g = s * amplitude;
        p[0] += dirX * g;
        p[1] += dirY * g;
        p[2] += dirZ * g;
    }
}

size_t PositionBytes(const Mesh& mesh) {
    return static_cast<size_t>(mesh.vertexCount) * 3 * sizeof(float);
}

}  // namespace

void SavePositions(Mesh& mesh) {
    if (mesh.savedPositions.size() < mesh.positions.size() || mesh.vertexCount <= 0) {
        return;  // PrepareDeform has not run: nothing to copy into.
    }
    std::memcpy(mesh.savedPositions.data(), mesh.positions.data(), PositionBytes(mesh));
}

void RestorePositions(Mesh& mesh) {
    if (mesh.savedPositions.size() < mesh.positions.size() || mesh.vertexCount <= 0) {
        return;
    }
    std::memcpy(mesh.positions.data(), mesh.savedPositions.data(), PositionBytes(mesh));
}

void WaveAlongX(Mesh& mesh, float dirX, float dirY, float dirZ, float amplitude, float phase,
                float frequency) {
    Wave(mesh, 0, dirX, dirY, dirZ, amplitude, phase, frequency);
}

void WaveAlongZ(Mesh& mesh, float dirX, float dirY, float dirZ, float amplitude, float phase,
                float frequency) {
    Wave(mesh, 2, dirX, dirY, dirZ, amplitude, phase, frequency);
}
