// Word spheres: four spheres on a diagonal, a sentence word by word, later seen through feedback.
#include "scenes/word_spheres.h"

#include "gfx/bitmap_font.h"
#include "gfx/screen_feedback.h"
#include "gfx/texture.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/closing_constants.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

constexpr float kWordLength = 5.0f;      // word clock units per word
constexpr float kSentenceEnd = 35.0f;    // seven words
constexpr float kRateGrowth = 0.5f;      // per completed sentence
constexpr float kFeedbackStart = 50.0f;  // clock after which the frame goes through the feedback
constexpr float kSceneEnd = 180.0f;

constexpr const char* kSentence[] = {"YOU", "should", "be", "happy", "cuz", "we are", "bored"};

thread_local Mesh ball;

// Pushes the modelview matrix and moves to sphere j of the diagonal.
void PlaceSphere(int j) {
    const float d = -20.0f + 10.0f * static_cast<float>(j);
    const float z = -7.0f - 2.0f * static_cast<float>(j);
    glPushMatrix();
    glTranslatef(d, d, z);
}

}  // namespace

thread_local WordSpheres wordSpheres;

const char* SentenceWord(float wordClock) {
    // Upper bounds 5, 10, ..., 35 inclusive, compared in float as the table reads.
    for (int i = 0; i < 7; ++i) {
        if (wordClock <= kWordLength * static_cast<float>(i + 1)) {
            return kSentence[i];
        }
    }
    return nullptr;
}

void WordSpheresAdvance(WordSpheres& scene, float step) {
    scene.clock += step;
    scene.wordClock += (scene.wordRate + 1.0f) * step;
    const float c = scene.clock;
    scene.camera.eyeX = 3.0f * SinF(1.5f * c / kTurnDivisor);
    scene.camera.eyeZ = 7.0f - 3.0f * CosF(2.0f * c / kTurnDivisor);
    scene.camera.eyeY = -16.0f * SinF(0.5f * c / kTurnDivisor);
    scene.camera.targetX = 15.0f * SinF(2.0f * c / kTurnDivisor);
}

bool WordSpheresFeedbackOn(const WordSpheres& scene) {
    return scene.clock > kFeedbackStart;
}

bool WordSpheresFinishFrame(WordSpheres& scene) {
    if (scene.wordClock > kSentenceEnd) {
        scene.wordClock = 0.0f;
        scene.wordRate += kRateGrowth;
    }
    return scene.clock > kSceneEnd;
}

void WordSpheresInit() {
    wordSpheres = WordSpheres{};
    BuildSphere(ball, 16, 15.0f);
    PrepareDeform(ball);
    PrepareTopFirst(ball);
    CameraSet(wordSpheres.camera, 2.0f, 0.0f, 7.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
}

bool WordSpheresDraw(const FrameInput& frame) {
    WordSpheresAdvance(wordSpheres, frame.frameStep);
    CameraApply(wordSpheres.camera);

    const bool feedback = WordSpheresFeedbackOn(wordSpheres);
    if (feedback) {
        SetCaptureViewport(screenFeedback);
    }

    // No texture of its own: the spheres wear whatever is bound, from the second feedback frame on
    // the previous frame's capture, which DrawFeedback leaves bound.
    EnableCap(GL_TEXTURE_2D);
    if (TopFirstKeepsPicture(BoundTextureOpaque())) {
        // The camera sits almost inside the spheres, each covering the screen up to four layers
        // deep: drawn top first (last sphere's lines, last sphere, ...), only the top is textured.
        BeginTopFirst();
        for (int j = 3; j >= 0; --j) {
            PlaceSphere(j);
            DisableCap(GL_TEXTURE_2D);
            DrawMeshLinesTopFirst(ball);
            EnableCap(GL_TEXTURE_2D);
            DrawMeshTopFirst(ball);
            glPopMatrix();
        }
        EndTopFirst();
        DisableCap(GL_TEXTURE_2D);
    } else {
        for (int j = 0; j < 4; ++j) {
            PlaceSphere(j);
            EnableCap(GL_TEXTURE_2D);
            DrawMesh(ball);
            DisableCap(GL_TEXTURE_2D);
            DrawMeshLines(ball);
            glPopMatrix();
        }
    }

    Begin2D();
    if (feedback) {
        DrawFeedback(screenFeedback, 1, 0.0f);
    }
    End2D();

    PushTextSpace();
    SetTextPosition(largeFont, -1.7f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    if (const char* word = SentenceWord(wordSpheres.wordClock)) {
        PrintText(largeFont, "%s", word);
    }
    glPopMatrix();

    return WordSpheresFinishFrame(wordSpheres);
}

void WordSpheresStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, wordSpheres);
}
