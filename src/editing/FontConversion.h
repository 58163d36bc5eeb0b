// A font chosen in the font dialog back into the model's font value.
#pragma once

#include <QFont>

#include "model/Font.h"

namespace bvr {

// The zone's font as the font dialog should offer it: the face the program really draws with
// (the one the layout's name maps to, "arial" as Liberation Sans), so that confirming the
// dialog unchanged hands back that face and not the toolkit's first guess.
QFont OfferedFont(const TFont& font);

// Puts the chosen face, size and style into `font`, which keeps what the font dialog does not
// show (colour, character set, pitch, orientation, resolution). When the chosen face is the
// one the current name already resolves to ("arial" shown as Liberation Sans), the layout's
// own name stays, so that layouts remain portable; an unchanged size keeps the exact height.
void FromQFont(const QFont& chosen, TFont& font);

}  // namespace bvr
