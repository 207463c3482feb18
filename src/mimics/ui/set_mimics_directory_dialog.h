#pragma once
// "Poner Directorio de Mímicas": the mimics directory in edit 102, filled by
// the folder browser ("&Examinar...", 104) or with the default folder
// ("&Predeterminado", 103); "Aceptar" takes it, "Cancelar" changes nothing.

#include <QDialog>
#include <functional>

class QLineEdit;

namespace tarvel {

class TSetMimicsDirectoryDialog final : public QDialog {
    Q_OBJECT
public:
    // The folder browser: the folder chosen, or an empty text for none.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& start)>;

    TSetMimicsDirectoryDialog(const QString& directory, const QString& defaultDirectory,
                              QWidget* parent);

    void setFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }
    QString directory() const;
    QLineEdit* edit() const { return edit_; }

    // The system's folder browser with the dialog's title.
    static QString browse(QWidget* parent, const QString& start);

private:
    QLineEdit* edit_ = nullptr;
    QString default_;
    FolderChooser chooser_ = &TSetMimicsDirectoryDialog::browse;
};

}  // namespace tarvel
