#include "app/nametransfer.h"

#include "toolkit/bytetext.h"

#include <QByteArray>

QString nameText(std::string_view bytes)
{
    return tk::textOfBytes(bytes);
}

std::unique_ptr<QMimeData> nameMimeData(std::string_view bytes)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setText(nameText(bytes));
    mime->setData(QString::fromLatin1(kNameBytesMimeType),
                  QByteArray(bytes.data(), qsizetype(bytes.size())));
    return mime;
}
