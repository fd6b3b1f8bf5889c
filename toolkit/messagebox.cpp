#include "toolkit/messagebox.h"

#include <QMessageBox>
#include <utility>

namespace tk {

namespace {

std::function<void(const MessageBoxRecord&)>& testHook()
{
    static std::function<void(const MessageBoxRecord&)> hook;
    return hook;
}

QMessageBox::Icon qtIcon(MessageBox::Icon icon)
{
    switch (icon) {
    case MessageBox::Icon::Stop:
        return QMessageBox::Critical;
    case MessageBox::Icon::Question:
        return QMessageBox::Question;
    case MessageBox::Icon::Exclamation:
        return QMessageBox::Warning;
    case MessageBox::Icon::Information:
        return QMessageBox::Information;
    case MessageBox::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBox::show(QWidget* owner, const QString& text, const QString& caption, Icon icon)
{
    if (const auto& hook = testHook()) {
        // A copy, so a hook that replaces itself is not destroyed while it runs.
        const auto call = hook;
        call(MessageBoxRecord{owner, text, caption, icon});
        return;
    }
    QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MessageBox::setAnswerForTests(std::function<void(const MessageBoxRecord&)> hook)
{
    testHook() = std::move(hook);
}

} // namespace tk
