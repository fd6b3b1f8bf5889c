#include "app/aboutdlg.h"

#include "res/icon.h"
#include "res/resource.h"
#include "res/templates.h"

#include <QLabel>

namespace {

// The version goes into the translated line, so no translation has to follow a new release.
void showVersion(const tk::Dialog& dialog, int id, const char* version)
{
    if (auto* line = qobject_cast<QLabel*>(dialog.control(id)))
        line->setText(line->text().arg(QString::fromLatin1(version)));
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : tk::Dialog(res::aboutBoxTemplate(), parent)
{
    setWindowIcon(res::loadIcon(res::IDR_MAINFRAME));
}

bool CAboutDlg::onInitDialog()
{
    const bool result = tk::Dialog::onInitDialog();
    showVersion(*this, res::IDC_VERSION, res::shortVersion());
    showVersion(*this, res::IDC_QTVERSION, QT_VERSION_STR);
    return result;
}
