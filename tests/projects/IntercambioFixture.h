#pragma once
#include "platform/data/engine/Connection.h"
#include "projects/EjecutorIntercambioSQL.h"
#include "tests/data/ModuloFixture.h"


struct Columna
{
    const char *nombre;
    TFieldType tipo;
};

// A company with operators 5, 7 and 9 and rows of 5 in some of the swapped tables; the
// other listed tables absent.
class IntercambioFixture : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        prepararEmpresa();
    }

    void prepararEmpresa()
    {
        for (const auto &c : intercambio::ColumnasOperario() + intercambio::ColumnasLateralesOperario())
            db().dropTable(c.tabla);
        db().dropTable(QStringLiteral("OPERARIO"));
        tabla("OPERARIO", {{"Codigo", ftSmallint}, {"Nombre", ftString}}, {"Codigo"});
        tabla("BONO", {{"CodigoOperario", ftSmallint}, {"Fecha", ftDateTime}}, {"CodigoOperario", "Fecha"});
        tabla("PERSONAL", {{"CodigoOperario", ftSmallint}, {"CodigoOperarioPresencia", ftSmallint}}, {"CodigoOperario"});
        tabla("OORDEN", {{"Ejercicio", ftSmallint}, {"NumeroOrden", ftInteger}, {"CodigoOperario", ftSmallint}},
              {"Ejercicio", "NumeroOrden"});
        tabla("LMULTPOB", {{"Contador", ftInteger}, {"TipoMultiParte", ftString}, {"Codigo", ftString},
                           {"CodigoOperario", ftSmallint}},
              {"Contador"});
        for (const char *lateral : {"DOCUTRON", "GRANTAB"})
            tabla(lateral, {{"NombreTabla", ftString}, {"ClaveTabla", ftString}, {"Nombre", ftString}},
                  {"NombreTabla", "ClaveTabla", "Nombre"});
        tabla("CONTACTO", {{"NombreTabla", ftString}, {"CodigoTabla", ftString}, {"Linea", ftSmallint}},
              {"NombreTabla", "CodigoTabla", "Linea"});
        tabla("PROYECT", {{"Codigo", ftString}, {"Director", ftSmallint}}, {"Codigo"});
        tabla("LPROYECT", {{"CodigoProyecto", ftString}, {"Linea", ftSmallint}, {"Responsable", ftSmallint}},
              {"CodigoProyecto", "Linea"});
        tabla("NTECNICA", {{"NotaTecnica", ftInteger}, {"Responsable", ftSmallint}}, {"NotaTecnica"});
        tabla("CALENOPE", {{"CodigoOperario", ftSmallint}, {"Fecha", ftDateTime}, {"EsDiaTrabajado", ftString}},
              {"CodigoOperario", "Fecha"});
        for (const char *fila : {
                 "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (5, 'Cinco')",
                 "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (7, 'Siete')",
                 "INSERT INTO OPERARIO (Codigo, Nombre) VALUES (9, 'Nueve')",
                 "INSERT INTO BONO (CodigoOperario, Fecha) VALUES (5, '2024-03-01 08:00:00')",
                 "INSERT INTO PERSONAL (CodigoOperario, CodigoOperarioPresencia) VALUES (1, 5)",
                 "INSERT INTO OORDEN (Ejercicio, NumeroOrden, CodigoOperario) VALUES (2024, 1, 5)",
                 "INSERT INTO OORDEN (Ejercicio, NumeroOrden, CodigoOperario) VALUES (2024, 2, 5)",
                 "INSERT INTO LMULTPOB (Contador, TipoMultiParte, Codigo, CodigoOperario) VALUES (1, 'Trabajo', '5', 0)",
                 "INSERT INTO LMULTPOB (Contador, TipoMultiParte, Codigo, CodigoOperario) VALUES (2, 'Maquina', 'M1', 5)",
                 "INSERT INTO LMULTPOB (Contador, TipoMultiParte, Codigo, CodigoOperario) VALUES (3, 'Otro', '5', 5)",
                 "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('OPERARIO', '5', 'ficha.pdf')",
                 "INSERT INTO GRANTAB (NombreTabla, ClaveTabla, Nombre) VALUES ('OPERARIO', '5', 'G1')",
                 "INSERT INTO CONTACTO (NombreTabla, CodigoTabla, Linea) VALUES ('OPERARIO', '5', 1)",
                 "INSERT INTO PROYECT (Codigo, Director) VALUES ('P1', 5)",
                 "INSERT INTO PROYECT (Codigo, Director) VALUES ('P2', 9)",
                 "INSERT INTO LPROYECT (CodigoProyecto, Linea, Responsable) VALUES ('P1', 1, 5)",
                 "INSERT INTO LPROYECT (CodigoProyecto, Linea, Responsable) VALUES ('P1', 2, 9)",
                 "INSERT INTO NTECNICA (NotaTecnica, Responsable) VALUES (1, 5)",
                 "INSERT INTO CALENOPE (CodigoOperario, Fecha, EsDiaTrabajado) VALUES (5, '2024-03-04 00:00:00', 'SI')",
             })
            ASSERT_EQ(sql(QString::fromUtf8(fila)), QString()) << fila;
    }

    plat::Connection &db() { return form_->Database(); }

    void tabla(const char *nombre, std::initializer_list<Columna> columnas, const QStringList &clave)
    {
        plat::TableDef def{QString::fromLatin1(nombre), {}, {}};
        for (const Columna &c : columnas) {
            plat::FieldDef campo;
            campo.name = QString::fromLatin1(c.nombre);
            campo.type = c.tipo;
            campo.size = c.tipo == ftString ? 40 : 0;
            def.fields.append(campo);
        }
        def.indexes.append(plat::IndexDef{QString(), clave, true, true});
        db().createTable(def);
    }

    // Every row of the company's tables as "TABLE=v1,v2..." lines, sorted, to compare.
    QString foto()
    {
        QStringList lineas;
        for (const char *t : {"OPERARIO", "BONO", "PERSONAL", "OORDEN", "LMULTPOB", "DOCUTRON", "GRANTAB", "CONTACTO",
                              "PROYECT", "LPROYECT", "NTECNICA", "CALENOPE"})
            for (const auto &fila : db().query(QStringLiteral("SELECT * FROM ") + QString::fromLatin1(t)).rows) {
                QStringList valores;
                for (const QVariant &v : fila)
                    valores << v.toString();
                lineas << QString::fromLatin1(t) + u'=' + valores.join(u',');
            }
        lineas.sort();
        return lineas.join(u'\n');
    }

    intercambio::ResultadoPareja intercambiar(qint64 origen, qint64 destino)
    {
        EjecutorIntercambioSQL ejecutor(db());
        return intercambio::IntercambiarPareja({origen, destino}, ejecutor, incidencias_);
    }

    QStringList incidencias_;
};

