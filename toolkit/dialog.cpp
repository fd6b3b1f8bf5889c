#include "toolkit/dialog.h"

#include "toolkit/controlfactory.h"
#include "toolkit/dataexchange.h"
#include "toolkit/fonts.h"
#include "toolkit/modalseam.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>

namespace tk {

namespace {

// Buttons and static texts show their own text; the other controls are named by a label.
bool hasOwnText(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::Static ||
           kind == ControlKind::Icon;
}

Qt::WindowFlags flagsForStyle(unsigned dialogStyle)
{
    Qt::WindowFlags flags = (dialogStyle & style::AppWindow) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if (dialogStyle & style::Caption)
        flags |= Qt::WindowTitleHint;
    if (dialogStyle & style::SysMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dialogStyle & style::MinimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (dialogStyle & style::MaximizeBox)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

} // namespace

Dialog::Dialog(const DialogTemplate& tmpl, QWidget* parent)
    : QDialog(parent), m_template(tmpl),
      m_units(QFontMetrics(templateFont(tmpl.fontFace, tmpl.pointSize), this))
{
    // Units and controls share the one font, so the layout fits the text it holds.
    setFont(templateFont(tmpl.fontFace, tmpl.pointSize));
    setWindowTitle(templateText(tmpl.context, tmpl.caption));
    setWindowFlags(flagsForStyle(tmpl.style));
}

Dialog::~Dialog() = default;

void Dialog::buildControls()
{
    if (m_built)
        return;
    m_built = true;

    const QSize size(m_units.toPixelsX(m_template.cx), m_units.toPixelsY(m_template.cy));
    if (m_template.style & style::ThickFrame)
        resize(size);
    else
        setFixedSize(size);

    QWidget* previousTabStop = nullptr;
    QLabel* previousLabel = nullptr;
    m_controls.reserve(m_template.controls.size());
    for (const ControlTemplate& entry : m_template.controls) {
        QWidget* widget = createControl(entry, m_units, this, m_template.context);
        m_controls.emplace_back(entry.id, widget);
        // A static text just before a control without a text of its own is that control's
        // label: screen readers take its name from it, and its mnemonic reaches the control.
        if (previousLabel && !hasOwnText(entry.kind))
            previousLabel->setBuddy(widget);
        previousLabel = entry.kind == ControlKind::Static ? qobject_cast<QLabel*>(widget) : nullptr;
        if (entry.style & style::TabStop) {
            if (previousTabStop)
                setTabOrder(previousTabStop, widget);
            previousTabStop = widget;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (entry.id == kIdOk)
                connect(button, &QAbstractButton::clicked, this, [this] { onOK(); });
            else if (entry.id == kIdCancel)
                connect(button, &QAbstractButton::clicked, this, [this] { onCancel(); });
        }
    }
}

void Dialog::focusFirstTabStop()
{
    // Without any tab stop, the first control that can take the focus gets it (the About
    // box's OK), so the window is never left without a focus.
    for (const bool tabStopsOnly : {true, false}) {
        for (const auto& [id, widget] : m_controls) {
            if (!widget || !widget->isEnabled() || widget->focusPolicy() == Qt::NoFocus)
                continue;
            if (tabStopsOnly && !(widget->focusPolicy() & Qt::TabFocus))
                continue;
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

bool Dialog::create()
{
    if (m_created)
        return false;
    m_created = true;
    buildControls();
    if (onInitDialog())
        focusFirstTabStop();
    show();
    return true;
}

int Dialog::doModal()
{
    buildControls();
    if (onInitDialog())
        focusFirstTabStop();
    if (ModalSeam::active())
        return ModalSeam::run(*this);
    return exec();
}

QWidget* Dialog::control(int id) const
{
    if (id == -1)
        return nullptr;
    for (const auto& [controlId, widget] : m_controls) {
        if (controlId == id)
            return widget.data();
    }
    return nullptr;
}

bool Dialog::updateData(bool saveAndValidate)
{
    if (!m_built)
        return false;
    DataExchange dx(*this, saveAndValidate);
    doDataExchange(dx);
    return !dx.failed();
}

void Dialog::doDataExchange(DataExchange&) {}

bool Dialog::onInitDialog()
{
    updateData(false);
    return true;
}

void Dialog::onOK()
{
    // Exchanges here never reject operator input (over-long text is cut), so a failure can only
    // be a missing control; the dialog still closes rather than trapping the operator.
    updateData(true);
    QDialog::accept();
}

void Dialog::onCancel()
{
    QDialog::reject();
}

void Dialog::reject()
{
    onCancel();
}

} // namespace tk
