// Moves values between a dialog's members and its controls, bound by control id.
#ifndef ARBOLIX_TOOLKIT_DATAEXCHANGE_H
#define ARBOLIX_TOOLKIT_DATAEXCHANGE_H

#include <QString>
#include <QWidget>
#include <string>

namespace tk {

class Dialog;

class DataExchange
{
public:
    DataExchange(const Dialog& dialog, bool saving);

    // True when moving control contents into members, false when loading the controls.
    bool saving() const { return m_saving; }
    // True once any exchange found no control of the right kind.
    bool failed() const { return m_failed; }

    // Binds member to the control; it stays null (and the exchange fails) when there is no
    // control with that id or it is not a W.
    template <class W> void control(int id, W*& member)
    {
        member = qobject_cast<W*>(find(id));
        if (!member)
            m_failed = true;
    }

    // The text of an edit field, static text or button.
    void text(int id, QString& value);
    // As above, in the locale's 8-bit encoding.
    void text(int id, std::string& value);
    // Loading: the edit field takes at most limit characters. Saving: the text exchanged last
    // for that id is cut to limit characters.
    void maxChars(int id, int limit);

private:
    QWidget* find(int id) const;

    const Dialog& m_dialog;
    bool m_saving;
    bool m_failed = false;
    int m_lastTextId = -1;
    QString* m_lastQString = nullptr;
    std::string* m_lastStdString = nullptr;
};

} // namespace tk

#endif
