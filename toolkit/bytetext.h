// The one way a name's bytes become text wherever the program shows, speaks or hands it on.
#ifndef ARBOLIX_TOOLKIT_BYTETEXT_H
#define ARBOLIX_TOOLKIT_BYTETEXT_H

#include <QString>
#include <string_view>

namespace tk {

// UTF-8 where the bytes are valid UTF-8, else each byte as its Latin-1 character: no byte is
// dropped or turned into a replacement character, so names that differ in bytes differ in text
// (a Latin-1 name and its UTF-8 twin aside, which read alike on purpose).
QString textOfBytes(std::string_view bytes);

} // namespace tk

#endif
