// The wait cursor for as long as the object lives.
#ifndef ARBOLIX_TOOLKIT_WAITCURSOR_H
#define ARBOLIX_TOOLKIT_WAITCURSOR_H

#include <QGuiApplication>

namespace tk {

class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace tk

#endif
