#pragma once

// The five large button faces that every picture push button draws, indexed by the button's kind.

#include <QPixmap>

#include <array>

namespace myGlobals {

// 0 CancelLrg, 1 ActionLrg, 2 yellowBtn, 3 GreenBtn, 4 ltRedBtn; an entry stays null when its picture
// could not be loaded at start-up. (Pixmaps cannot exist before the application object, so the
// table is reached through a function.)
std::array<QPixmap, 5>& gActionBtn();

// Loads the five faces and cuts each to the shape of MaskLrg (a grey picture: white shows the face,
// black hides it, grey lets it show through in part). Called once at start-up.
void initPicts();

// One face cut to a mask's shape: the face's own transparency is kept and multiplied by the mask's
// grey, from the top left corner on; where the mask does not reach, the face is unchanged.
QPixmap applyGreyMask(const QPixmap& face, const QPixmap& mask);

} // namespace myGlobals
