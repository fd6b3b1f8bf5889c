// Another program to drop a dragged name into: one text field, which says on standard output
// when a drag enters it and what text a drop left in it.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <cstdio>

namespace {

void say(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

class DropField : public QLineEdit
{
protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        say("entered");
        QLineEdit::dragEnterEvent(event);
    }
    void dropEvent(QDropEvent* event) override
    {
        QLineEdit::dropEvent(event);
        say("dropped " + text().toUtf8());
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    DropField field;
    field.setWindowTitle(QStringLiteral("Drop Receiver"));
    field.resize(300, 40);
    field.show();
    return QApplication::exec();
}
