#include "toolkit/messagebox.h"

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

} // namespace

void MessageBox::show(QWidget* owner, const QString& text, const QString& caption, Icon icon)
{
    if (const auto& recorder = testRecorder()) {
        // A copy, so a recorder that replaces itself is not destroyed while it runs.
        const auto call = recorder;
        call(MessageBoxRecord{owner, text, caption, icon});
        return;
    }
    QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void MessageBox::setRecorderForTests(std::function<void(const MessageBoxRecord&)> recorder)
{
    testRecorder() = std::move(recorder);
}

} // namespace tk
