#include "app/nametransfer.h"

#include <QByteArray>
#include <QStringDecoder>

QString nameText(std::string_view bytes)
{
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    // Stateless, and a leading byte-order mark kept, so no bytes vanish from the text.
    QStringDecoder locale(QStringDecoder::System, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
    QString text = locale(view);
    if (locale.hasError())
        text = QString::fromLatin1(view);
    return text;
}

std::unique_ptr<QMimeData> nameMimeData(std::string_view bytes)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setText(nameText(bytes));
    mime->setData(QString::fromLatin1(kNameBytesMimeType),
                  QByteArray(bytes.data(), qsizetype(bytes.size())));
    return mime;
}
