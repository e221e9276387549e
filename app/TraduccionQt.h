#pragma once
#include <QString>
#include <QTranslator>

// The few texts of Qt's own dialogs that Qt's Spanish translation leaves in English (the
// print dialog's page ranges and two-sided printing, the file dialog's kinds of entry).
class ComplementoTraduccionQt : public QTranslator
{
public:
    QString translate(const char *contexto, const char *texto, const char *aclaracion, int n) const override;
    bool isEmpty() const override { return false; }
};

// Qt's own dialogs and boxes (file and print dialogs, the plain message box's buttons) in
// Spanish: Qt's "qtbase" translation, with its complement, is installed for the object's life.
// Without the file (the system's Qt translations not installed) Qt keeps its English and
// nothing else changes.
class TraduccionQtInstalada
{
public:
    // The folder of Qt's translations; by default the one Qt was installed with.
    explicit TraduccionQtInstalada(const QString &carpeta = carpetaDeQt());
    ~TraduccionQtInstalada();
    TraduccionQtInstalada(const TraduccionQtInstalada &) = delete;
    TraduccionQtInstalada &operator=(const TraduccionQtInstalada &) = delete;

    bool instalada() const { return instalada_; }
    static QString carpetaDeQt();

private:
    QTranslator traductor_;
    ComplementoTraduccionQt complemento_;
    bool instalada_ = false;
};
