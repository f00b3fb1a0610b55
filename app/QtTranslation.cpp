#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool installPolishQtTexts(QTranslator &translator, const QString &folder)
{
    return translator.load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"), QStringLiteral("_"),
                           folder) &&
           QCoreApplication::installTranslator(&translator);
}
