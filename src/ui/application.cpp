#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace koravin {

void PrepareApplication(QApplication& application) {
    application.setApplicationName(QStringLiteral("Koravin"));
    // The menu entry a desktop pairs the windows with, and their picture where it has none to pair.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.koravin.koravin"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/koravin.png")));
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
