#include "toolkit/uppercasevalidator.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace tk {

namespace {

// Character by character, so the length and the cursor stay where they were ("ß" stays).
bool capitalise(QString& text)
{
    bool changed = false;
    for (QChar& c : text) {
        const QChar upper = c.toUpper();
        changed = changed || upper != c;
        c = upper;
    }
    return changed;
}

} // namespace

UppercaseValidator::UppercaseValidator(QLineEdit* edit) : QValidator(edit)
{
    if (edit)
        edit->installEventFilter(this);
}

QValidator::State UppercaseValidator::validate(QString& input, int& pos) const
{
    capitalise(input);
    (void)pos;
    return Acceptable;
}

bool UppercaseValidator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    QString text = key->text();
    if (!capitalise(text))
        return false;
    // The same key with its text in capitals; seen here again, it goes through unchanged.
    QKeyEvent capital(QEvent::KeyPress, key->key(), key->modifiers(), key->nativeScanCode(),
                      key->nativeVirtualKey(), key->nativeModifiers(), text, key->isAutoRepeat(),
                      key->count());
    QCoreApplication::sendEvent(watched, &capital);
    event->setAccepted(capital.isAccepted());
    return true;
}

} // namespace tk
