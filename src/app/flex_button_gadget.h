#pragma once
// A tool bar button whose picture changes while the program runs (delete
// while something can be deleted or not, simulation on or off), without the
// tool bar being built again: the button of the tool bar stays, only its
// picture is exchanged. It is the command's action, so its menu entry and
// its button are one.

#include <QAction>

namespace tarvel {

class TFlexButtonGadget : public QAction {
    Q_OBJECT
public:
    // `pictureId` is one of the tool bar pictures (see toolPicture);
    // `commandId` names the action "id<command>" so windows and tests find it.
    TFlexButtonGadget(int pictureId, int commandId, const QString& text, QObject* parent);

    // Shows another picture; nothing happens when it already shows it.
    void setPicture(int pictureId);
    int picture() const { return picture_; }
    int command() const { return command_; }

private:
    int picture_ = 0;
    int command_;
};

}  // namespace tarvel
