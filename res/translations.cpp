#include "res/translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace res {

namespace {

QString programTranslation(const QString& language)
{
    return QStringLiteral(":/i18n/arbolix_%1.qm").arg(language);
}

bool showsTextsAsWritten(const QString& tag)
{
    if (tag == u"C" || tag == u"POSIX")
        return true;
    return QLocale(tag).language() == QLocale::English;
}

} // namespace

QString translationLanguage(const QStringList& uiLanguages)
{
    for (const QString& tag : uiLanguages) {
        if (showsTextsAsWritten(tag))
            return QString();
        // A tag Qt does not know reads as C; it is passed over like a language without one.
        const QLocale::Language known = QLocale(tag).language();
        const QString language = known == QLocale::C ? QString() : QLocale::languageToCode(known);
        if (!language.isEmpty() && QFile::exists(programTranslation(language)))
            return language;
    }
    return QString();
}

bool installTranslations(QTranslator& program, QTranslator& qt, const QStringList& uiLanguages)
{
    const QString language = translationLanguage(uiLanguages);
    if (language.isEmpty() || !program.load(programTranslation(language)))
        return false;
    QCoreApplication::installTranslator(&program);
    if (qt.load(QStringLiteral("qtbase_") + language,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    return true;
}

} // namespace res
