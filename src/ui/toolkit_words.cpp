#include "toolkit_words.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sorakado::ui {

bool useJapaneseToolkitWords(QCoreApplication& app) {
    auto* words = new QTranslator(&app);
    if (!words->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete words;
        return false;
    }
    return QCoreApplication::installTranslator(words);
}

} // namespace sorakado::ui
