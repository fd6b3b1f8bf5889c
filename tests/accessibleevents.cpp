#include "tests/accessibleevents.h"

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace testsupport {

namespace {

// The offscreen platform has the plain accessibility layer, off until a bridge turns it on.
void setAccessibilityActive(bool active)
{
    if (QPlatformIntegration* platform = QGuiApplicationPrivate::platformIntegration()) {
        if (QPlatformAccessibility* accessibility = platform->accessibility())
            accessibility->setActive(active);
    }
}

QString roleName(QAccessibleInterface* iface)
{
    if (!iface)
        return QStringLiteral("none");
    switch (iface->role()) {
    case QAccessible::TreeItem:
        return QStringLiteral("row");
    case QAccessible::Tree:
        return QStringLiteral("tree");
    case QAccessible::Button:
        return QStringLiteral("button");
    case QAccessible::EditableText:
        return QStringLiteral("field");
    case QAccessible::MenuItem:
        return QStringLiteral("menu item");
    default:
        return QString::number(iface->role());
    }
}

QString tableChange(const QAccessibleTableModelChangeEvent& change)
{
    const char* kind = "model changed";
    if (change.modelChangeType() == QAccessibleTableModelChangeEvent::RowsInserted)
        kind = "rows inserted";
    else if (change.modelChangeType() == QAccessibleTableModelChangeEvent::RowsRemoved)
        kind = "rows removed";
    return QStringLiteral("%1 %2-%3").arg(kind).arg(change.firstRow()).arg(change.lastRow());
}

} // namespace

AccessibleEvents::AccessibleEvents()
{
    s_lines = &m_lines;
    QAccessible::installUpdateHandler(&record);
    setAccessibilityActive(true);
}

AccessibleEvents::~AccessibleEvents()
{
    setAccessibilityActive(false);
    QAccessible::installUpdateHandler(nullptr);
    s_lines = nullptr;
}

void AccessibleEvents::record(QAccessibleEvent* event)
{
    if (!s_lines)
        return;
    QAccessibleInterface* iface = event->accessibleInterface();
    const QString name = iface ? iface->text(QAccessible::Name) : QString();
    switch (event->type()) {
    case QAccessible::Focus:
        s_lines->append(QStringLiteral("focus %1 %2").arg(roleName(iface), name));
        s_lastFocus = iface ? QAccessible::uniqueId(iface) : 0;
        break;
    case QAccessible::ObjectShow: // what a reader says as it shows, wherever its focus is
        if (iface && iface->role() == QAccessible::Notification)
            s_lines->append(QStringLiteral("notice ") + name);
        break;
    case QAccessible::StateChanged: {
        const QAccessible::State changed =
            static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
        if (changed.expanded || changed.collapsed)
            s_lines->append(QStringLiteral("%1 %2").arg(
                iface && iface->state().expanded ? "expanded" : "collapsed", name));
        break;
    }
    case QAccessible::TableModelChanged:
        s_lines->append(tableChange(*static_cast<QAccessibleTableModelChangeEvent*>(event)));
        break;
    case QAccessible::TextInserted:
        s_lines->append(QStringLiteral("insert ") +
                        static_cast<QAccessibleTextInsertEvent*>(event)->textInserted());
        break;
    case QAccessible::TextRemoved:
        s_lines->append(QStringLiteral("remove ") +
                        static_cast<QAccessibleTextRemoveEvent*>(event)->textRemoved());
        break;
    case QAccessible::TextUpdated:
        s_lines->append(QStringLiteral("replace ") +
                        static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted());
        break;
    default:
        break;
    }
}

} // namespace testsupport
