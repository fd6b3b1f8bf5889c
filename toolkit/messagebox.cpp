#include "toolkit/messagebox.h"

#include "toolkit/eventgate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <utility>

namespace tk {

namespace {

std::function<void(const MessageBoxRecord&)>& testRecorder()
{
    static std::function<void(const MessageBoxRecord&)> recorder;
    return recorder;
}

QMessageBox::Icon qtIcon(MessageBox::Icon icon)
{
    return icon == MessageBox::Icon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon;
}

// While the box lives, its owner's window takes no input and ignores close requests; the box
// comes to the front instead.
class OwnerBlock : public QObject
{
public:
    OwnerBlock(QWidget& box, QWidget& owner) : QObject(&box), m_box(box), m_owner(owner)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != &m_owner || !isHeldType(event->type()))
            return false;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress ||
            event->type() == QEvent::Close) {
            m_box.raise();
            m_box.activateWindow();
        }
        // Left unaccepted, input would be offered to the owner's parents, the main window.
        if (event->type() == QEvent::Close)
            event->ignore();
        else
            event->accept();
        return true;
    }

private:
    QWidget& m_box;
    QWidget& m_owner;
};

} // namespace

void MessageBox::show(QWidget* owner, const QString& text, const QString& caption, Icon icon)
{
    if (const auto& recorder = testRecorder()) {
        // A copy, so a recorder that replaces itself is not destroyed while it runs.
        const auto call = recorder;
        call(MessageBoxRecord{owner, text, caption, icon});
        return;
    }
    if (!owner) {
        QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Ok);
        box.setTextFormat(Qt::PlainText);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
        return;
    }
    // Qt's window modality would block the owner's owners too (the main window), and a run of
    // its own would keep the program waiting for the box after the main window closed.
    auto* box = new QMessageBox(qtIcon(icon), caption, text, QMessageBox::Ok, owner);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal); // a message box is made modal to the application
    new OwnerBlock(*box, *owner->window());
    box->show();
}

void MessageBox::setRecorderForTests(std::function<void(const MessageBoxRecord&)> recorder)
{
    testRecorder() = std::move(recorder);
}

} // namespace tk
