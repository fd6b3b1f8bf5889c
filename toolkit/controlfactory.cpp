#include "toolkit/controlfactory.h"

#include "toolkit/dialogunits.h"
#include "toolkit/treectrl.h"
#include "toolkit/uppercasevalidator.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace tk {

namespace {

constexpr int iconPixels = 32;

QWidget* createPushButton(const QString& text, const ControlTemplate& control, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // Every button stays auto-default, so Enter presses the focused button and otherwise the
    // default one.
    button->setDefault(control.style & style::DefaultButton);
    return button;
}

QWidget* createEdit(const QString& text, const ControlTemplate& control, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setFrame(control.style & style::Border);
    if (control.style & style::Uppercase)
        edit->setValidator(new UppercaseValidator(edit));
    return edit;
}

QWidget* createStatic(const QString& text, const ControlTemplate& control, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(staticText(text, control.style));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

// A one-line text sized for the template's font may not fit in the desktop's font: widen it
// (as far as the window allows) rather than wrap it out of sight.
void fitOneLineText(QLabel* label, QRect& geometry, int windowWidth)
{
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
    const bool oneLine = geometry.height() < 2 * label->fontMetrics().height();
    if (!oneLine || textWidth <= geometry.width())
        return;
    label->setWordWrap(false);
    geometry.setWidth(std::max(geometry.width(), std::min(textWidth, windowWidth - geometry.x())));
}

QWidget* createTreeView(const ControlTemplate& control, QWidget* parent)
{
    // The template's text is a name for the designer; a tree view never shows it.
    auto* tree = new TreeCtrl(parent);
    tree->setBranchStyle({.lines = bool(control.style & style::Lines),
                          .buttons = bool(control.style & style::Buttons),
                          .linesAtRoot = bool(control.style & style::LinesAtRoot)});
    const bool framed = control.style & (style::Border | style::SunkenEdge | style::ModalFrameEdge);
    tree->setFrameStyle(framed ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
    return tree;
}

QWidget* createProgressBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

QWidget* createIcon(QWidget* parent)
{
    // The dialog's own icon, which falls back to its owner's and then the application's.
    auto* label = new QLabel(parent);
    label->setPixmap(parent->windowIcon().pixmap(iconPixels, iconPixels));
    return label;
}

QWidget* createWidget(const ControlTemplate& control, QWidget* parent, const char* context)
{
    const QString text = templateText(context, control.text);
    switch (control.kind) {
    case ControlKind::PushButton:
        return createPushButton(text, control, parent);
    case ControlKind::Edit:
        return createEdit(text, control, parent);
    case ControlKind::Static:
        return createStatic(text, control, parent);
    case ControlKind::TreeView:
        return createTreeView(control, parent);
    case ControlKind::ProgressBar:
        return createProgressBar(parent);
    case ControlKind::Icon:
        return createIcon(parent);
    }
    return createStatic(text, control, parent);
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::Edit ||
           kind == ControlKind::TreeView;
}

} // namespace

QString templateText(const char* context, const char* text)
{
    if (!text)
        return QString();
    return context ? QCoreApplication::translate(context, text) : QString::fromUtf8(text);
}

QString staticText(const char* text, unsigned style)
{
    return staticText(text ? QString::fromUtf8(text) : QString(), style);
}

QString staticText(const QString& raw, unsigned style)
{
    if (style & style::NoPrefix)
        return raw;
    QString shown;
    shown.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'&') {
            ++i;
            if (i == raw.size())
                break;
        }
        shown.append(raw[i]);
    }
    return shown;
}

QWidget* createControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent,
                       const char* context)
{
    QWidget* widget = createWidget(control, parent, context);
    if (control.id != -1)
        widget->setObjectName(QStringLiteral("ctl%1").arg(control.id));

    QRect geometry = units.toPixels(control.x, control.y, control.cx, control.cy);
    if (control.kind == ControlKind::Icon)
        geometry.setSize(QSize(iconPixels, iconPixels)); // an icon control takes the icon's size
    if (control.kind == ControlKind::Static)
        fitOneLineText(static_cast<QLabel*>(widget), geometry, parent->width());
    widget->setGeometry(geometry);

    // Controls outside the tab order can still be clicked into, as the operator expects.
    if (control.style & style::TabStop)
        widget->setFocusPolicy(Qt::StrongFocus);
    else
        widget->setFocusPolicy(takesFocus(control.kind) ? Qt::ClickFocus : Qt::NoFocus);
    return widget;
}

} // namespace tk
