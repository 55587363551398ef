#include "app/qt_translation.h"

#include <cstdlib>
#include <string_view>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool WantsKoreanQtTexts(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value == nullptr || *value == '\0') continue;
        const std::string_view locale = value;
        if (locale == "C" || locale == "POSIX" || locale.starts_with("C.")) return true;
        return locale.starts_with("ko");
    }
    return true;
}

bool InstallKoreanQtTexts(QCoreApplication& app)
{
    if (!WantsKoreanQtTexts(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"))) return false;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
