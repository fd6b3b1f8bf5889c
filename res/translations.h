// The program's translations, built into it, chosen by the operator's languages.
#ifndef ARBOLIX_RES_TRANSLATIONS_H
#define ARBOLIX_RES_TRANSLATIONS_H

#include <QString>
#include <QStringList>

class QTranslator;

namespace res {

// The language code ("de") of the translation for the first of the languages (most wanted
// first, as QLocale::uiLanguages gives them) that the program speaks; empty when that is
// English, C or POSIX, which show the texts as written. Languages without a translation are
// passed over.
QString translationLanguage(const QStringList& uiLanguages);

// Loads and installs the program's translation for the languages, and Qt's own for its standard
// texts (a field's edit menu, a message box's button) where Qt's are installed. False when the
// texts stay as written.
bool installTranslations(QTranslator& program, QTranslator& qt, const QStringList& uiLanguages);

} // namespace res

#endif
