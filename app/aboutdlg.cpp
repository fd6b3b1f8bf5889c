#include "app/aboutdlg.h"

#include "res/icon.h"
#include "res/resource.h"
#include "res/templates.h"

CAboutDlg::CAboutDlg(QWidget* parent) : tk::Dialog(res::aboutBoxTemplate(), parent)
{
    setWindowIcon(res::loadIcon(res::IDR_MAINFRAME));
}
