// A dialog window built from a template: controls found by id, data exchange, OK and Cancel.
#ifndef ARBOLIX_TOOLKIT_DIALOG_H
#define ARBOLIX_TOOLKIT_DIALOG_H

#include "toolkit/dialogtemplate.h"
#include "toolkit/dialogunits.h"

#include <QDialog>
#include <QPointer>
#include <utility>
#include <vector>

namespace tk {

class DataExchange;

class Dialog : public QDialog
{
    Q_OBJECT
public:
    // The template's data (caption, font face, control table) must outlive the dialog.
    explicit Dialog(const DialogTemplate& tmpl, QWidget* parent = nullptr);
    ~Dialog() override;

    // Modeless: builds the controls, runs onInitDialog() and shows the window.
    // False when the window was already created.
    bool create();
    // Modal: builds the controls (once), runs onInitDialog() and then the modal loop; returns
    // its result (QDialog::Accepted or Rejected).
    int doModal();

    // The control with this id, or null (also before the controls are built, and for -1).
    QWidget* control(int id) const;
    const DialogTemplate& dialogTemplate() const { return m_template; }
    const DialogUnits& units() const { return m_units; }

    // Runs doDataExchange: saving moves control contents into members, loading the reverse.
    // False when any exchange failed or the controls are not built yet.
    bool updateData(bool saveAndValidate = true);

    virtual void doDataExchange(DataExchange& dx);
    // Loads the members into the controls. Returning true puts the focus on the first control
    // in the tab order.
    virtual bool onInitDialog();
    // Button 1: saves the members, then ends the dialog with Accepted.
    virtual void onOK();
    // Button 2, Escape and the close box: ends the dialog with Rejected.
    virtual void onCancel();

    // Escape and the close box come here; they go through onCancel().
    void reject() override;

private:
    void buildControls();
    void focusFirstTabStop();

    DialogTemplate m_template;
    DialogUnits m_units;
    std::vector<std::pair<int, QPointer<QWidget>>> m_controls;
    bool m_built = false;
    bool m_created = false;
};

} // namespace tk

#endif
