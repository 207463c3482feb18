#include "app/flex_button_gadget.h"

#include "app/tool_pictures.h"

namespace tarvel {

TFlexButtonGadget::TFlexButtonGadget(int pictureId, int commandId, const QString& text,
                                     QObject* parent)
    : QAction(text, parent), command_(commandId)
{
    setObjectName(QStringLiteral("id%1").arg(commandId));
    setPicture(pictureId);
}

void TFlexButtonGadget::setPicture(int pictureId)
{
    if (pictureId == picture_) return;
    picture_ = pictureId;
    setIcon(toolPicture(pictureId));
}

}  // namespace tarvel
