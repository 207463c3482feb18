// Checking test mode after a failure on the line: which boxes are connected
// again first, and which stay unchecked when that fails.

#include <gtest/gtest.h>

#include "engine/program_state.h"
#include "interfaces/interface_model.h"
#include "interfaces/ui/test_mode.h"
#include "support/fake_byte_link.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/recording_protocol.h"

namespace tarvel {
namespace {

// What the main window does when the handler ends test mode.
class EndingShell final : public LinkShell {
public:
    explicit EndingShell(TTestMode& mode) : mode_(mode) {}
    void testModeEnded() override { mode_.setOn(false); }

private:
    TTestMode& mode_;
};

class TestModeAfterAFailure : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeByteLink link;
    ProgramState state{messages, clock};
    test::RecordingProtocol wire{state.io};
    TTestMode mode{state};
    EndingShell shell{mode};
    std::vector<bool> changes;

    void SetUp() override
    {
        state.io.setLinkShell(&shell);
        QObject::connect(&mode, &TTestMode::changed, [this](bool on) { changes.push_back(on); });
    }

    // A live box of the model whose line has failed and whose reconnect failed too.
    void failedLine(int model)
    {
        InterfaceLayer& io = state.io;
        io.setByteLink(&link);
        io.setProtocol(&wire);
        io.settings.mode = 1;
        io.settings.model = model;
        io.applySelection();
        io.setSimulate(false);
        io.flags.linkFailed = true;
        wire.log.clear();
    }
};

TEST_F(TestModeAfterAFailure, FischertechnikConnectsAgainFirst)
{
    failedLine(ModelFischertechnik);
    mode.setOn(true);
    EXPECT_TRUE(mode.isOn());
    EXPECT_EQ(wire.count("startUp"), 1u);
    EXPECT_FALSE(state.io.runFlags().linkFailed);
    mode.setOn(false);
}

TEST_F(TestModeAfterAFailure, SenseAndControlStaysOffWhenItsReconnectFails)
{
    failedLine(ModelSenseControl);
    wire.startUpSucceeds = false;
    mode.setOn(true);
    EXPECT_FALSE(mode.isOn());
    EXPECT_FALSE(state.io.flags.testMode);
    EXPECT_EQ(changes, std::vector<bool>{false});  // the box is unchecked again
    EXPECT_EQ(wire.count("startUp"), 1u);
    EXPECT_TRUE(messages.empty());  // the failure was reported already

    wire.startUpSucceeds = true;
    mode.setOn(true);
    EXPECT_TRUE(mode.isOn());
    mode.setOn(false);
}

TEST_F(TestModeAfterAFailure, OtherBoxesTryAgainAndReportOnce)
{
    failedLine(ModelDeltronics);
    state.io.setProtocol(nullptr);                     // the Deltronics family itself
    link.replyTo({0x18}, {0x18, 1, 2, 3, 248, 0, 0});  // tells its sensors, then nothing more
    mode.setOn(true);
    EXPECT_EQ(wire.count("startUp"), 0u);
    ASSERT_TRUE(mode.isOn());
    state.io.pollInputs();  // what timer 666 does
    EXPECT_FALSE(mode.isOn());
    EXPECT_FALSE(state.io.flags.testMode);
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, caption::Error);
}

TEST_F(TestModeAfterAFailure, ABoxThatCannotTellItsSensorsEndsItAtOnce)
{
    failedLine(ModelDeltronics);
    state.io.setProtocol(nullptr);
    mode.setOn(true);  // D24 goes unanswered
    EXPECT_FALSE(mode.isOn());
    EXPECT_FALSE(state.io.flags.testMode);
    EXPECT_EQ(changes.back(), false);
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace tarvel
