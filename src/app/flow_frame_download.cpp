// The main frame's download command: the tool bar button of the chip boards
// and chips and of the Quillo box, and the progress window it shows.

#include <QAction>
#include <QToolBar>

#include "app/flow_frame.h"
#include "app/tool_pictures.h"
#include "chip/chip_download.h"
#include "chip/ui/chip_run.h"
#include "chip/ui/progress_dialog.h"
#include "flowchart/ui/flow_window.h"

namespace tarvel {

namespace {

constexpr int kDownload = 315;
// The button's pictures: a chip board that runs charts itself, the other
// boards and chips, the Quillo box.
constexpr int kPictureBoardDownload = 318, kPictureChipDownload = 314, kPictureQuilloDownload = 317;

int downloadPicture(const ModelTraits& t)
{
    if (t.downloadKind == DownloadKind::Quillo) return kPictureQuilloDownload;
    return t.runCompiles ? kPictureChipDownload : kPictureBoardDownload;
}

}  // namespace

void TFlowFrame::buildDownloadCommand()
{
    progress_ = new TProgressDialog(this);
    progress_->hide();
    connect(progress_, &TProgressDialog::downloadStateChanged, this, [this] {
        updateCommands();
        updateCaption();
    });
    QAction* download = addCommand(nullptr, kDownload, "Descargar", nullptr);
    download->setIcon(toolPicture(kPictureChipDownload));
    download->setData(kPictureChipDownload);
    toolBar_->addAction(download);
    connect(download, &QAction::triggered, this, &TFlowFrame::downloadCommand);
}

void TFlowFrame::syncDownloadCommand()
{
    QAction* download = action(kDownload);
    if (!download) return;
    const ModelTraits t = state_->io.traits();
    download->setVisible(t.chipPrograms);
    download->setEnabled(t.chipPrograms && !state_->programRunning() && !state_->downloading());
    const int picture = downloadPicture(t);
    if (download->data().toInt() != picture) {
        download->setIcon(toolPicture(picture));
        download->setData(picture);
    }
}

void TFlowFrame::downloadCommand()
{
    if (!state_->io.traits().chipPrograms || state_->programRunning() || state_->downloading())
        return;
    if (flowWindow_->moving()) {
        warn("Tiene que terminar de mover primeramente");
        return;
    }
    const DownloadResult result = downloadChart(*state_, services_.messages, progress_);
    if (result.faultSymbol >= 0) revealSymbol(result.faultSymbol);
    updateCommands();
}

}  // namespace tarvel
