#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Controls.h"
#include "tests/data/ModuloFixture.h"

namespace {

// The listing dialog as the listing of a copy sees it: what it was given and the rows it found.
class ListadoGrabado : public TfGENECPRO
{
public:
    ListadoGrabado()
    {
        boton = pbActivarTablaLogica;
        anterior_ = fGENECPRO;
        fGENECPRO = this;
    }
    ~ListadoGrabado() override { fGENECPRO = anterior_; }

    void AbrirListado(plat::DataSet &dataSet, const QString &prefijo, const QString &titulo,
                      const QString &opciones) override
    {
        ++llamadas;
        argumentos = QStringList{prefijo, titulo, opciones};
        // The form's toggle is grouped: its down state is its checked state.
        botonOcultoYPulsado = boton->isHidden() && boton->isChecked();
        if (auto *t = dynamic_cast<plat::TableDataSet *>(&dataSet)) {
            tabla = t->tableName();
            conexion = t->connection();
        }
        campos = dataSet.fieldNames();
        filas = dataSet.recordCount();
        dataSet.last();
        ultimo = dataSet.field(0).asString();
    }

    plat::SpeedButton *boton;
    int llamadas = 0;
    QStringList argumentos, campos;
    qint64 filas = 0;
    QString tabla, ultimo;
    plat::Connection *conexion = nullptr;
    bool botonOcultoYPulsado = false;

private:
    TfGENECPRO *anterior_;
};

class RegistrosClave : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        for (const char *codigo : {"P1", "P2", "O'B", "10", "12", "X"})
            sql(QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion) VALUES (%1, %2)")
                    .arg(Entrecomillar(codigo), Entrecomillar(QStringLiteral("Proyecto ") + codigo)));
        for (int i = 1; i <= 5; ++i)
            linea(QStringLiteral("P1"), i);
        linea(QStringLiteral("P2"), 1);
        linea(QStringLiteral("P2"), 2);
        mensajes_.limpiar();
    }

    void linea(const QString &proyecto, int n)
    {
        EXPECT_EQ(sql(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Descripcion) VALUES (%1, %2, %3)")
                          .arg(Entrecomillar(proyecto))
                          .arg(n)
                          .arg(Entrecomillar(proyecto + QStringLiteral("/L") + QString::number(n)))),
                  QString());
    }

    std::unique_ptr<plat::TableDataSet> tabla(const QString &nombre)
    {
        auto t = std::make_unique<plat::TableDataSet>(nombre);
        t->setDatabaseName(form_->Database().databaseName());
        t->setConnection(&form_->Database());
        t->setTableName(nombre);
        EXPECT_TRUE(modulo_->AbrirTabla(*t));
        return t;
    }

    QString lineas(const QString &proyecto)
    {
        return sql(QStringLiteral("SELECT Linea, Descripcion FROM LPROYECT WHERE CodigoProyecto = %1 ORDER BY Linea")
                       .arg(Entrecomillar(proyecto)));
    }
};

TEST_P(RegistrosClave, KeyTextsNameTheSameRecordWithOrWithoutTheFinalSeparator)
{
    auto proyectos = tabla("PROYECT");
    for (const char *clave : {"O'B", "O'B;", "P1;"})
        EXPECT_TRUE(modulo_->ExisteClave(*proyectos, QString::fromUtf8(clave))) << clave;
    EXPECT_FALSE(modulo_->ExisteClave(*proyectos, "O'"));
    EXPECT_TRUE(modulo_->ExisteClaveEnTabla("LPROYECT", "P1;3;"));
    EXPECT_FALSE(modulo_->ExisteClaveEnTabla("LPROYECT", "P1;9"));
    EXPECT_FALSE(modulo_->ExisteClaveEnTabla("", "P1"));

    QVariant r;
    EXPECT_EQ(modulo_->LeerRegistroPorClave(*proyectos, "O'B", r, "Descripcion").toStringList(),
              QStringList{"Proyecto O'B"});
    EXPECT_EQ(modulo_->LeerCamposRegistro("PROYECT", "O'B;", r, "Codigo;Descripcion").toStringList(),
              (QStringList{"O'B", "Proyecto O'B"}));
    EXPECT_EQ(r.toStringList(), (QStringList{"O'B", "Proyecto O'B"}));
    // The list ends at its first empty name.
    EXPECT_EQ(modulo_->LeerRegistroPorClave(*proyectos, "P2;", r, "Codigo;;Descripcion").toStringList(),
              QStringList{"P2"});
    EXPECT_FALSE(modulo_->LeerRegistroPorClave(*proyectos, "P7;", r).isValid());
    EXPECT_FALSE(r.isValid());
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

TEST_P(RegistrosClave, AntReadsTheLineBeforeWithinTheSameDocument)
{
    auto lineasP = tabla("LPROYECT");
    QVariant r;
    EXPECT_EQ(modulo_->LeerRegistroPorClave(*lineasP, "P1;Ant:5;", r, "Linea;Descripcion").toStringList(),
              (QStringList{"4", "P1/L4"}));
    struct Caso
    {
        const char *clave;
        const char *porque;
    };
    for (const Caso c : {Caso{"P1;Ant:1", "first line of its document"}, Caso{"P2;Ant:1", "the line before is P1's"},
                         Caso{"P1;Ant:9", "no such line"}})
        EXPECT_FALSE(modulo_->LeerRegistroPorClave(*lineasP, c.clave, r, "Linea").isValid()) << c.porque;
}

TEST_P(RegistrosClave, SiguienteCodigoIgnoresCodesThatAreNotNumbers)
{
    auto proyectos = tabla("PROYECT");
    EXPECT_EQ(modulo_->SiguienteCodigo(*proyectos), 13);
    EXPECT_EQ(modulo_->SiguienteCodigo(*proyectos, 10, -1, 11), 20);
    auto lineasP = tabla("LPROYECT");
    ASSERT_TRUE(lineasP->findKey({QStringLiteral("P2"), 1}));
    EXPECT_EQ(modulo_->SiguienteCodigo(*lineasP), 3);   // within the current line's document
    auto personal = tabla("PERSONAL");
    EXPECT_EQ(modulo_->SiguienteCodigo(*personal), 1);
    EXPECT_TRUE(textosDeTipo("A").isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

TEST_P(RegistrosClave, InsertarLineaOpensAGapInOneDocumentOnly)
{
    auto lineasP = tabla("LPROYECT");
    ASSERT_TRUE(lineasP->findKey({QStringLiteral("P1"), 3}));
    ASSERT_TRUE(modulo_->InsertarLinea(*lineasP, lineasP->bookmark()));
    EXPECT_EQ(lineas("P1"), "1|P1/L1\r\n2|P1/L2\r\n4|P1/L3\r\n5|P1/L4\r\n6|P1/L5");
    EXPECT_EQ(lineas("P2"), "1|P2/L1\r\n2|P2/L2");
    EXPECT_FALSE(modulo_->Table1->table().active());
}

TEST_P(RegistrosClave, InsertarLineaThatFailsHalfWayLeavesTheLinesAsTheyWere)
{
    auto lineasP = tabla("LPROYECT");
    ASSERT_TRUE(lineasP->findKey({QStringLiteral("P1"), 2}));
    int posts = 0;
    modulo_->Table1->table().BeforePost = [&](plat::DataSet &) {
        if (++posts == 3)
            throw gp::DatabaseError(QStringLiteral("Key violation"));
    };
    EXPECT_FALSE(modulo_->InsertarLinea(*lineasP, lineasP->bookmark()));
    modulo_->Table1->table().BeforePost = nullptr;
    EXPECT_EQ(lineas("P1"), "1|P1/L1\r\n2|P1/L2\r\n3|P1/L3\r\n4|P1/L4\r\n5|P1/L5");
    EXPECT_EQ(textosDeTipo("A"), QStringList{"¡ Se ha producido un error insertando la línea !"});
}

TEST_P(RegistrosClave, InsertarLineaStopsWhenALineToMoveIsGone)
{
    auto lineasP = tabla("LPROYECT");
    ASSERT_TRUE(lineasP->findKey({QStringLiteral("P1"), 2}));
    bool borrada = false;
    modulo_->Table1->table().BeforePost = [&](plat::DataSet &) {
        if (!std::exchange(borrada, true))   // another hand takes line 3 away meanwhile
            sql("DELETE FROM LPROYECT WHERE CodigoProyecto = 'P1' AND Linea = 3");
    };
    EXPECT_FALSE(modulo_->InsertarLinea(*lineasP, lineasP->bookmark()));
    modulo_->Table1->table().BeforePost = nullptr;
    EXPECT_EQ(lineas("P1"), "1|P1/L1\r\n2|P1/L2\r\n3|P1/L3\r\n4|P1/L4\r\n5|P1/L5");
    EXPECT_EQ(textosDeTipo("A"), QStringList{"¡ Se ha producido un error insertando la línea !"});
}

TEST_P(RegistrosClave, DuplicarRegistroConDetallesCopiesMasterAndLines)
{
    auto proyectos = tabla("PROYECT");
    auto lineasP = tabla("LPROYECT");
    ASSERT_TRUE(proyectos->findKey({QStringLiteral("P1")}));
    lineasP->setRange({QStringLiteral("P1")}, {QStringLiteral("P1")});
    QString resultado = QStringLiteral("x");
    mensajes_.programarRespuestas({QStringLiteral("P9")});
    modulo_->DuplicarRegistroConDetalles(*proyectos, {lineasP.get()}, QString(), resultado);
    EXPECT_EQ(resultado, QString());
    ASSERT_EQ(mensajes_.mensajes().size(), 1);
    EXPECT_EQ(mensajes_.mensajes().first().tipo, "P");
    EXPECT_EQ(mensajes_.mensajes().first().texto, "Introduzca el nuevo Codigo:");
    EXPECT_EQ(mensajes_.mensajes().first().respuestaPropuesta, "13");
    EXPECT_EQ(proyectos->fieldByName("Codigo").asString(), "P9");
    EXPECT_EQ(sql("SELECT Descripcion FROM PROYECT WHERE Codigo = 'P9'"), "Proyecto P1");
    EXPECT_EQ(lineas("P9"), "1|P1/L1\r\n2|P1/L2\r\n3|P1/L3\r\n4|P1/L4\r\n5|P1/L5");
}

TEST_P(RegistrosClave, DuplicarRegistroConDetallesWritesNothingWhenALineFails)
{
    auto proyectos = tabla("PROYECT");
    auto lineasP = tabla("LPROYECT");
    linea(QStringLiteral("P8"), 3);   // line 3 of the copy will clash with it
    ASSERT_TRUE(proyectos->findKey({QStringLiteral("P1")}));
    lineasP->setRange({QStringLiteral("P1")}, {QStringLiteral("P1")});
    QString resultado;
    modulo_->DuplicarRegistroConDetalles(*proyectos, {lineasP.get()}, QStringLiteral("P8;"), resultado);
    EXPECT_TRUE(resultado.startsWith(QStringLiteral("Error: "))) << resultado.toStdString();
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PROYECT WHERE Codigo = 'P8'"), "0");
    EXPECT_EQ(lineas("P8"), "3|P8/L3");
    EXPECT_EQ(proyectos->fieldByName("Codigo").asString(), "P1");
}

TEST_P(RegistrosClave, DuplicarRegistroRefusesTooLargeValues)
{
    sql("INSERT INTO PERSONAL (CodigoOperario, Nombre) VALUES (1, 'Ana')");
    auto personal = tabla("PERSONAL");
    QString resultado;
    modulo_->DuplicarRegistroConDetalles(*personal, {}, QStringLiteral("12345"), resultado);
    EXPECT_EQ(resultado, "Cancelada");
    EXPECT_EQ(textosDeTipo("A"), QStringList{"¡El valor introducido es demasiado grande (el máximo es de 4 dígitos)!"});
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PERSONAL"), "1");
    mensajes_.programarRespuestas({QString()});   // an empty answer cancels too
    modulo_->DuplicarRegistro(*personal, nullptr, resultado);
    EXPECT_EQ(resultado, "Cancelada");
}

TEST_P(RegistrosClave, TheCommonBeforeDeleteClearsTheSideTables)
{
    auto proyectos = tabla("PROYECT");
    proyectos->BeforeDelete = [&](plat::DataSet &d) { modulo_->BorrarRegistrosAsociados(d); };
    // A new company has no side tables yet: deleting makes them, silently.
    ASSERT_TRUE(proyectos->findKey({QStringLiteral("P2")}));
    proyectos->remove();
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();

    sql("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('PROYECT', 'O''B', 'plano')");
    sql("INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('PROYECT', 'P1', 'otro')");
    sql("INSERT INTO CONTACTO (NombreTabla, CodigoTabla, Linea) VALUES ('PROYECT', 'O''B', 1)");
    EXPECT_TRUE(modulo_->TieneDocumentacionElectronica("PROYECT", "O'B"));
    ASSERT_TRUE(proyectos->findKey({QStringLiteral("O'B")}));
    proyectos->remove();
    EXPECT_FALSE(modulo_->TieneDocumentacionElectronica("PROYECT", "O'B"));
    EXPECT_TRUE(modulo_->TieneDocumentacionElectronica("PROYECT", "P1"));
    EXPECT_EQ(sql("SELECT COUNT(*) FROM CONTACTO"), "0");
    EXPECT_EQ(sql("SELECT COUNT(*) FROM PROYECT WHERE Codigo IN ('O''B', 'P2')"), "0");
}

TEST_P(RegistrosClave, CopiesAStoredRecordIntoTheOneBeingEdited)
{
    auto proyectos = tabla("PROYECT");
    proyectos->append();
    proyectos->fieldByName("Codigo").setValue("N1");
    modulo_->CopiarDatosRegistro(*proyectos, "O'B;");
    EXPECT_EQ(proyectos->fieldByName("Codigo").asString(), "N1");
    EXPECT_EQ(proyectos->fieldByName("Descripcion").asString(), "Proyecto O'B");
    proyectos->fieldByName("Descripcion").setValue("");
    modulo_->CopiarCampoRegistro(*proyectos, "Descripcion", "P2");
    EXPECT_EQ(proyectos->fieldByName("Descripcion").asString(), "Proyecto P2");
    modulo_->CopiarCampoRegistro(*proyectos, "Descripcion", "nada");   // not found: unchanged
    EXPECT_EQ(proyectos->fieldByName("Descripcion").asString(), "Proyecto P2");
    proyectos->cancel();
}

TEST_P(RegistrosClave, PresenceCodeAndDeletionOfTheShownRecords)
{
    sql("INSERT INTO PERSONAL (CodigoOperario, Nombre, CodigoOperarioPresencia) VALUES (1, 'Ana', 0)");
    sql("INSERT INTO PERSONAL (CodigoOperario, Nombre, CodigoOperarioPresencia) VALUES (2, 'Luis', 20)");
    EXPECT_EQ(modulo_->CodigoOperarioPresencia(1), 1);
    EXPECT_EQ(modulo_->CodigoOperarioPresencia(2), 20);
    EXPECT_EQ(modulo_->CodigoOperarioPresencia(3), 3);

    auto lineasP = tabla("LPROYECT");
    lineasP->setRange({QStringLiteral("P1")}, {QStringLiteral("P1")});
    mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("NO")});
    EXPECT_TRUE(modulo_->BorrarTodosLosRegistros(*lineasP));
    EXPECT_EQ(lineasP->recordCount(), 5);
    mensajes_.programarRespuestas({QStringLiteral("SI"), QStringLiteral("SI")});
    EXPECT_TRUE(modulo_->BorrarTodosLosRegistros(*lineasP));
    EXPECT_TRUE(modulo_->EstaVacio(*lineasP));
    EXPECT_EQ(lineas("P2"), "1|P2/L1\r\n2|P2/L2");
}

TEST_P(RegistrosClave, ListarDataSetTemporalListsACopyAndDropsIt)
{
    ListadoGrabado listado;
    plat::ClientDataSet datos(QStringLiteral("Datos"));
    datos.setFieldDefs({plat::fieldDef("Numero", ftInteger), plat::fieldDef("Nombre", ftString, 20),
                        plat::fieldDef("Importe", ftFloat)});
    datos.createDataSet();
    for (int i = 1; i <= 1001; ++i) {
        datos.append();
        datos.field(0).setValue(i);
        datos.field(1).setValue(QStringLiteral("N%1").arg(i));
        datos.field(2).setValue(i * 1.5);
        datos.post();
    }
    mensajes_.programarRespuestas({QStringLiteral("NO")});
    modulo_->ListarDataSetTemporal(datos, "FMT", "Titulo");
    EXPECT_EQ(textosDeTipo("C"), QStringList{"El informe tiene más de 1000 registros. ¿Desea continuar?"});
    EXPECT_EQ(listado.llamadas, 0);

    mensajes_.limpiar();
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    modulo_->ListarDataSetTemporal(datos, "FMT", "Titulo");
    ASSERT_EQ(listado.llamadas, 1);
    EXPECT_EQ(listado.argumentos, (QStringList{"FMT", "Titulo", "CamposOrdenadosOFF"}));
    EXPECT_EQ(listado.campos, (QStringList{"Numero", "Nombre", "Importe"}));
    EXPECT_EQ(listado.filas, 1001);
    EXPECT_TRUE(listado.botonOcultoYPulsado);
    EXPECT_FALSE(listado.boton->isHidden());
    ASSERT_NE(listado.conexion, nullptr);
    EXPECT_FALSE(listado.conexion->tableNames().contains(listado.tabla, Qt::CaseInsensitive)) << listado.tabla.toStdString();

    datos.last();
    datos.remove();   // 1000 records: no question
    mensajes_.limpiar();
    modulo_->ListarDataSetTemporal(datos, "", "");
    EXPECT_TRUE(textosDeTipo("C").isEmpty());
    EXPECT_EQ(listado.llamadas, 2);

    datos.close();
    modulo_->ListarDataSetTemporal(datos, "", "");
    EXPECT_EQ(textosDeTipo("I"), QStringList{"No hay registros para listar"});
}

TEST_P(RegistrosClave, ListarDataSetListsTheWholeTableOfAQuery)
{
    ListadoGrabado listado;
    plat::QueryDataSet consulta(QStringLiteral("Consulta"));
    consulta.setSql(QStringLiteral("SELECT Codigo FROM PROYECT WHERE Codigo = 'P1'"));
    modulo_->ListarDataSet(consulta);
    ASSERT_EQ(listado.llamadas, 1);
    EXPECT_EQ(listado.filas, 6);
    EXPECT_EQ(listado.argumentos, (QStringList{"", "", ""}));
}

TEST_P(RegistrosClave, CopiarRegistrosReplacesByEveryKeyFieldAndShowsProgress)
{
    form_->Database().exec(QStringLiteral("CREATE TABLE LCOPIA (CodigoProyecto VARCHAR(20) NOT NULL, Linea INTEGER NOT "
                                          "NULL, Descripcion VARCHAR(100), PRIMARY KEY (CodigoProyecto, Linea))"));
    sql("INSERT INTO LCOPIA (CodigoProyecto, Linea, Descripcion) VALUES ('P1', 2, 'vieja')");
    sql("INSERT INTO LCOPIA (CodigoProyecto, Linea, Descripcion) VALUES ('P2', 1, 'otra')");
    auto origen = tabla("LPROYECT");
    origen->setRange({QStringLiteral("P1")}, {QStringLiteral("P1")});
    auto destino = tabla("LCOPIA");
    const auto copia = [&] { return sql("SELECT CodigoProyecto, Linea, Descripcion FROM LCOPIA ORDER BY 1, 2"); };

    modulo_->CopiarRegistros(*origen, *destino, "Sustituir");
    EXPECT_EQ(copia(), "P1|2|P1/L2\r\nP2|1|otra");   // P2's line 2 is not P1's line 2
    const auto &progresos = mensajes_.progresos();
    ASSERT_EQ(progresos.size(), 7);
    EXPECT_EQ(progresos.first(), (QStringList{"ON", "Copiando Registros", "", ""}));
    EXPECT_EQ(progresos.at(1), (QStringList{"", "Copiando Registros", "P1;1", ""}));
    EXPECT_EQ(progresos.last().first(), "OFF");

    modulo_->CopiarRegistros(*origen, *destino, "Sustituir,Agregar");
    EXPECT_EQ(copia(), "P1|1|P1/L1\r\nP1|2|P1/L2\r\nP1|3|P1/L3\r\nP1|4|P1/L4\r\nP1|5|P1/L5\r\nP2|1|otra");
    modulo_->CopiarRegistros(*origen, *destino, "Copiar");
    EXPECT_EQ(copia(), "P1|1|P1/L1\r\nP1|2|P1/L2\r\nP1|3|P1/L3\r\nP1|4|P1/L4\r\nP1|5|P1/L5");
}

TEST_P(RegistrosClave, ElectronicDocumentsOpenThroughTheInstalledWindow)
{
    // The module installs its own window; a test's opener stands in for its scope.
    ASSERT_TRUE(form_->VentanaDocumentacionElectronica.valor());
    QStringList abiertos;
    {
        Gancho<std::function<void(const QString &, const QString &)>>::Instalacion ventana(
            form_->VentanaDocumentacionElectronica,
            [&](const QString &tabla, const QString &clave) { abiertos << tabla + u'#' + clave; });
        modulo_->AbrirDocumentacionElectronica("PROYECT", "P1");
    }
    EXPECT_EQ(abiertos, QStringList{"PROYECT#P1"});
    liberarModulo();
    EXPECT_FALSE(form_->VentanaDocumentacionElectronica.valor());   // gone with the module
}

INSTANTIATE_TEST_SUITE_P(Motores, RegistrosClave, ::testing::Bool(), NombreMotor);

} // namespace
