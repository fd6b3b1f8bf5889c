// A dialog described as data: the window and each control, in dialog units.
#ifndef ARBOLIX_TOOLKIT_DIALOGTEMPLATE_H
#define ARBOLIX_TOOLKIT_DIALOGTEMPLATE_H

#include <span>

namespace tk {

enum class ControlKind
{
    PushButton,
    Edit,
    Static,
    TreeView,
    ProgressBar,
    Icon
};

// The button ids a dialog answers itself: OK (onOK) and Cancel (onCancel).
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

namespace style {
// Control styles.
inline constexpr unsigned TabStop = 1u << 0;
inline constexpr unsigned DefaultButton = 1u << 1;
inline constexpr unsigned Border = 1u << 2;
inline constexpr unsigned Uppercase = 1u << 3;
inline constexpr unsigned NoPrefix = 1u << 5;
inline constexpr unsigned Lines = 1u << 6;
inline constexpr unsigned Buttons = 1u << 7;
inline constexpr unsigned LinesAtRoot = 1u << 8;
inline constexpr unsigned ShowSelAlways = 1u << 9; // what a Qt tree view does anyway: unread
inline constexpr unsigned SunkenEdge = 1u << 10;   // sunken client edge
inline constexpr unsigned ModalFrameEdge = 1u << 11;

// Dialog styles.
inline constexpr unsigned Caption = 1u << 18;
inline constexpr unsigned SysMenu = 1u << 19;
inline constexpr unsigned ThickFrame = 1u << 20; // resizable
inline constexpr unsigned MinimizeBox = 1u << 21;
inline constexpr unsigned MaximizeBox = 1u << 22;
inline constexpr unsigned AppWindow = 1u << 23; // shown in the task bar
} // namespace style

// id is -1 for static texts that nothing refers to.
struct ControlTemplate
{
    ControlKind kind;
    int id;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
};

struct DialogTemplate
{
    int id;
    const char* caption;
    int cx, cy;
    const char* fontFace;
    int pointSize;
    unsigned style;
    std::span<const ControlTemplate> controls;
    // The translation context of the caption and the control texts; null shows them as written.
    const char* context = nullptr;
};

} // namespace tk

#endif
