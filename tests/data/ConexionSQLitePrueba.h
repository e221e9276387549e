#pragma once
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/ServicioSQL.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace gptest {

// The rows of an executed QSqlQuery as the answer formatter reads them; the declared
// types come from the values' types, which is all SQLite tells.
class FilasConsultaQt : public FilasRespuestaSQL
{
public:
    explicit FilasConsultaQt(QSqlQuery &consulta) : consulta_(consulta), registro_(consulta.record()) {}
    int numeroColumnas() const override { return registro_.count(); }
    QString nombreColumna(int columna) const override { return registro_.fieldName(columna); }
    TFieldType tipoColumna(int columna) const override
    {
        switch (registro_.field(columna).metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
            return ftInteger;
        case QMetaType::Double:
            return ftFloat;
        default:
            return ftString;
        }
    }
    bool siguienteFila() override { return consulta_.next(); }
    QVariant valor(int columna) const override { return consulta_.value(columna); }

private:
    QSqlQuery &consulta_;
    QSqlRecord registro_;
};

// One SQLite connection of its own on a file, answering statements as the SQL service
// does: rows as text, nothing for other statements, the error answer on failure.
class ConexionSQLitePrueba
{
public:
    explicit ConexionSQLitePrueba(const QString &fichero)
        : nombre_(QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre_);
        db.setDatabaseName(fichero);
        db.open();
    }
    ~ConexionSQLitePrueba()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(nombre_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(nombre_);
    }
    ConexionSQLitePrueba(const ConexionSQLitePrueba &) = delete;
    ConexionSQLitePrueba &operator=(const ConexionSQLitePrueba &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(nombre_, false); }

    QString ejecutar(const QString &sql, const QString &opciones = QString())
    {
        return resultado(sql, opciones).respuesta;
    }

    // The same with the failure apart, as the service's statements answer.
    ResultadoSentenciaSQL resultado(const QString &sql, const QString &opciones = QString())
    {
        ResultadoSentenciaSQL r;
        r.sentencia = sql;
        QSqlQuery consulta(db());
        consulta.setForwardOnly(true);
        if (!consulta.exec(sql)) {
            r.fallo = {true, consulta.lastError().text(), gp::DatabaseErrorKind::Other};
            r.respuesta = RespuestaErrorSQL(r.fallo.mensaje);
        } else if (consulta.isSelect()) {
            FilasConsultaQt filas(consulta);
            r.respuesta = FormatearRespuestaSQL(filas, opciones);
        }
        return r;
    }

private:
    QString nombre_;
};

} // namespace gptest
