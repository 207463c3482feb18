// Every family the program drives over a serial line against every way its
// box can misbehave, in the main window over a real pseudo-terminal: the run
// ends soon with the handler's one message, and the same window then drives
// a working box on another port to the end of a chart.

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <fstream>
#include <optional>

#include "app/flow_frame.h"
#include "engine/chart_builder.h"
#include "flowchart/flow_file.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "interfaces/model_traits.h"
#include "interfaces/protocols/protocol_context.h"
#include "interfaces/protocols/sense_control_protocol.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_serial_link.h"
#include "support/box_process.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

using test::BoxProcess;

// Bounds for each step (the connect, the run), generous for a slow shared
// machine. The longest is a run on a silent Deltronics box: its reset and
// eight power levels each wait a second for the reply they ignore, then the
// first output waits for its acknowledgement (about 11 s); a silent board
// is given its start-up time twice (about 8 s).
constexpr int kFailureBoundMs = 15000;
constexpr int kGoodRunBoundMs = 15000;
// How long the window is left to itself after a failed run, at least: a
// queued stop would show a second message within it.
constexpr int kAfterFailureMs = 250;
// Time the run spends on the line before the box is pulled.
constexpr int kBeforePullMs = 400;

constexpr int kSimulate = 123;
constexpr int kCom1 = 0;
constexpr int kCom2 = 1;

struct Family {
    const char* name;
    const char* box;  // `tarvel box` model argument
    int model;
    int subModel;
    // Exchanges a box with --stop-after answers: past the connect and the
    // start of the run, so it falls silent while the chart polls.
    int stopAfter;
    // Time for a keep-alive that reads an answer to fire and give up, after
    // a failed run: it would show a second message within it.
    int keepAliveMs = 0;
};

const Family kFamilies[] = {
    {"Deltronics", "1", ModelDeltronics, 0, 12},
    {"SenseControl", "2", ModelSenseControl, 0, 12},
    {"Mfa", "6", ModelMfa, 0, 12},
    {"ContactController", "7", ModelContactController, 0, 14},
    {"Lego", "11", ModelLego, 0, 3},
    {"Fischertechnik", "12", ModelFischertechnik, 0, 3, 1000},
    {"Firmata", "firmata", ModelFirmata, 0, 26},
};

enum class Fault { Silent, WrongAck, Garbage, StopAfter, Pulled };

const char* faultName(Fault f)
{
    switch (f) {
        case Fault::Silent:
            return "Silent";
        case Fault::WrongAck:
            return "WrongAck";
        case Fault::Garbage:
            return "Garbage";
        case Fault::StopAfter:
            return "StopAfter";
        case Fault::Pulled:
            return "Pulled";
    }
    return "";
}

std::vector<std::string> boxArgs(const Family& family, Fault fault)
{
    std::vector<std::string> args{family.box};
    switch (fault) {
        case Fault::Silent:
            args.emplace_back("--silent");
            break;
        case Fault::WrongAck:
            args.emplace_back("--wrong-ack");
            break;
        case Fault::Garbage:
            args.emplace_back("--garbage");
            break;
        case Fault::StopAfter:
            args.emplace_back("--stop-after");
            args.push_back(std::to_string(family.stopAfter));
            break;
        case Fault::Pulled:
            break;  // a working box, killed during the run
    }
    return args;
}

// Why a combination cannot fail, or empty when it must.
std::string whyNoFailure(const Family& family, Fault fault)
{
    // Its output and poll replies are plain data bytes: there is no
    // acknowledgement to get wrong, and any byte is a reading.
    if (family.model == ModelFischertechnik &&
        (fault == Fault::WrongAck || fault == Fault::Garbage))
        return "the Fischertechnik box has no acknowledgement and no byte it could get wrong";
    return {};
}

using Case = std::tuple<Family, Fault>;

void PrintTo(const Family& f, std::ostream* os)
{
    *os << f.name;
}
void PrintTo(Fault f, std::ostream* os)
{
    *os << faultName(f);
}

// What the "Let " symbols assigned (the variables are cleared as a run ends).
struct Assignments final : VariableObserver {
    void showVariable(int, std::int32_t) override {}
    void assigned(int index, std::int32_t value) override { values.emplace_back(index, value); }
    std::vector<std::pair<int, std::int32_t>> values;
};

class InterfaceFaultMatrix : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        messages.cancelQuestions = true;  // nobody is there to press the box's reset
        const auto sensors = dir.path() / "SENSORS";
        std::filesystem::create_directories(sensors);
        // The system image the Sense and Control box waits for.
        std::ofstream image(sensors / "SACOS_4", std::ios::binary);
        for (int i = 0; i < 4096; ++i) image.put(static_cast<char>(i % 251));
        image.close();
        config.configPath = (dir.path() / "CONFIGUR.FCF").string();
        config.sensorsDir = sensors.string();
        config.fileDir = dir.path().string();
    }

    InterfaceSettings settings() const
    {
        InterfaceSettings s;
        s.mode = 1;
        s.model = family().model;
        s.subModel = family().subModel;
        s.numbering = 1;
        s.port = kCom1;
        // The numbering and input levels the interface dialog forces on the model.
        const ChoiceRule& rule = choiceRule(modelTraits(s).choice);
        if (rule.numbering != ChoiceRule::kChosen) s.numbering = rule.numbering;
        if (rule.highLow != ChoiceRule::kChosen) s.highLow = rule.highLow;
        return s;
    }
    const Family& family() const { return std::get<0>(GetParam()); }
    Fault fault() const { return std::get<1>(GetParam()); }

    // Lamp 1 on, then lamp 2 blinks until input 3 is on (so the line is
    // busy while the chart waits); channel 1 into a, lamp 1 off, Stop.
    std::string saveChart()
    {
        // Outputs and inputs by the box's labels, in the model's numbering.
        const int first = numberingFromZero(settings().numbering) ? 0 : 1;
        auto item = [&](const char* kind, int label, const char* state) {
            return std::string(kind) + std::to_string(label - 1 + first) + state;
        };
        FlowDocument doc;
        test::ChartBuilder c(doc);
        const int start = c.start(), lamp = c.out(item("Turn Output ", 1, " on")),
                  blinkOn = c.out(item("Turn Output ", 2, " on")),
                  blinkOff = c.out(item("Turn Output ", 2, " off")),
                  wait = c.decide(item("Is Input ", 3, " on")), read = c.proc("Let a = Val 1"),
                  off = c.out(item("Turn Output ", 1, " off")), stop = c.stop();
        c.chain({start, lamp, blinkOn, blinkOff, wait});
        c.join(wait, read, LineKind::Yes);
        c.join(wait, blinkOn, LineKind::No);
        c.chain({read, off, stop});
        const std::string path = (dir.path() / "MATRIZ.FLO").string();
        EXPECT_TRUE(saveFlowFile(doc, path, settings(), test::ignoredMessages()));
        return path;
    }

    void startFrame(const std::string& com1, const std::string& com2)
    {
        config.comDevices[kCom1] = com1;
        config.comDevices[kCom2] = com2;
        ASSERT_TRUE(saveInterfaceConfig(config.configPath, settings(), test::ignoredMessages()));
        frame.emplace(FrameServices{messages, clock, files, link});
        frame->startUp(config);
        ASSERT_EQ(frame->state().io.settings.port, kCom1);
        ASSERT_TRUE(frame->loadChart(saveChart(), true));
    }

    // Runs the event loop until the run has ended or the bound has passed;
    // the milliseconds it took.
    qint64 waitForRunEnd(int boundMs)
    {
        QElapsedTimer t;
        t.start();
        while (frame->state().interpreter.running() && t.elapsed() < boundMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return t.elapsed();
    }
    void idle(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // What the pupil was told since `from`: the handler's reports, apart from
    // the Sense and Control box's reset question (answered Cancel), which
    // comes before its report.
    std::vector<ShownMessage> reportsSince(std::size_t from) const
    {
        std::vector<ShownMessage> reports;
        for (std::size_t i = from; i < messages.shown.size(); ++i) {
            const ShownMessage& m = messages.shown[i];
            if (m.text == SenseControlProtocol::kResetPrompt) continue;
            reports.push_back(m);
        }
        return reports;
    }
    static std::string listed(const std::vector<ShownMessage>& shown)
    {
        std::string all;
        for (const ShownMessage& m : shown) all += m.caption + ": " + m.text + "\n";
        return all;
    }

    test::TempDir dir;
    AppConfiguration config;
    test::FakeMessages messages;
    QtClock clock;
    test::FakeFileChooser files;
    QtSerialLink link;
    std::optional<TFlowFrame> frame;
};

TEST_P(InterfaceFaultMatrix, OneMessageNoHangAndTheWindowDrivesTheNextBox)
{
    if (const std::string why = whyNoFailure(family(), fault()); !why.empty()) GTEST_SKIP() << why;

    std::optional<BoxProcess> bad(std::in_place, TARVEL_TOOL_PATH, boxArgs(family(), fault()));
    BoxProcess good(TARVEL_TOOL_PATH, {family().box});
    ASSERT_FALSE(bad->device().empty());
    ASSERT_FALSE(good.device().empty());
    good.send("in 3 on");
    good.send("val 1 700");
    ASSERT_EQ(good.readLines(5000, 2), (std::vector<std::string>{"in 3 on", "val 1 700"}));
    startFrame(bad->device(), good.device());
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(messages.empty()) << listed(messages.shown);
    InterfaceLayer& io = frame->state().io;
    Interpreter& run = frame->state().interpreter;

    // "&Simular" cleared: the family's start-up on COM1. A box that fails it
    // is reported once.
    QElapsedTimer phase;
    phase.start();
    frame->action(kSimulate)->trigger();
    ASSERT_FALSE(io.flags.simulate);
    EXPECT_LT(phase.elapsed(), kFailureBoundMs);
    const std::vector<ShownMessage> atConnect = reportsSince(0);
    EXPECT_LE(atConnect.size(), 1u) << listed(atConnect);

    // The run: it fails, or it is under way when the cable is pulled.
    const std::size_t beforeRun = messages.shown.size();
    phase.restart();
    frame->runCommand();
    if (fault() == Fault::Pulled) {
        ASSERT_TRUE(run.running()) << listed(messages.shown);
        idle(kBeforePullMs);
        ASSERT_TRUE(run.running()) << listed(messages.shown);
        ASSERT_EQ(io.image().outputs[0], 1);  // the chart waits for input 3
        bad.reset();
    }
    waitForRunEnd(kFailureBoundMs);
    EXPECT_FALSE(run.running()) << "no end within the time-outs";
    EXPECT_LT(phase.elapsed(), kFailureBoundMs);
    if (run.running()) run.stop();
    idle(std::max(kAfterFailureMs, family().keepAliveMs));

    const std::vector<ShownMessage> atRun = reportsSince(beforeRun);
    ASSERT_EQ(atRun.size(), 1u) << listed(atRun);
    EXPECT_EQ(atRun[0].caption, caption::SerialError);
    EXPECT_EQ(atRun[0].text, kLinkErrorText);
    EXPECT_FALSE(io.flags.testMode);
    EXPECT_EQ(frame->action(121)->text(), QString("Ejecutar"));

    // The pupil plugs a working box into COM2 and chooses that port in the
    // interface dialog: nothing more is shown, and the chart runs to its end.
    const std::size_t beforeReconnect = messages.shown.size();
    io.settings.port = kCom2;
    io.applySelection();
    EXPECT_FALSE(io.flags.simulate);
    EXPECT_TRUE(io.linkUp());
    EXPECT_FALSE(io.flags.linkFailed);
    EXPECT_EQ(messages.shown.size(), beforeReconnect) << listed(messages.shown);

    Assignments lets;
    run.addVariableObserver(&lets);
    frame->runCommand();
    ASSERT_TRUE(run.running()) << listed(messages.shown);
    waitForRunEnd(kGoodRunBoundMs);
    run.removeVariableObserver(&lets);
    EXPECT_FALSE(run.running());
    if (run.running()) run.stop();
    EXPECT_EQ(run.lastStopReason(), StopReason::ChartStopped);
    // a took channel 1 of the new box.
    ASSERT_EQ(lets.values.size(), 1u);
    EXPECT_EQ(lets.values[0].first, variableIndex('a'));
    EXPECT_NE(lets.values[0].second, 0);
    EXPECT_EQ(messages.shown.size(), beforeReconnect) << listed(messages.shown);
    EXPECT_FALSE(good.readLines(2000, 1).empty());  // the new box saw the run
}

INSTANTIATE_TEST_SUITE_P(Families, InterfaceFaultMatrix,
                         ::testing::Combine(::testing::ValuesIn(kFamilies),
                                            ::testing::Values(Fault::Silent, Fault::WrongAck,
                                                              Fault::Garbage, Fault::StopAfter,
                                                              Fault::Pulled)),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    faultName(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace tarvel
