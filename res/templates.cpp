#include "res/templates.h"

#include <QtGlobal>

namespace res {

namespace {

using tk::ControlKind;
using tk::ControlTemplate;
using tk::DialogTemplate;
namespace style = tk::style;

constexpr const char* dialogFont = "MS Sans Serif";

constexpr ControlTemplate aboutBoxControls[] = {
    {ControlKind::Icon, IDC_STATIC, "128", 12, 24, 0, 0, 0},
    {ControlKind::Static, IDC_STATIC, "Arbolix " ARBOLIX_SHORT_VERSION, 40, 10, 119, 8,
     style::NoPrefix},
    {ControlKind::PushButton, IDOK, QT_TRANSLATE_NOOP("CAboutDlg", "OK"), 205, 7, 32, 14,
     style::DefaultButton},
    {ControlKind::Static, IDC_VERSION, QT_TRANSLATE_NOOP("CAboutDlg", "Arbolix version %1"), 39, 23,
     163, 8, 0},
    {ControlKind::Static, IDC_STATIC,
     QT_TRANSLATE_NOOP("CAboutDlg", "Copyright (C) 2026 the Arbolix authors"), 39, 37, 183, 8, 0},
    {ControlKind::Static, IDC_STATIC, QT_TRANSLATE_NOOP("CAboutDlg", "Licence: MIT"), 39, 52, 99, 8,
     0},
    {ControlKind::Static, IDC_STATIC,
     QT_TRANSLATE_NOOP("CAboutDlg",
                       "Browses the object directory of the control system: its stations, "
                       "compounds and blocks. Double-click a compound or a block to open its "
                       "display."),
     7, 72, 230, 40, 0},
    {ControlKind::Static, IDC_QTVERSION, QT_TRANSLATE_NOOP("CAboutDlg", "Built with Qt %1"), 7, 122,
     230, 16, 0},
};

constexpr ControlTemplate mainControls[] = {
    {ControlKind::PushButton, IDOK, QT_TRANSLATE_NOOP("CArbolixDlg", "Exit"), 281, 236, 50, 14,
     style::TabStop},
    {ControlKind::TreeView, IDC_TREE, "Tree1", 7, 7, 265, 243,
     style::Lines | style::Buttons | style::LinesAtRoot | style::ShowSelAlways | style::Border |
         style::SunkenEdge | style::ModalFrameEdge | style::TabStop},
    {ControlKind::PushButton, IDC_FIND, QT_TRANSLATE_NOOP("CArbolixDlg", "Find..."), 281, 7, 50, 14,
     style::DefaultButton | style::TabStop},
};

constexpr ControlTemplate findControls[] = {
    {ControlKind::PushButton, IDOK, QT_TRANSLATE_NOOP("CFindDlg", "Find"), 183, 7, 50, 14,
     style::DefaultButton | style::TabStop},
    {ControlKind::Static, IDC_STATIC, QT_TRANSLATE_NOOP("CFindDlg", "Station:"), 7, 14, 41, 8, 0},
    {ControlKind::Edit, IDC_STATION, "", 53, 13, 112, 12, style::Border | style::TabStop},
    {ControlKind::Static, IDC_STATIC, QT_TRANSLATE_NOOP("CFindDlg", "Compound:"), 7, 39, 41, 8, 0},
    {ControlKind::Edit, IDC_COMPOUND, "", 53, 38, 112, 12,
     style::Border | style::TabStop | style::Uppercase},
    {ControlKind::Static, IDC_STATIC, QT_TRANSLATE_NOOP("CFindDlg", "Block:"), 7, 65, 41, 8, 0},
    {ControlKind::Edit, IDC_BLOCK, "", 53, 64, 112, 12,
     style::Border | style::TabStop | style::Uppercase},
    {ControlKind::PushButton, IDC_CLOSE, QT_TRANSLATE_NOOP("CFindDlg", "Close"), 183, 24, 50, 14,
     style::TabStop},
};

constexpr ControlTemplate initControls[] = {
    {ControlKind::Static, IDC_STATIC, QT_TRANSLATE_NOOP("CInitDlg", "Initializing Arbolix..."), 61,
     27, 63, 8, 0},
    {ControlKind::ProgressBar, IDC_PROGRESS, "", 21, 58, 143, 12, style::Border},
};

// Every window is drawn in the one dialog font at 8 points; its texts are translated under the
// name of its class. The program's name and version, the tree's designer name and the icon's
// number are not marked for translation, so they stay as written.
constexpr DialogTemplate withDialogFont(int id, const char* caption, int cx, int cy,
                                        unsigned windowStyle,
                                        std::span<const ControlTemplate> controls,
                                        const char* context)
{
    return {id, caption, cx, cy, dialogFont, 8, windowStyle, controls, context};
}

} // namespace

const DialogTemplate& aboutBoxTemplate()
{
    static const DialogTemplate tmpl =
        withDialogFont(IDD_ABOUTBOX, QT_TRANSLATE_NOOP("CAboutDlg", "About Arbolix"), 244, 145,
                       style::Caption | style::SysMenu, aboutBoxControls, "CAboutDlg");
    return tmpl;
}

const DialogTemplate& mainTemplate()
{
    static const DialogTemplate tmpl =
        withDialogFont(IDD_ARBOLIX_DIALOG, "Arbolix", 338, 257,
                       style::Caption | style::SysMenu | style::ThickFrame | style::MinimizeBox |
                           style::MaximizeBox | style::AppWindow,
                       mainControls, "CArbolixDlg");
    return tmpl;
}

const DialogTemplate& findTemplate()
{
    static const DialogTemplate tmpl =
        withDialogFont(IDD_FIND, QT_TRANSLATE_NOOP("CFindDlg", "Find station, compound or block"),
                       240, 95, style::Caption | style::SysMenu, findControls, "CFindDlg");
    return tmpl;
}

const DialogTemplate& initTemplate()
{
    static const DialogTemplate tmpl =
        withDialogFont(IDD_INIT, QT_TRANSLATE_NOOP("CInitDlg", "Initializing"), 186, 95,
                       style::Caption, initControls, "CInitDlg");
    return tmpl;
}

const char* shortVersion()
{
    return ARBOLIX_SHORT_VERSION;
}

} // namespace res
