#pragma once
// The option button of the interface dialogs: a radio button that carries its
// control id as its object name ("id119"), so the frame and the tests find it
// by the id the dialogs are described with.

#include <QRadioButton>
#include <QString>

namespace tarvel {

class TOptBox : public QRadioButton {
public:
    TOptBox(int id, const QString& text, QWidget* parent = nullptr)
        : QRadioButton(text, parent), id_(id)
    {
        setObjectName(QStringLiteral("id%1").arg(id));
    }

    int id() const { return id_; }

private:
    int id_;
};

}  // namespace tarvel
