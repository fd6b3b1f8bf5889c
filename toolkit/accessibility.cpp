#include "toolkit/accessibility.h"

#include <QAccessible>
#include <QLineEdit>
#include <QWidget>

namespace tk {

namespace {

// A line edit's limit when none was set.
constexpr int kUnlimited = 32767;

QString accessibleText(QWidget* widget, QAccessible::Text text)
{
    QAccessibleInterface* iface = widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
    return iface ? iface->text(text) : QString();
}

} // namespace

void describeLengthLimits(QWidget& window, const QString& format)
{
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        if (edit->maxLength() < kUnlimited)
            edit->setAccessibleDescription(format.arg(edit->maxLength()));
    }
}

QString accessibleName(QWidget* widget)
{
    return accessibleText(widget, QAccessible::Name);
}

QString accessibleDescription(QWidget* widget)
{
    return accessibleText(widget, QAccessible::Description);
}

} // namespace tk
