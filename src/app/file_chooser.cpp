#include "app/file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

namespace tarvel {

namespace {
const char* const kFilter = "Archivos de Tarvel (*.FLO)";
// The data filters (the dialog matches their patterns in any case).
const char* const kDataFilters[] = {"Archivo SID (*.SID)", "Archivo CSV(*.CSV)",
                                    "Archivo TSV(*.TSV)"};
constexpr const char* kDataSuffix = "SID";
}  // namespace

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

FileChooser::DataChoice QtFileChooser::chooseDataSave(const std::string& directory)
{
    QStringList filters;
    for (const char* f : kDataFilters) filters << QString::fromUtf8(f);
    // An empty name each time, in the files folder when one is set.
    QFileDialog dialog(parent_, QString(), QString::fromStdString(directory));
    dialog.setNameFilters(filters);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kDataSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    DataChoice choice;
    choice.path = dialog.selectedFiles().first().toStdString();
    choice.filter = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return choice;
}

std::string QtFileChooser::chooseDataOpen(const std::string& directory)
{
    QFileDialog dialog(parent_, QString(), QString::fromStdString(directory),
                       QString::fromUtf8(kDataFilters[0]));
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, true);
    dialog.setDefaultSuffix(kDataSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace tarvel
