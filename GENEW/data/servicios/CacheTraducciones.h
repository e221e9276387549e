#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

// The translations found during the run, shared by every form and every data module: lines
// key "=" translation in the order they were found, a text without translation stored as
// text "=" text so that it is never looked up again. The name of a line is the text before
// its first "="; a look-up takes the first line of that name. Every question is answered
// from hash indexes, never by reading the lines.
class CacheTraducciones
{
public:
    // More entries than this drop the oldest `entradasDescartadas` in one step.
    static constexpr int maximoEntradas = 10000;
    static constexpr int entradasDescartadas = 1001;

    // The one cache of the process: created on first use, it lives until the end.
    static CacheTraducciones &instancia();

    // The value of the first line named so.
    std::optional<QString> valor(const QString &nombre) const;
    // True when some line ends in "=" + texto (the text is already somebody's translation).
    bool esTraduccion(const QString &texto) const;
    void anadir(const QString &clave, const QString &traduccion);

    int numeroEntradas() const { return int(lineas_.size()); }
    QStringList lineas() const;
    void vaciar();

private:
    void descartarPrimeras(int n);
    static QStringList finales(const QString &linea);

    std::deque<QString> lineas_;
    qint64 primera_ = 0;                           // sequence number of lineas_.front()
    QHash<QString, std::deque<qint64>> porNombre_;  // sequence numbers, oldest first
    QHash<QString, int> finales_;                   // text after any "=" of a line -> lines
};
