#pragma once
#include "GENEW/runtime/RespuestaSQL.h"
#include "platform/data/engine/QueryCursor.h"
#include "platform/data/engine/QueryResult.h"

// The rows a query of the data layer answered, read by the SQL answer formatter.
class FilasResultadoConsulta : public FilasRespuestaSQL
{
public:
    explicit FilasResultadoConsulta(const plat::QueryResult &resultado) : resultado_(resultado) {}

    int numeroColumnas() const override { return static_cast<int>(resultado_.columns.size()); }
    QString nombreColumna(int columna) const override { return resultado_.columns.at(columna); }
    TFieldType tipoColumna(int columna) const override { return resultado_.types.value(columna, ftUnknown); }
    bool siguienteFila() override { return ++fila_ < resultado_.rows.size(); }
    QVariant valor(int columna) const override { return resultado_.rows.at(fila_).value(columna); }

private:
    const plat::QueryResult &resultado_;
    qsizetype fila_ = -1;
};

// The rows of a query read one at a time as the answer is written: a large answer is not
// held twice (as rows and as text).
class FilasCursorConsulta : public FilasRespuestaSQL
{
public:
    explicit FilasCursorConsulta(plat::QueryCursor &cursor) : cursor_(cursor) {}

    int numeroColumnas() const override { return static_cast<int>(cursor_.columns().size()); }
    QString nombreColumna(int columna) const override { return cursor_.columns().at(columna); }
    TFieldType tipoColumna(int columna) const override { return cursor_.types().value(columna, ftUnknown); }
    bool siguienteFila() override { return cursor_.next(); }
    QVariant valor(int columna) const override { return cursor_.value(columna); }
    CeldaSQL celda(int columna) const override
    {
        const plat::QueryCursor::Cell c = cursor_.cell(columna);
        using Kind = plat::QueryCursor::Cell::Kind;
        CeldaSQL celda;
        switch (c.kind) {
        case Kind::Null: celda.tipo = CeldaSQL::Tipo::Nulo; break;
        case Kind::Integer: celda.tipo = CeldaSQL::Tipo::Entero; break;
        case Kind::Real: celda.tipo = CeldaSQL::Tipo::Real; break;
        case Kind::Text: celda.tipo = CeldaSQL::Tipo::Texto; break;
        case Kind::Other: break;
        }
        celda.entero = c.integer;
        celda.real = c.real;
        celda.texto = c.text;
        celda.largo = c.size;
        return celda;
    }

private:
    plat::QueryCursor &cursor_;
};
