// Speaking through a device: what reaches it, a second press cutting the first short, and a
// machine without sound.
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "FakeAudioDevice.h"
#include "SpeechTestSupport.h"

namespace speechtest {
namespace {

using speech::Report;
using speech::Speaker;

class PlaybackTest : public SpeechTest {
protected:
    void TearDown() override {
        Speaker::instance().setListener(nullptr);
        SpeechTest::TearDown();
    }

    // Every report the speaker makes, in order.
    std::vector<Report> listen() {
        std::lock_guard<std::mutex> guard(reportsMutex);
        return reports;
    }
    void startListening() {
        Speaker::instance().setListener([this](Report report) {
            std::lock_guard<std::mutex> guard(reportsMutex);
            reports.push_back(report);
        });
    }

    std::mutex reportsMutex;
    std::vector<Report> reports;
};

TEST_F(PlaybackTest, SpeakingHandsTheDeviceTheWholeWordAndLetsItPlayOut) {
    auto recording = std::make_shared<Recording>();
    Speaker::instance().useAudioDevice(recordingInto(recording));
    const std::string german = voiceFor(L"German");
    const Audio alone = synthesize(german, L"Haus");
    Speaker::instance().speak(german, L"Haus");
    Speaker::instance().waitUntilQuiet();
    std::lock_guard<std::mutex> guard(recording->mutex);
    EXPECT_EQ(recording->opens, 1);
    EXPECT_EQ(recording->drains, 1);
    EXPECT_NEAR(static_cast<double>(recording->samples.size()), static_cast<double>(alone.samples.size()),
                0.1 * static_cast<double>(alone.samples.size()));
    EXPECT_GT(loudness(recording->samples), 300.0);
}

TEST_F(PlaybackTest, ASecondPressStopsTheFirstAndSpeaksAfresh) {
    auto recording = std::make_shared<Recording>();
    // Plays at twenty times the speed of a real device, so the long text would take about a second.
    Speaker::instance().useAudioDevice(recordingInto(recording, 20));
    const std::string german = voiceFor(L"German");
    std::wstring longText;
    for (int i = 0; i < 40; ++i) {
        longText += L"Das Eichhörnchen sitzt auf dem Baum. ";
    }
    const Audio whole = synthesize(german, longText);
    ASSERT_EQ(whole.outcome, speech::Outcome::Done);
    Speaker::instance().speak(german, longText);
    while (recording->sampleCount() == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto pressed = std::chrono::steady_clock::now();
    Speaker::instance().speak(german, L"Haus");
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::milliseconds(20)) << "the press waited";
    Speaker::instance().waitUntilQuiet();
    const Audio word = synthesize(german, L"Haus");
    std::lock_guard<std::mutex> guard(recording->mutex);
    EXPECT_LT(recording->samples.size(), whole.samples.size() / 4) << "the first text played on";
    EXPECT_GE(recording->samples.size(), word.samples.size() * 9 / 10) << "the second was not spoken";
    EXPECT_GE(recording->discards, 1);
    EXPECT_EQ(recording->drains, 1);  // only the second ran to its end
}

TEST_F(PlaybackTest, WithoutASoundDeviceTheUserIsToldOnceAndSpeakingStaysPossible) {
    startListening();
    Speaker::instance().useAudioDevice(noSoundDevice());
    const std::string german = voiceFor(L"German");
    for (int press = 0; press < 3; ++press) {
        Speaker::instance().speak(german, L"Haus");
        Speaker::instance().waitUntilQuiet();
    }
    EXPECT_EQ(listen(), std::vector<Report>{Report::NoSoundDevice});
    // Synthesis itself still works.
    EXPECT_EQ(synthesize(german, L"Haus").outcome, speech::Outcome::Done);

    auto recording = std::make_shared<Recording>();
    Speaker::instance().useAudioDevice(recordingInto(recording));
    Speaker::instance().speak(german, L"Haus");
    Speaker::instance().waitUntilQuiet();
    EXPECT_EQ(listen(), (std::vector<Report>{Report::NoSoundDevice, Report::SoundWorks}));
    EXPECT_GT(recording->sampleCount(), 0u);
}

TEST_F(PlaybackTest, AVoiceThatIsNotInstalledIsReportedAndNothingPlays) {
    startListening();
    auto recording = std::make_shared<Recording>();
    Speaker::instance().useAudioDevice(recordingInto(recording));
    // One at a time: a press while the one before has not started yet replaces it.
    for (const auto& [voice, text] : {std::pair<std::string, std::wstring>{"xx/gone", L"Haus"},
                                      {"none", L"Haus"},  // no voice chosen: silent, nothing to report
                                      {voiceFor(L"German"), L""}}) {
        Speaker::instance().speak(voice, text);
        Speaker::instance().waitUntilQuiet();
    }
    EXPECT_EQ(listen(), std::vector<Report>{Report::VoiceNotInstalled});
    EXPECT_EQ(recording->sampleCount(), 0u);
}

TEST_F(PlaybackTest, TheSystemsSoundIsTriedWhateverTheMachineHas) {
    // CI has no sound device: this must neither hang nor crash, and tell about the device.
    startListening();
    Speaker::instance().useAudioDevice(speech::makeSystemAudioDevice);
    Speaker::instance().speak(voiceFor(L"German"), L"Haus");
    Speaker::instance().waitUntilQuiet();
    const std::vector<Report> heard = listen();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0] == Report::NoSoundDevice || heard[0] == Report::SoundWorks);
}

}  // namespace
}  // namespace speechtest
