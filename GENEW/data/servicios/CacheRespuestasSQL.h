#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

// Answers of SQL statements kept in memory for the rest of the run (the key fields of
// tables, asked on every record operation). An entry is the line key "=" value: the
// statement with "=" written "$IGUAL$", and the answer with "=" written "$IGUAL$" and
// CR LF "$CRLF$", an empty answer as "Conjunto_Vacio". Entries are never invalidated;
// once the list holds more than LimiteEntradas entries, each call drops the oldest one.
class CacheRespuestasSQL
{
public:
    static constexpr int LimiteEntradas = 20000;
    static const QString ConjuntoVacio;

    using Ejecutor = std::function<QString(const QString &sql)>;

    // The cached answer of the statement, or the answer of ejecutar(sql), which is then
    // kept. An error answer is not kept, so that a later call tries the statement again.
    QString respuesta(const QString &sql, const Ejecutor &ejecutar);

    int numeroEntradas() const { return static_cast<int>(entradas_.size()); }
    bool contiene(const QString &sql) const { return indice_.contains(claveDe(sql)); }
    // The entries as Name=Value lines, oldest first.
    QStringList lineas() const;
    void vaciar();

private:
    struct Entrada
    {
        QString clave;
        QString valor;
    };

    static QString claveDe(const QString &sql);
    static QString codificar(const QString &texto);
    static QString decodificar(const QString &texto);

    std::deque<Entrada> entradas_;
    QHash<QString, qint64> indice_;   // key -> sequence number of its entry
    qint64 primeraSecuencia_ = 0;     // sequence number of entradas_.front()
};
