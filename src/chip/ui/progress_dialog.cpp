#include "chip/ui/progress_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

constexpr int kGaugeEnd = 255;
constexpr int kGaugeWidth = 300;

}  // namespace

TProgressDialog::TProgressDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("id228"));
    setWindowTitle(QString::fromUtf8("Bajar diagrama de flujo en progreso"));
    paintDialogGrey(*this);

    text_ = new QLabel(QString::fromUtf8("En Progreso"), this);
    text_->setObjectName(QStringLiteral("id102"));
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("id101"));
    gauge_->setOrientation(Qt::Horizontal);
    gauge_->setRange(0, kGaugeEnd);
    gauge_->setValue(0);
    gauge_->setTextVisible(false);
    gauge_->setMinimumWidth(kGaugeWidth);
    ok_ = new QPushButton(QString::fromUtf8("Aceptar"), this);
    ok_->setObjectName(QStringLiteral("id1"));
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(gauge_);
    layout->addLayout(buttons);
}

TProgressDialog::~TProgressDialog()
{
    restoreCursor();
}

void TProgressDialog::downloadStarted()
{
    text_->setText(QString::fromUtf8("En Progreso"));
    gauge_->setValue(0);
    ok_->setEnabled(false);
    show();
    raise();
    emit downloadStateChanged();
    QCoreApplication::processEvents();
}

void TProgressDialog::transferStarted(int /*addresses*/)
{
    gauge_->setValue(0);
    if (!waitCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursor_ = true;
}

void TProgressDialog::gaugeMoved(int position)
{
    gauge_->setValue(position);
    // The window stays alive while the bytes go out: it repaints, and the
    // commands a download forbids are disabled.
    QCoreApplication::processEvents();
}

void TProgressDialog::downloadDone()
{
    restoreCursor();
    QApplication::beep();
    ++beeps_;
    text_->setText(QString::fromUtf8(kDownloadDoneText));
    ok_->setEnabled(true);
    ok_->setFocus();
    emit downloadStateChanged();
}

void TProgressDialog::downloadFailed()
{
    restoreCursor();
    hide();
    emit downloadStateChanged();
}

void TProgressDialog::restoreCursor()
{
    if (!waitCursor_) return;
    QApplication::restoreOverrideCursor();
    waitCursor_ = false;
}

}  // namespace tarvel
