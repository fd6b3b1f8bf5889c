#include "toolkit/dataexchange.h"

#include "toolkit/dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace tk {

namespace {

// QLineEdit's own ceiling, used when a limit makes no sense.
constexpr int largestLimit = 32767;

bool readText(QWidget* widget, QString& value)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        value = edit->text();
    else if (auto* label = qobject_cast<QLabel*>(widget))
        value = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        value = button->text();
    else
        return false;
    return true;
}

bool writeText(QWidget* widget, const QString& value)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
    else
        return false;
    return true;
}

// The first limit characters, never ending inside a surrogate pair.
QString leftChars(const QString& text, int limit)
{
    if (limit < 0 || text.size() <= limit)
        return text;
    QString cut = text.left(limit);
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}

} // namespace

DataExchange::DataExchange(const Dialog& dialog, bool saving) : m_dialog(dialog), m_saving(saving)
{
}

QWidget* DataExchange::find(int id) const
{
    return m_dialog.control(id);
}

void DataExchange::text(int id, QString& value)
{
    QWidget* widget = find(id);
    const bool ok = m_saving ? readText(widget, value) : writeText(widget, value);
    if (!ok)
        m_failed = true;
    m_lastTextId = id;
    m_lastQString = &value;
    m_lastStdString = nullptr;
}

void DataExchange::text(int id, std::string& value)
{
    QWidget* widget = find(id);
    bool ok = false;
    if (m_saving) {
        QString shown;
        ok = readText(widget, shown);
        if (ok)
            value = shown.toLocal8Bit().toStdString();
    } else {
        ok = writeText(widget, QString::fromLocal8Bit(value.data(), qsizetype(value.size())));
    }
    if (!ok)
        m_failed = true;
    m_lastTextId = id;
    m_lastQString = nullptr;
    m_lastStdString = &value;
}

void DataExchange::maxChars(int id, int limit)
{
    if (!m_saving) {
        auto* edit = qobject_cast<QLineEdit*>(find(id));
        if (!edit) {
            m_failed = true;
            return;
        }
        edit->setMaxLength(limit > 0 && limit < largestLimit ? limit : largestLimit);
        return;
    }
    if (id != m_lastTextId || limit <= 0)
        return;
    if (m_lastQString) {
        *m_lastQString = leftChars(*m_lastQString, limit);
    } else if (m_lastStdString) {
        const QString text =
            QString::fromLocal8Bit(m_lastStdString->data(), qsizetype(m_lastStdString->size()));
        if (text.size() > limit)
            *m_lastStdString = leftChars(text, limit).toLocal8Bit().toStdString();
    }
}

} // namespace tk
