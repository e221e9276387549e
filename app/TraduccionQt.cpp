#include "app/TraduccionQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstring>

QString ComplementoTraduccionQt::translate(const char *contexto, const char *texto, const char *, int) const
{
    static const struct
    {
        const char *contexto, *texto, *espanol;
    } kTextos[] = {
        {"QPrintSettingsOutput", "Pages", "Páginas"},
        {"QPrintSettingsOutput",
         "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
         "hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
         "Indique páginas o intervalos separados por comas; un intervalo son dos números separados por un "
         "guion. Por ejemplo: 3,5-7,9 imprime las páginas 3, 5, 6, 7 y 9."},
        {"QPrintSettingsOutput", "Double Sided Printing", "Impresión a doble cara"},
        {"QPrintSettingsOutput", "Off", "Desactivada"},
        {"QPrintSettingsOutput", "Long side binding", "Encuadernación por el lado largo"},
        {"QPrintSettingsOutput", "Short side binding", "Encuadernación por el lado corto"},
        {"QAbstractFileIconProvider", "Drive", "Unidad"},
        {"QAbstractFileIconProvider", "Folder", "Carpeta"},
    };
    if (!contexto || !texto)
        return {};
    for (const auto &t : kTextos)
        if (std::strcmp(t.contexto, contexto) == 0 && std::strcmp(t.texto, texto) == 0)
            return QString::fromUtf8(t.espanol);
    return {};
}

TraduccionQtInstalada::TraduccionQtInstalada(const QString &carpeta)
{
    if (traductor_.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"), carpeta)) {
        instalada_ = QCoreApplication::installTranslator(&traductor_);
        if (instalada_)
            QCoreApplication::installTranslator(&complemento_);
    }
}

TraduccionQtInstalada::~TraduccionQtInstalada()
{
    if (instalada_) {
        QCoreApplication::removeTranslator(&complemento_);
        QCoreApplication::removeTranslator(&traductor_);
    }
}

QString TraduccionQtInstalada::carpetaDeQt() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }
