#pragma once
// "Escoje tipo de gráfica de frecuencia de entradas" (226): the inputs' bars
// side by side, or stacked ("Pilado").

#include <QDialog>

class QCheckBox;

namespace tarvel {

class TGraphCountTypeDialog final : public QDialog {
    Q_OBJECT
public:
    TGraphCountTypeDialog(int& frequencyMode, QWidget* parent = nullptr);
    QCheckBox* stacked() const { return stacked_; }
    void accept() override;

private:
    int& mode_;
    QCheckBox* stacked_ = nullptr;
};

}  // namespace tarvel
