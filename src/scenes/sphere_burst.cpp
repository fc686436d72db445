// Sphere burst: six noise spheres flying out and back, a drifting wire shell and a textured floor.
#include "scenes/sphere_burst.h"

#include <cmath>

#include "gfx/gl_state.h"
#include "gfx/texture.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/scene_math.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

// The scene's single-precision constants.
constexpr float kHalfTurn = 3.14159f;  // divisor of every angle of the scene
constexpr float kVisitLength = 20.0f;  // a visit ends once the clock passes this

thread_local Camera camera;
thread_local Mesh ball;
thread_local Mesh shell;
thread_local Mesh floorGrid;
// The ball and the shell never change shape, so their line overlays are recorded once
// (RecordMeshLines).
thread_local GLuint ballLines = 0;
thread_local GLuint shellLines = 0;

}  // namespace

thread_local SphereBurstState sphereBurst;

Vec3 SphereBurstEye(float clock) {
    const int32_t s = 4 * static_cast<int32_t>(clock / 8.0f);
    const float a = static_cast<float>(s) / kHalfTurn;
    return Vec3{100.0f * SinF(a), 50.0f, -300.0f * CosF(a)};
}

int32_t SphereBurstNextNoise(SphereBurstState& state) {
    state.noiseIndex = NextNoiseIndex(state.noiseIndex);
    return kFirstNoiseEntry + state.noiseIndex;
}

float SphereBurstSpread(float clock) {
    const float h = (SinF(clock / kHalfTurn) + 1.0f) * 0.5f;
    return 100.0f * h;
}

Vec3 SphereBurstShellOffset(float clock) {
    const float angle = clock / kHalfTurn;
    // Sine and cosine are never zero together, so the direction always has a length.
    Vec3 v{50.0f * SinF(angle), -80.0f * SinF(angle), -60.0f * CosF(angle)};
    Vec3Normalize(v);
    return Vec3{100.0f * v.x, 100.0f * v.y, 100.0f * v.z};
}

bool SphereBurstVisitEnds(SphereBurstState& state) {
    if (state.clock > kVisitLength) {
        state.clock = 0.0f;
        return true;
    }
    return false;
}

void SphereBurstInit() {
    CameraSet(camera, 100.0f, 50.0f, 200.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    BuildSphere(ball, 32, 50.0f);
    PrepareDeform(ball);
    PrepareTopFirst(ball);
    BuildSphere(shell, 32, 150.0f);
    PrepareDeform(shell);
    BuildGrid(floorGrid, 20, 20, 300.0f, 300.0f);
    ballLines = RecordMeshLines(ballLines, &ball, 1);
    shellLines = RecordMeshLines(shellLines, &shell, 1);
}

bool SphereBurstDraw(const FrameInput& frame) {
    SphereBurstState& state = sphereBurst;
    state.clock = state.clock + frame.frameStep;

    const Vec3 eye = SphereBurstEye(state.clock);
    camera.eyeX = eye.x;
    camera.eyeZ = eye.z;
    CameraApply(camera);

    const int32_t entry = SphereBurstNextNoise(state);
    EnableCap(GL_TEXTURE_2D);
    bool opaque = false;
    if (Texture* noise = sharedTextures[entry]) {
        BindTexture(*noise);
        opaque = TextureOpaque(noise->name);
    }

    const float p = SphereBurstSpread(state.clock);
    const float offsets[6][3] = {{0.0f, 0.0f, -p}, {0.0f, 0.0f, p}, {p, 0.0f, 0.0f},
                                 {-p, 0.0f, 0.0f}, {0.0f, p, 0.0f}, {0.0f, -p, 0.0f}};
    glPushMatrix();
    glRotatef(state.clock, 1.0f, 1.0f, 1.0f);
    // Where the balls meet they lie up to two dozen layers deep (the sphere mesh covers its surface
    // twice) with the depth test off: drawn top first, only the top layer is textured.
    if (TopFirstKeepsPicture(opaque)) {
        BeginTopFirst();
        for (int i = 5; i >= 0; --i) {
            glPushMatrix();
            glTranslatef(offsets[i][0], offsets[i][1], offsets[i][2]);
            DrawMeshTopFirst(ball);
            glPopMatrix();
        }
        EndTopFirst();
    } else {
        for (const auto& offset : offsets) {
            glPushMatrix();
            glTranslatef(offset[0], offset[1], offset[2]);
            DrawMesh(ball);
            glPopMatrix();
        }
    }
    CallMeshLines(ballLines, &ball, 1);
    glPopMatrix();

    const Vec3 v = SphereBurstShellOffset(state.clock);
    glPushMatrix();
    glTranslatef(v.x, v.y, v.z);
    // The offset's components double as turn angles in degrees.
    glRotatef(v.x, 1.0f, 0.0f, 0.0f);
    glRotatef(v.y, 0.0f, 1.0f, 0.0f);
    glRotatef(v.z, 0.0f, 0.0f, 1.0f);
    CallMeshLines(shellLines, &shell, 1);
    glPopMatrix();

    // On the camera matrix without a push: the driver loads the identity before the next frame.
    glTranslatef(0.0f, -100.0f, 0.0f);
    DrawMesh(floorGrid);

    return SphereBurstVisitEnds(state);
}

void SphereBurstStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, sphereBurst);
    AddStateBlock(blocks, camera);
}
