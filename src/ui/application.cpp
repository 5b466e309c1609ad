#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace koravin {

void PrepareApplication(QApplication& application) {
    application.setApplicationName(QStringLiteral("Koravin"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("Noto Sans Mono CJK SC"),
                                                       QStringLiteral("Noto Sans Mono CJK TC"),
                                                       QStringLiteral("WenQuanYi Zen Hei Mono")});
}

}  // namespace koravin
