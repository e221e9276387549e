#pragma once
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/Errores.h"

#include <QList>
#include <QStringList>
#include <QVariant>

namespace gptest {

// A result set held in memory for the answer formatter; a cell holding
// FilasEnMemoria::ilegible() throws as an engine that cannot read it would.
class FilasEnMemoria : public FilasRespuestaSQL
{
public:
    FilasEnMemoria(QStringList nombres, QList<TFieldType> tipos, QList<QVariantList> filas)
        : nombres_(std::move(nombres)), tipos_(std::move(tipos)), filas_(std::move(filas)) {}

    static QVariant ilegible() { return QVariant::fromValue(QStringLiteral("\x01ilegible")); }

    int numeroColumnas() const override { return static_cast<int>(nombres_.size()); }
    QString nombreColumna(int columna) const override { return nombres_.at(columna); }
    TFieldType tipoColumna(int columna) const override { return tipos_.at(columna); }
    bool siguienteFila() override { return ++actual_ < filas_.size(); }
    QVariant valor(int columna) const override
    {
        const QVariant &valor = filas_.at(actual_).at(columna);
        if (valor == ilegible())
            throw gp::DatabaseError(QStringLiteral("Blob has been modified"));
        return valor;
    }

private:
    QStringList nombres_;
    QList<TFieldType> tipos_;
    QList<QVariantList> filas_;
    qsizetype actual_ = -1;
};

} // namespace gptest
