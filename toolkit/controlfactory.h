// Creates the Qt widget for one control of a dialog template.
#ifndef ARBOLIX_TOOLKIT_CONTROLFACTORY_H
#define ARBOLIX_TOOLKIT_CONTROLFACTORY_H

#include "toolkit/dialogtemplate.h"

#include <QString>

class QWidget;

namespace tk {

class DialogUnits;

// The widget, a child of parent at the control's place in pixels, named "ctl<id>" (statics
// without an id stay unnamed). Never null.
QWidget* createControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent);

// What a static text shows: without NoPrefix, "&x" marks a mnemonic (the '&' is dropped) and
// "&&" shows one '&'.
QString staticText(const char* text, unsigned style);

} // namespace tk

#endif
