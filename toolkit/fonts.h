// Maps the font faces that dialog templates and the program name to fonts of this desktop.
#ifndef ARBOLIX_TOOLKIT_FONTS_H
#define ARBOLIX_TOOLKIT_FONTS_H

#include <QFont>

namespace tk {

// "MS Sans Serif" (and a missing face) becomes the desktop's default sans-serif, "Fixedsys" the
// fixed-pitch font; other faces are asked for by name. A size of 0 or less takes 8 points.
QFont templateFont(const char* face, int pointSize);

// A font whose glyphs all have one width, so columns of text line up.
QFont fixedPitchFont(int pointSize);

// A font of tenthsOfPoint / 10 points: 90 gives 9 points.
QFont pointFont(int tenthsOfPoint, const char* face);

} // namespace tk

#endif
