// What screen readers are told beyond what Qt works out from the widgets themselves.
#ifndef ARBOLIX_TOOLKIT_ACCESSIBILITY_H
#define ARBOLIX_TOOLKIT_ACCESSIBILITY_H

#include <QString>

class QWidget;

namespace tk {

// Every line edit in the window that takes a limited number of characters describes its limit,
// which it would otherwise enforce silently: format's %1 is the limit.
void describeLengthLimits(QWidget& window, const QString& format);

// Has a screen reader say text now, while its focus stays where it is: a notification of the
// window, shown anew each time.
void announce(QWidget& window, const QString& text);

// The name and description a screen reader reads for the widget (empty when it has none).
QString accessibleName(QWidget* widget);
QString accessibleDescription(QWidget* widget);

} // namespace tk

#endif
