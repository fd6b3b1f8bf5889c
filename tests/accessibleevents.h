// Records what the program tells screen readers, one line an event, through the same
// accessibility layer the desktop's bridge listens to.
#ifndef ARBOLIX_TESTS_ACCESSIBLEEVENTS_H
#define ARBOLIX_TESTS_ACCESSIBLEEVENTS_H

#include <QAccessible>
#include <QStringList>
#include <utility>

namespace testsupport {

// While it exists, the accessibility layer is on (as with a screen reader listening) and every
// event the program sends is recorded instead of going to the platform.
class AccessibleEvents
{
public:
    AccessibleEvents();
    ~AccessibleEvents();
    AccessibleEvents(const AccessibleEvents&) = delete;
    AccessibleEvents& operator=(const AccessibleEvents&) = delete;

    // What was recorded since the last call: focus, expansion, rows and text, what a reader
    // speaks from, one line an event ("focus row WP01", "rows inserted 1-2", "insert A").
    QStringList take() { return std::exchange(m_lines, {}); }
    // The object the last focus event named.
    QAccessible::Id lastFocus() const { return s_lastFocus; }

private:
    static void record(QAccessibleEvent* event);

    static inline QStringList* s_lines = nullptr;
    static inline QAccessible::Id s_lastFocus = 0;
    QStringList m_lines;
};

} // namespace testsupport

#endif
