#include "app/TraduccionQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

TraduccionQtInstalada::TraduccionQtInstalada(const QString &carpeta)
{
    if (traductor_.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"), carpeta))
        instalada_ = QCoreApplication::installTranslator(&traductor_);
}

TraduccionQtInstalada::~TraduccionQtInstalada()
{
    if (instalada_)
        QCoreApplication::removeTranslator(&traductor_);
}

QString TraduccionQtInstalada::carpetaDeQt() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }
