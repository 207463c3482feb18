// The download in the main window: its tool bar button for the interfaces
// that take programs, the progress window with its gauge, the end of a good
// download and of a failed one, and the window that will not close meanwhile.

#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

#include "app/flow_frame.h"
#include "boxes/box_link.h"
#include "boxes/box_registry.h"
#include "boxes/box_session.h"
#include "boxes/chip_downloader.h"
#include "chip/chip_session.h"
#include "chip/ui/chip_run.h"
#include "chip/ui/progress_dialog.h"
#include "engine/chart_builder.h"
#include "interfaces/interface_config.h"
#include "interfaces/interface_model.h"
#include "support/fake_clock.h"
#include "support/fake_messages.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace tarvel {
namespace {

constexpr int kDownload = 315;
constexpr int kRun = 121;
constexpr int kSmallLiveChip = 3;  // 128 bytes, talks live

class DownloadWindowTest : public ::testing::Test {
protected:
    test::FakeMessages messages;
    test::FakeClock clock;
    test::FakeFileChooser files;
    test::TempDir dir;
    std::unique_ptr<boxes::SimulatedBox> box;
    std::unique_ptr<boxes::BoxSession> session;
    std::unique_ptr<boxes::BoxLink> link;
    std::unique_ptr<TFlowFrame> frame;

    // The frame on an interface chosen as CONFIGUR.FCF says, its ports
    // reaching a simulated box of that interface in process.
    void startWith(int model, int subModel, boxes::DownloadFaults faults = {})
    {
        frame.reset();
        AppConfiguration config;
        config.configPath = (dir.path() / "CONFIGUR.FCF").string();
        config.sensorsDir = std::string(TARVEL_DATA_DIR) + "/SENSORS";
        ChipData chips = loadChipData(config.sensorsDir).value();
        box = boxes::makeBox(
            model, subModel, [](const std::string&) {}, chips.lookup(subModel));
        if (box && box->downloader()) box->downloader()->setFaults(faults);
        session = std::make_unique<boxes::BoxSession>(*box, boxes::BoxFaults{});
        link = std::make_unique<boxes::BoxLink>(*session);
        frame = std::make_unique<TFlowFrame>(FrameServices{messages, clock, files, *link});
        InterfaceSettings s;
        s.mode = 1;
        s.model = model;
        s.subModel = subModel;
        s.numbering = 1;
        ASSERT_TRUE(saveInterfaceConfig(config.configPath, s, test::ignoredMessages()));
        frame->startUp(config);
        messages.shown.clear();
        test::ChartBuilder b(frame->state().doc);
        b.chain({b.start(), b.out("Turn Output 1 on"), b.proc("Delay 1"), b.stop()});
    }
    QAction* download() { return frame->action(kDownload); }
    TProgressDialog& progress() { return *frame->progressDialog(); }
    std::vector<std::uint8_t> compiled()
    {
        test::FakeMessages quiet;
        return compileForChosenChip(frame->state(), quiet).program->image;
    }
};

TEST_F(DownloadWindowTest, ButtonIsOfferedForBoxesThatTakeProgramsWithTheirPicture)
{
    startWith(ModelContactController, 0);
    ASSERT_NE(download(), nullptr);
    EXPECT_FALSE(download()->isVisible());

    const struct {
        int model, subModel, picture;
    } boxes[] = {{ModelTolvaChip, 0, 314}, {ModelTolvaChip, 2, 318}, {ModelQuillo, 0, 317}};
    for (const auto& b : boxes) {
        startWith(b.model, b.subModel);
        EXPECT_TRUE(download()->isVisible());
        EXPECT_TRUE(download()->isEnabled());
        EXPECT_EQ(download()->data().toInt(), b.picture);
        // The last button of the tool bar.
        auto* bar = frame->findChild<QToolBar*>("toolBar");
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->actions().last(), download());
    }

    // Not while the chip simulation runs.
    frame->chipSimulateCommand();
    ASSERT_TRUE(frame->chipRun()->running());
    EXPECT_FALSE(download()->isEnabled());
    frame->chipSimulateCommand();
    EXPECT_TRUE(download()->isEnabled());
}

TEST_F(DownloadWindowTest, GoodDownloadFillsTheGaugeAndWaitsForAceptar)
{
    startWith(ModelTolvaChip, kSmallLiveChip);
    const std::vector<std::uint8_t> image = compiled();
    ASSERT_EQ(image.size(), 128u);
    frame->show();

    // Halfway through: the commands a download forbids are off, the window
    // will not close, and the progress window shows the picture kept below.
    std::vector<int> gauge;
    bool closed = true, runOffered = true, downloadOffered = true;
    QImage halfway;
    QObject::connect(progress().gauge(), &QProgressBar::valueChanged, [&](int v) {
        gauge.push_back(v);
        if (v != 128) return;
        runOffered = frame->action(kRun)->isEnabled();
        downloadOffered = download()->isEnabled();
        closed = frame->close();
        halfway = progress().grab().toImage();
    });
    frame->downloadCommand();

    EXPECT_FALSE(closed);
    EXPECT_FALSE(runOffered);
    EXPECT_FALSE(downloadOffered);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "No se puede cerrar mientras esté bajando a TolvaChip");

    EXPECT_EQ(box->downloader()->memory(), image);
    ASSERT_EQ(gauge.size(), 127u);  // 2, 4, ... 254 after the 0 it starts at
    EXPECT_EQ(gauge.front(), 2);
    EXPECT_EQ(gauge.back(), 254);
    EXPECT_TRUE(progress().isVisible());
    EXPECT_EQ(progress().text()->text(), QString::fromUtf8("Se terminó el descargue"));
    EXPECT_TRUE(progress().okButton()->isEnabled());
    EXPECT_EQ(progress().beeps(), 1);
    EXPECT_FALSE(frame->state().downloading());
    EXPECT_TRUE(download()->isEnabled());
    EXPECT_TRUE(frame->action(kRun)->isEnabled());

    const QByteArray shots = qgetenv("TARVEL_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        halfway.save(QString::fromUtf8(shots) + "/download-progress.png");
        progress().grab().save(QString::fromUtf8(shots) + "/download-done.png");
    }
    progress().okButton()->click();
    EXPECT_FALSE(progress().isVisible());
}

TEST_F(DownloadWindowTest, FailedDownloadHidesTheProgressAndSaysWhy)
{
    boxes::DownloadFaults wrong;
    wrong.wrongAddressAt = 0x1F;
    startWith(ModelQuillo, 0, wrong);
    frame->show();
    frame->downloadCommand();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().caption, "Error de serie");
    EXPECT_EQ(messages.last().text,
              "No se pudo conectar a Quillo - verifique la conexión (Error número 71f)");
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(progress().beeps(), 0);
    EXPECT_FALSE(frame->state().downloading());
    EXPECT_TRUE(download()->isEnabled());
}

TEST_F(DownloadWindowTest, CompileFaultSendsNothing)
{
    startWith(ModelTolvaChip, 0);
    // A start with nothing after it does not compile.
    FlowDocument& doc = frame->state().doc;
    doc.clear(ModelTolvaChip, 0);
    test::ChartBuilder b(doc);
    const int lone = b.start();
    frame->downloadCommand();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.last().text, "No hay una línea de este inicie");
    EXPECT_EQ(doc.selectedSymbols(), std::vector<int>{lone});
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(session->exchanges(), 0);
}

}  // namespace
}  // namespace tarvel
