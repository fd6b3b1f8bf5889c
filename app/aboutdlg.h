// The About box: name, version and notices.
#ifndef ARBOLIX_APP_ABOUTDLG_H
#define ARBOLIX_APP_ABOUTDLG_H

#include "toolkit/dialog.h"

class CAboutDlg : public tk::Dialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    bool onInitDialog() override;
};

#endif
