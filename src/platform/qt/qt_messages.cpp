#include "platform/qt/qt_messages.h"

#include <QMessageBox>
#include <QString>
#include <iostream>

#include "platform/qt/title_width.h"

namespace tarvel {

namespace {
QString fromUtf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MsgButtons buttons)
{
    switch (buttons) {
        case MsgButtons::Ok:
            return QMessageBox::Ok;
        case MsgButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}
}  // namespace

MsgAnswer safeAnswer(MsgButtons buttons)
{
    switch (buttons) {
        case MsgButtons::Ok:
            return MsgAnswer::Ok;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Cancel;
    }
    return MsgAnswer::Cancel;
}

MsgAnswer QtMessages::show(std::string_view caption, std::string_view text, MsgIcon icon,
                           MsgButtons buttons)
{
    if (unattended_) {
        std::cerr << "Tarvel2Esp: " << caption << ": " << text << std::endl;
        return safeAnswer(buttons);
    }
    QMessageBox box(toQt(icon), fromUtf8(caption), fromUtf8(text), toQt(buttons), parent_);
    fitTitle(box);
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return safeAnswer(buttons);
    }
}

void QtMessages::status(std::string_view text)
{
    if (statusBar_) statusBar_->setPrompt(fromUtf8(text));
}

}  // namespace tarvel
