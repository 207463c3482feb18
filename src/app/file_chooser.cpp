#include "app/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tarvel {

namespace {
const char* const kFilter = "Archivos de Tarvel (*.FLO)";
}

std::string QtFileChooser::chooseOpen(const std::string& directory)
{
    QFileDialog dialog(parent_, QString(), QString::fromStdString(directory),
                       QString::fromUtf8(kFilter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

std::string QtFileChooser::chooseSave(const std::string& directory, const std::string& proposed)
{
    const QString start =
        proposed.empty() ? QString::fromStdString(directory) : QString::fromStdString(proposed);
    QFileDialog dialog(parent_, QString(), start, QString::fromUtf8(kFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("FLO");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace tarvel
