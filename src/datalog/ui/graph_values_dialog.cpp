#include "datalog/ui/graph_values_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "datalog/graph_stack.h"
#include "platform/qt/grey_dialog.h"

namespace tarvel {

namespace {

constexpr std::array<int, kSensorChannels> kMinimumIds{101, 106, 107, 108};
constexpr std::array<int, kSensorChannels> kMaximumIds{102, 103, 104, 105};

QLineEdit* makeEdit(int id, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("id%1").arg(id));
    return edit;
}

}  // namespace

TGraphValuesDialog::TGraphValuesDialog(GraphLayout& layout, int graph, Messages& messages,
                                       QWidget* parent)
    : QDialog(parent), layout_(layout), graph_(graph), messages_(messages)
{
    setObjectName("id225");
    setWindowTitle(QString::fromUtf8("Ajustar limites de eje-y"));
    paintDialogGrey(*this);
    const int decimals =
        layout.labelDecimals[static_cast<std::size_t>(std::clamp(graph, 0, kAnalogueGraphs - 1))];
    auto* grid = new QGridLayout;
    for (int c = 0; c < kSensorChannels; ++c) {
        const auto k = static_cast<std::size_t>(c);
        minimum_[k] = makeEdit(kMinimumIds[k], this);
        maximum_[k] = makeEdit(kMaximumIds[k], this);
        const bool shown = layout.analogueGraph[k] == graph;
        const auto text = [&](double v) {
            return shown ? QString::asprintf("%.*f", std::clamp(decimals, 0, kMaxLabelDecimals), v)
                         : QStringLiteral("-");
        };
        minimum_[k]->setText(text(layout.yMin[k]));
        maximum_[k]->setText(text(layout.yMax[k]));
        minimum_[k]->setEnabled(shown);
        maximum_[k]->setEnabled(shown);
        grid->addWidget(new QLabel(QString::fromUtf8("mínimo %1:").arg(c + 1), this), c, 0);
        grid->addWidget(minimum_[k], c, 1);
        grid->addWidget(new QLabel(QString::fromUtf8("máximo:"), this), c, 2);
        grid->addWidget(maximum_[k], c, 3);
    }
    auto* buttons = makeOkCancelRow(*this, "okButton", "cancelButton");
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addLayout(buttons);
}

void TGraphValuesDialog::accept()
{
    YLimitTexts rows;
    for (int c = 0; c < kSensorChannels; ++c) {
        const auto k = static_cast<std::size_t>(c);
        rows[k] = {minimum_[k]->text().toStdString(), maximum_[k]->text().toStdString()};
    }
    if (!applyYLimits(layout_, graph_, rows, messages_)) return;
    QDialog::accept();
}

}  // namespace tarvel
