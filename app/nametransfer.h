// An object's name as the clipboard and a drag hand it to other programs.
#ifndef ARBOLIX_APP_NAMETRANSFER_H
#define ARBOLIX_APP_NAMETRANSFER_H

#include <QMimeData>
#include <QString>
#include <memory>
#include <string_view>

// The MIME type under which a name's exact bytes are offered, for programs that can take them.
inline constexpr char kNameBytesMimeType[] = "application/x-arbolix-name";

// The name as text, as the tree shows it and a screen reader speaks it (tk::textOfBytes).
QString nameText(std::string_view bytes);

// The text above as plain text, and the exact bytes under kNameBytesMimeType.
std::unique_ptr<QMimeData> nameMimeData(std::string_view bytes);

#endif
