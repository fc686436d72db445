// The live show's study keys, pass by pass: what each key does to the show position, the pause
// and the sound, as the frame road runs them (without a window: the passes draw offscreen and the
// sound goes to the offline device).
#include <gtest/gtest.h>

#include <cmath>

#include "core/frame_clock.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "platform/wave_out.h"
#include "shell/music_hooks.h"
#include "shell/show_run.h"

namespace {

constexpr double kFrame = 1000.0 / 60.0;
constexpr int64_t kRingFrames = 88400;

class StudyControlsTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        CreateToolkitStartupResources();
        RunSceneInitialisations();
        DemoOptions options;
        std::string error;
        ASSERT_TRUE(StudyOpen(run.study, options, &error)) << error;
        UseOfflineMusic();
        StartMusic(false, 0.0);
        run.options = options;
        run.musicStarted = true;
        run.clock.fixedFps = 60;  // the live show's steps, without a wall clock
        StudyStart(run);
        ASSERT_TRUE(run.study.enabled);
    }
    void TearDown() override {
        StopMusic();
        GlTest::TearDown();
    }

    // One pass of the live frame road, presentation left out.
    PassPicture Pass() {
        ++run.frame;
        const PassPicture picture = StudyBeginPass(run);
        if (picture == PassPicture::NewFrame) {
            AdvanceShow(run.study.travel, run.show, run.position, FrameClockStep(run.clock), true);
        }
        StudyEndPass(run);
        return picture;
    }
    void Press(KeyCode key, bool repeat = false) {
        StudyWindowMessage(run, WindowMessage{MessageKind::KeyDown, key, repeat});
    }
    // Where the sound device plays in its ring, against where the show time says it should.
    static int64_t SoundInRing() { return WaveOutPosition() / 4; }
    int64_t ShowTimeInRing() const { return MusicFrameAt(run.position.milliseconds) % kRingFrames; }

    static inline ShowRun run;
};

TEST_F(StudyControlsTest, PauseStepsAndSeeksMoveTheShowAndTheSoundFollowsOnResuming) {
    for (int i = 0; i < 120; ++i) {
        ASSERT_EQ(Pass(), PassPicture::NewFrame);
    }
    EXPECT_NEAR(run.position.milliseconds, 120 * kFrame, 0.01);

    Press(KeyCode::Space);
    Press(KeyCode::Space, true);  // a held Space does not toggle again
    EXPECT_EQ(Pass(), PassPicture::Repeated);
    EXPECT_TRUE(run.study.paused);
    const double held = run.position.milliseconds;
    EXPECT_EQ(Pass(), PassPicture::Repeated);
    EXPECT_EQ(run.position.milliseconds, held);

    Press(KeyCode::Period);
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_NEAR(run.position.milliseconds, held + kFrame, 0.01);
    Press(KeyCode::Comma);
    Press(KeyCode::Comma, true);  // held, it steps again
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_NEAR(run.position.milliseconds, held - kFrame, 0.01);
    Press(KeyCode::Right);
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_NEAR(run.position.milliseconds, held - kFrame + 5000.0, 0.01);
    EXPECT_TRUE(run.study.paused);
    EXPECT_TRUE(run.study.movedWhilePaused);
    EXPECT_EQ(Pass(), PassPicture::Repeated);

    // Resumed: the sound goes to the sample the new show time calls for.
    Press(KeyCode::Space);
    EXPECT_EQ(Pass(), PassPicture::NewFrame);
    EXPECT_FALSE(run.study.paused);
    EXPECT_EQ(SoundInRing(), MusicFrameAt(held - kFrame + 5000.0) % kRingFrames);

    // A seek while playing moves the sound at once.
    Press(KeyCode::Left);
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_NEAR(run.position.milliseconds, held - kFrame + kFrame, 0.01);
    EXPECT_EQ(SoundInRing(), ShowTimeInRing());
}

TEST_F(StudyControlsTest, SceneJumpsHomeAndTheSwitches) {
    Press(KeyCode::PageDown);
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_EQ(run.position.visit, 1);
    const double ringsStart = run.position.milliseconds;
    EXPECT_GT(ringsStart, 20000.0);
    EXPECT_EQ(SoundInRing(), ShowTimeInRing());
    for (int i = 0; i < 30; ++i) {
        Pass();
    }
    Press(KeyCode::PageUp);
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_EQ(run.position.milliseconds, ringsStart);
    Press(KeyCode::PageUp);  // soon after: the visit before
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_EQ(run.position.visit, 0);
    EXPECT_EQ(run.position.frame, 1);  // the show's first frame, as the first travel drew it
    for (int i = 0; i < 30; ++i) {
        Pass();
    }
    Press(KeyCode::Home);
    EXPECT_EQ(Pass(), PassPicture::Landed);
    EXPECT_EQ(run.position.frame, 1);

    Press(KeyCode::Tab);
    Press(KeyCode::F1);
    Press(KeyCode::Escape);  // the window procedure's, not the study's
    Press(KeyCode::Other);
    EXPECT_EQ(Pass(), PassPicture::NewFrame);
    EXPECT_TRUE(run.study.overlayShown);
    EXPECT_TRUE(run.study.keysShown);
    Press(KeyCode::Tab, true);  // a held switch stays as it is
    Press(KeyCode::Question);
    Pass();
    EXPECT_TRUE(run.study.overlayShown);
    EXPECT_FALSE(run.study.keysShown);
}

}  // namespace
