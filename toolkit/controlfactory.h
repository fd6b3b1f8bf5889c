// Creates the Qt widget for one control of a dialog template.
#ifndef ARBOLIX_TOOLKIT_CONTROLFACTORY_H
#define ARBOLIX_TOOLKIT_CONTROLFACTORY_H

#include "toolkit/dialogtemplate.h"

#include <QString>

class QWidget;

namespace tk {

class DialogUnits;

// The widget, a child of parent at the control's place in pixels, named "ctl<id>" (statics
// without an id stay unnamed), its text translated in the template's context. Never null.
QWidget* createControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent,
                       const char* context = nullptr);

// A template's text in the installed translation of the context; as written when there is no
// context or no translation. Null gives an empty text.
QString templateText(const char* context, const char* text);

// What a static text shows: without NoPrefix, "&x" marks a mnemonic (the '&' is dropped) and
// "&&" shows one '&'.
QString staticText(const QString& text, unsigned style);
QString staticText(const char* text, unsigned style);

} // namespace tk

#endif
