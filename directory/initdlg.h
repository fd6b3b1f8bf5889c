// The Initializing window: a progress bar counted in stations while the tree fills.
#ifndef ARBOLIX_DIRECTORY_INITDLG_H
#define ARBOLIX_DIRECTORY_INITDLG_H

#include "toolkit/dialog.h"

class QProgressBar;

class CInitDlg : public tk::Dialog
{
    Q_OBJECT
public:
    // Owned by the population that shows it, which deletes it when the tree is filled.
    explicit CInitDlg(QWidget* parent);

    QProgressBar* m_progress = nullptr;
    // Part of the window's documented structure; nothing reads them.
    int m_nIDTemplate;
    QWidget* m_pParent;

    // Range 0 .. total; a total beyond what the bar holds is clamped, and 0 shows an empty bar
    // rather than Qt's busy animation.
    void SetRange(int64_t total);
    void StepIt();

protected:
    void doDataExchange(tk::DataExchange& dx) override;
    void onCancel() override;

private:
    bool m_bEmptyRange = false;
};

#endif
