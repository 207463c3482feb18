#pragma once
// The pictures of the tool bar buttons, drawn in code so that they stay sharp
// at every size the tool bar asks for. Identified by the button picture
// numbers: 312/313 delete (enabled/nothing to delete), 306 start/stop, 304
// output, 302 process, 305 decision, 301 label, 303 move/edit, 307 line, 308
// YES line, 309 NO line, 123 run, 124 stop, 314 download to the chip, 317
// download to the USB box, 318 the chip variant, 319 run the compiled program
// in the chip simulator; the two states of the "&Simular" button; undo and
// redo.

#include <QIcon>
#include <QList>

namespace tarvel {

inline constexpr int kSimulatingPicture = 1123;
inline constexpr int kLivePicture = 1124;
inline constexpr int kUndoPicture = 331;
inline constexpr int kRedoPicture = 332;

// A null icon for a number that has no picture.
QIcon toolPicture(int id);

// Every number that has a picture, in tool bar order.
const QList<int>& toolPictureIds();

}  // namespace tarvel
