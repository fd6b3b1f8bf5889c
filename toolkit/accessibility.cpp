#include "toolkit/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QWidget>

namespace tk {

namespace {

// A line edit's limit when none was set.
constexpr int kUnlimited = 32767;

constexpr char kAnnouncement[] = "tkAnnouncement";

// The announcing widget reads as a notification, which screen readers say when it shows.
QAccessibleInterface* announcementInterface(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->objectName() != QLatin1String(kAnnouncement))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Notification);
}

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

void announce(QWidget& window, const QString& text)
{
    static const bool installed = [] {
        QAccessible::installFactory(&announcementInterface);
        return true;
    }();
    (void)installed;
    auto* note =
        window.findChild<QWidget*>(QLatin1String(kAnnouncement), Qt::FindDirectChildrenOnly);
    if (!note) {
        note = new QWidget(&window);
        note->setObjectName(QLatin1String(kAnnouncement));
        note->setGeometry(0, 0, 1, 1);
    }
    note->hide();
    note->setAccessibleName(text);
    if (!text.isEmpty())
        note->show();
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
