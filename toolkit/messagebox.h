// Message boxes, with a recorder that lets tests take the box's place.
#ifndef ARBOLIX_TOOLKIT_MESSAGEBOX_H
#define ARBOLIX_TOOLKIT_MESSAGEBOX_H

#include <QString>
#include <functional>

class QWidget;

namespace tk {

struct MessageBoxRecord;

class MessageBox
{
public:
    // The one icon the program shows.
    enum class Icon
    {
        Stop
    };

    // A box with an OK button, modal to its owner's window only: until the box is closed that
    // window takes no input and does not close, while every other window works on. Returns at
    // once; the box goes with its owner at the latest. Without an owner the box is modal to
    // the application and returns when the operator has closed it.
    static void show(QWidget* owner, const QString& text, const QString& caption, Icon icon);

    // While a recorder is set, show() hands it what it would have shown and returns at once,
    // as if the operator had pressed OK. An empty function restores the real box.
    static void setRecorderForTests(std::function<void(const MessageBoxRecord&)> recorder);
};

struct MessageBoxRecord
{
    QWidget* owner;
    QString text;
    QString caption;
    MessageBox::Icon icon;
};

} // namespace tk

#endif
