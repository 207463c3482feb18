#pragma once
// The download's progress window (dialog 228): "En Progreso" and a gauge
// over 0..255 while the bytes go out, then "Se terminó el descargue", a beep,
// and "Aceptar" to close it. A failed download hides it; the message says why.

#include <QDialog>

#include "chip/chip_download.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvel {

class TProgressDialog : public QDialog, public DownloadProgress {
    Q_OBJECT
public:
    explicit TProgressDialog(QWidget* parent = nullptr);
    ~TProgressDialog() override;

    QProgressBar* gauge() const { return gauge_; }
    QLabel* text() const { return text_; }
    QPushButton* okButton() const { return ok_; }
    // How often the end of a download has beeped.
    int beeps() const { return beeps_; }

    // DownloadProgress
    void downloadStarted() override;
    void transferStarted(int addresses) override;
    void gaugeMoved(int position) override;
    void downloadDone() override;
    void downloadFailed() override;

signals:
    // The download began or ended, well or not: the commands follow.
    void downloadStateChanged();

private:
    void restoreCursor();

    QLabel* text_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool waitCursor_ = false;
    int beeps_ = 0;
};

}  // namespace tarvel
