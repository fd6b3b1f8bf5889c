#include "toolkit/bytetext.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace tk {

QString textOfBytes(std::string_view bytes)
{
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    // Stateless, and a leading byte-order mark kept, so no bytes vanish from the text.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(view);
    if (utf8.hasError())
        text = QString::fromLatin1(view);
    return text;
}

} // namespace tk
