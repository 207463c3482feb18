#pragma once
// "Ajustar limites de eje-y" (225): the minimum and maximum of each analogue
// channel on one analogue graph; the rows of the other channels read "-".

#include <QDialog>
#include <array>

#include "datalog/graph_layout.h"

class QLineEdit;

namespace tarvel {

class Messages;

class TGraphValuesDialog final : public QDialog {
    Q_OBJECT
public:
    TGraphValuesDialog(GraphLayout& layout, int graph, Messages& messages,
                       QWidget* parent = nullptr);

    QLineEdit* minimumEdit(int channel) const
    {
        return minimum_[static_cast<std::size_t>(channel)];
    }
    QLineEdit* maximumEdit(int channel) const
    {
        return maximum_[static_cast<std::size_t>(channel)];
    }
    // Equal limits are refused and keep the dialog open.
    void accept() override;

private:
    GraphLayout& layout_;
    int graph_;
    Messages& messages_;
    std::array<QLineEdit*, kSensorChannels> minimum_{};
    std::array<QLineEdit*, kSensorChannels> maximum_{};
};

}  // namespace tarvel
