#include "IntercambioFixture.h"

#include <QRegularExpression>

using namespace intercambio;

using IntercambioSQLTest = IntercambioFixture;

TEST_P(IntercambioSQLTest, RenameAndMergeMoveEveryReference)
{
    struct Caso
    {
        int destino;
    };
    for (const Caso caso : {Caso{12}, Caso{7}}) {
        SCOPED_TRACE(caso.destino);
        prepararEmpresa();
        const QString d = QString::number(caso.destino);
        const QString antes = foto();
        ASSERT_EQ(intercambiar(5, caso.destino), ResultadoPareja::Terminada);
        EXPECT_TRUE(incidencias_.isEmpty()) << incidencias_.join(u'\n').toStdString();
        QString esperado = antes;
        // Only the operator's own references change: the 'Otro' row keeps its 5s.
        esperado.replace(QStringLiteral("BONO=5,"), "BONO=" + d + u',')
            .replace(QStringLiteral("PERSONAL=1,5"), "PERSONAL=1," + d)
            .replace(QRegularExpression(QStringLiteral("(OORDEN=2024,\\d),5")), "\\1," + d)
            .replace(QStringLiteral("LMULTPOB=1,Trabajo,5,"), "LMULTPOB=1,Trabajo," + d + u',')
            .replace(QStringLiteral("LMULTPOB=2,Maquina,M1,5"), "LMULTPOB=2,Maquina,M1," + d)
            .replace(QStringLiteral("OPERARIO,5,"), "OPERARIO," + d + u',')
            .replace(QStringLiteral("PROYECT=P1,5"), "PROYECT=P1," + d)
            .replace(QStringLiteral("LPROYECT=P1,1,5"), "LPROYECT=P1,1," + d)
            .replace(QStringLiteral("NTECNICA=1,5"), "NTECNICA=1," + d)
            .replace(QStringLiteral("CALENOPE=5,"), "CALENOPE=" + d + u',')
            .replace(QStringLiteral("OPERARIO=5,Cinco\n"), caso.destino == 7 ? QString() : "OPERARIO=12,Cinco\n");
        QStringList lineas = esperado.split(u'\n');
        lineas.sort();
        EXPECT_EQ(foto(), lineas.join(u'\n'));
        EXPECT_TRUE(foto().contains(QStringLiteral("LMULTPOB=3,Otro,5,5")));
        EXPECT_FALSE(db().inTransaction());
        // The project's director, both responsibles and the personal calendar follow the operator.
        for (const char *consulta : {"SELECT Director FROM PROYECT WHERE Codigo = 'P1'",
                                     "SELECT Responsable FROM LPROYECT WHERE Linea = 1",
                                     "SELECT Responsable FROM NTECNICA", "SELECT CodigoOperario FROM CALENOPE"})
            EXPECT_EQ(db().scalar(QString::fromUtf8(consulta)).toInt(), caso.destino) << consulta;
        EXPECT_FALSE(db().scalar(QStringLiteral("SELECT Codigo FROM OPERARIO WHERE Codigo = 5")).isValid());
    }
}

TEST_P(IntercambioSQLTest, AnyFailureLeavesEveryTableAsItWas)
{
    struct Caso
    {
        const char *descripcion;
        const char *preparacion;
        const char *incidencia;
    };
    const Caso casos[] = {
        {"a BONO row clashes with the destination's",
         "INSERT INTO BONO (CodigoOperario, Fecha) VALUES (7, '2024-03-01 08:00:00')",
         "¡Error grabando el dato 5 en la tabla BONO!"},
        {"a contact clashes after the operator was deleted",
         "INSERT INTO CONTACTO (NombreTabla, CodigoTabla, Linea) VALUES ('OPERARIO', '7', 1)",
         "¡Error grabando el dato 5 en la tabla CONTACTO!"},
        {"a listed table lacks its column", nullptr, "La tabla LMULTPOB no se puede procesar. Motivo: "},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.descripcion);
        prepararEmpresa();
        incidencias_.clear();
        if (caso.preparacion)
            ASSERT_EQ(sql(QString::fromUtf8(caso.preparacion)), QString());
        else {
            db().dropTable(QStringLiteral("LMULTPOB"));
            tabla("LMULTPOB", {{"Contador", ftInteger}, {"TipoMultiParte", ftString}}, {"Contador"});
        }
        const QString antes = foto();
        EXPECT_EQ(intercambiar(5, 7), ResultadoPareja::Fallida);
        ASSERT_EQ(incidencias_.size(), 1);
        EXPECT_TRUE(incidencias_.first().startsWith(QString::fromUtf8(caso.incidencia))) << incidencias_.first().toStdString();
        EXPECT_EQ(foto(), antes);
        EXPECT_FALSE(db().inTransaction());
        // The connection is still usable: a pair that clashes with nothing goes through.
        incidencias_.clear();
        if (caso.preparacion)
            EXPECT_EQ(intercambiar(9, 19), ResultadoPareja::Terminada);
    }
}

TEST_P(IntercambioSQLTest, ARefusedOperatorDeleteRollsThePairBack)
{
    if (db().engine() == plat::EngineKind::SQLite)
        ASSERT_EQ(sql(QStringLiteral("CREATE TRIGGER NoBorrar BEFORE DELETE ON OPERARIO BEGIN "
                                     "SELECT RAISE(ABORT, 'no'); END")),
                  QString());
    else {
        db().exec(QStringLiteral("CREATE FUNCTION noborrar() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'no'; END; "
                                 "$$ LANGUAGE plpgsql"),
                  {}, plat::SqlOrigin::AsWritten);
        db().exec(QStringLiteral("CREATE TRIGGER noborrar BEFORE DELETE ON operario FOR EACH ROW EXECUTE FUNCTION "
                                 "noborrar()"),
                  {}, plat::SqlOrigin::AsWritten);
    }
    const QString antes = foto();
    EXPECT_EQ(intercambiar(5, 7), ResultadoPareja::Fallida);
    EXPECT_EQ(incidencias_, QStringList{QStringLiteral("¡Error eliminando el dato 5 en la tabla OPERARIO!")});
    EXPECT_EQ(foto(), antes);
}

INSTANTIATE_TEST_SUITE_P(Motores, IntercambioSQLTest, ::testing::Bool(), NombreMotor);
