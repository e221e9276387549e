#include "ModuloFixture.h"

#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/Field.h"

#include <QFileInfo>
#include <thread>

#include "GENEW/data/NombresTablasTemporales.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/AperturaTablasFormulario.h"

namespace {

const QString kCapitulos = QStringLiteral("LPROYECT");

// Two chapters of project P1, the second with a two-line description and no dates.
void insertarCapitulos(ModuloFixture &, TModuloDatos &m)
{
    ASSERT_EQ(m.EjecutarSQL(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, "
                                           "DescripcionAmpliada, FechaInicio, Importe) VALUES ('P1', 1, 'C1', "
                                           "'Cimientos', 'una', '2024-03-05 00:00:00', 1234.5)")),
              QString());
    ASSERT_EQ(m.EjecutarSQL(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, "
                                           "DescripcionAmpliada, FechaInicio, Importe) VALUES ('P1', 2, 'C2', "
                                           "'Muros', 'primera\r\nsegunda', '2024-03-06 10:30:00', -0.25)")),
              QString());
}

// ---- creation -------------------------------------------------------------------------

TEST_P(ModuloMotorTest, CreationMakesTheAdministratorAndReadsTheParameters)
{
    TModuloDatos &m = *modulo_;
    EXPECT_TRUE(ModuloDatosCreado);
    EXPECT_EQ(ModuloDatos, &m);
    EXPECT_EQ(sql(QStringLiteral("SELECT Codigo, Nombre, Categoria, ClaveAcceso, Empresas FROM USUARIO"),
                  QStringLiteral("DatabaseGeneral")),
              QStringLiteral("ADMIN|Administrador|Administrador||1"));
    // An empty PARAGENE leaves the built-in templates and no rates.
    EXPECT_EQ(FormatoNumericoEstandar, QStringLiteral("#,###.##"));
    EXPECT_EQ(m.TiposIVA[1], 0.0);
    EXPECT_TRUE(m.ParamGenerales->table().active());
    EXPECT_TRUE(m.Moneda->table().active());
    EXPECT_EQ(m.DSMoneda->dataSet(), &m.Moneda->table());

    ASSERT_EQ(sql(QStringLiteral("INSERT INTO PARAGENE (IdRegistro, PlantillaNumericaStd, PlantillaNumericaExt, Iva1, "
                                 "Recargo1, CodigoMonedaBase, CodigoMonedaEuro, CodigoMonedaNacional) VALUES (0, "
                                 "'#,##0.000', 'PlantillaNumerica2=#,##0.0000 Precio,Tarifa', 21, 5.2, 1, 2, 1)")),
              QString());
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO MONEDA (Codigo, Descripcion, Abreviatura, Decimales, Cambio) "
                                 "VALUES (1, 'Euro', 'EUR', 2, 1)")),
              QString());
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO MONEDA (Codigo, Descripcion, Abreviatura, Decimales, Cambio) "
                                 "VALUES (2, 'Peseta', 'PTA', 0, 166.386)")),
              QString());
    TModuloDatos &otro = crearModulo();
    EXPECT_EQ(FormatoNumericoEstandar, QStringLiteral("#,##0.000"));
    EXPECT_EQ(FormatosNumericos[2], QStringLiteral("#,##0.0000"));
    EXPECT_EQ(CamposFormatoNumerico[2], (QStringList{QStringLiteral("Precio"), QStringLiteral("Tarifa")}));
    EXPECT_EQ(FormatosNumericos[4], QStringLiteral("#,##0.000"));
    EXPECT_EQ(otro.TiposIVA[1], 21.0);
    EXPECT_EQ(otro.TiposRecargo[1], 5.2);
    EXPECT_EQ(DecimalesMonedaBase, 2);
    EXPECT_EQ(AbreviaturaMonedaBase, QStringLiteral("EUR"));
    EXPECT_FALSE(otro.MonedaBaseDistintaNacional());
    // Base = national: amounts go to the euro row's rate, with the euro prefix.
    EXPECT_EQ(otro.ConvertirMoneda(QString(), 1663.86), 10.0);
    // The administrator is written once only.
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM USUARIO"), QStringLiteral("DatabaseGeneral")),
              QStringLiteral("1"));
    FormatoNumericoEstandar = FormatoNumericoInicial;
}

// ---- answers as text ------------------------------------------------------------------

TEST_P(ModuloMotorTest, AnswersComeAsTextInTheProgramsConventions)
{
    TModuloDatos &m = *modulo_;
    plat::TableDataSet tabla;
    tabla.setTableName(kCapitulos);
    ASSERT_TRUE(m.AbrirTabla(tabla));   // made from the definitions on first use
    insertarCapitulos(*this, m);

    EXPECT_EQ(sql(QStringLiteral("SELECT Capitulo FROM LPROYECT ORDER BY Linea")), QStringLiteral("C1\r\nC2"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Capitulo FROM LPROYECT ORDER BY Linea"), QString(),
                  QStringLiteral("NoEliminarUltimoCRLF")),
              QStringLiteral("C1\r\nC2\r\n"));
    ASSERT_EQ(sql(QStringLiteral("UPDATE LPROYECT SET Responsable = NULL")), QString());
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea, Importe, FechaInicio, FechaFinal, Responsable "
                                 "FROM LPROYECT ORDER BY Linea")),
              QStringLiteral("1|1234,5|05/03/2024|30/12/1899|\r\n2|-0,25|06/03/2024 10:30:00|30/12/1899|"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea, DescripcionAmpliada FROM LPROYECT ORDER BY Linea")),
              QStringLiteral("1|una\r\n2|primera segunda"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea, DescripcionAmpliada FROM LPROYECT WHERE Linea = 2"), QString(),
                  QStringLiteral("DelimitadorCRLFMemo=;")),
              QStringLiteral("2|primera;segunda"));
    // Names in their declared case on every engine.
    EXPECT_EQ(sql(QStringLiteral("SELECT CodigoProyecto, Capitulo FROM LPROYECT WHERE Linea = 1"), QString(),
                  QStringLiteral("FormatoINI")),
              QStringLiteral("CodigoProyecto=P1·Capitulo=C1"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Capitulo FROM LPROYECT WHERE Capitulo = 'nada'")), QString());
    // An empty comparison also finds NULL.
    ASSERT_EQ(sql(QStringLiteral("UPDATE LPROYECT SET GradoAvance = NULL WHERE Linea = 2")), QString());
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea FROM LPROYECT WHERE GradoAvance = '' ORDER BY Linea")),
              QStringLiteral("1\r\n2"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Linea FROM LPROYECT WHERE GradoAvance = NULL")), QStringLiteral("2"));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

TEST_P(ModuloMotorTest, AFailureAnswersTheErrorTextAndSaysSoUnlessSilent)
{
    const QString sentencia = QStringLiteral("SELECT NoHay FROM USUARIO");
    const QString respuesta = sql(sentencia, QStringLiteral("DatabaseGeneral"));
    EXPECT_TRUE(respuesta.startsWith(PrefijoErrorSQL)) << respuesta.toStdString();
    ASSERT_EQ(mensajes_.mensajes().size(), 2);
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, QStringLiteral("A"));
    EXPECT_EQ(mensajes_.mensajes()[0].texto, respuesta);
    EXPECT_EQ(mensajes_.mensajes()[1].texto, QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\n") + sentencia);
    EXPECT_EQ(mensajes_.mensajes()[1].tipo, QStringLiteral("S"));   // the plain system box

    mensajes_.limpiar();
    EXPECT_TRUE(sql(sentencia, QStringLiteral("DatabaseGeneral"), QStringLiteral("Silenciosa")).startsWith(PrefijoErrorSQL));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
}

TEST_P(ModuloMotorTest, AStatementOnAMissingTableCreatesItAndRunsAgain)
{
    plat::Connection &empresa = fGENEINIC->Database();
    ASSERT_FALSE(empresa.tableExists(QStringLiteral("NOTVERS")));
    EXPECT_EQ(sql(QStringLiteral("SELECT * FROM NOTVERS WHERE 1 = 0")), QString());
    EXPECT_TRUE(empresa.tableExists(QStringLiteral("NOTVERS")));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();

    // "No Crear Tabla" leaves it missing and answers the failure.
    ASSERT_FALSE(empresa.tableExists(QStringLiteral("TEXTO")));
    EXPECT_TRUE(sql(QStringLiteral("SELECT * FROM TEXTO"), QString(), QStringLiteral("No Crear Tabla,Silenciosa"))
                    .startsWith(PrefijoErrorSQL));
    EXPECT_FALSE(empresa.tableExists(QStringLiteral("TEXTO")));
    // Every table a statement names is made, joined ones too.
    EXPECT_EQ(sql(QStringLiteral("SELECT T.Codigo FROM TEXTO T JOIN FORMLIST F ON 1 = 1")), QString());
    EXPECT_TRUE(empresa.tableExists(QStringLiteral("TEXTO")));
    EXPECT_TRUE(empresa.tableExists(QStringLiteral("FORMLIST")));

    // A table nobody defined cannot be made: the retry is skipped and the error answered.
    const QString respuesta = sql(QStringLiteral("DELETE FROM SINDEFINIR WHERE 1 = 1"), QString(), QStringLiteral("Silenciosa"));
    EXPECT_TRUE(respuesta.startsWith(PrefijoErrorSQL)) << respuesta.toStdString();
    EXPECT_TRUE(EsErrorTablaInexistente(respuesta));
}

TEST_P(ModuloMotorTest, TheCacheRunsAStatementOnce)
{
    CacheRespuestasSQL cache;
    const QString pregunta = QStringLiteral("SELECT Codigo FROM USUARIO WHERE Codigo = 'OTRO'");
    EXPECT_EQ(modulo_->EjecutarSQLCache(pregunta, cache, QStringLiteral("DatabaseGeneral")), QString());
    EXPECT_EQ(cache.lineas(), QStringList{QString(pregunta).replace(u'=', QStringLiteral("$IGUAL$")) + QStringLiteral("=Conjunto_Vacio")});
    const QString original = QStringLiteral("SELECT Codigo FROM USUARIO WHERE Codigo = 'OTRO'");
    ASSERT_TRUE(modulo_->InsertarRegistroSQL(QStringLiteral("USUARIO\r\nCodigo=OTRO\r\nNombre=Otro"),
                                             QStringLiteral("DatabaseGeneral")));
    // Still the answer kept, never the new one.
    EXPECT_EQ(modulo_->EjecutarSQLCache(original, cache, QStringLiteral("DatabaseGeneral")), QString());
    EXPECT_EQ(modulo_->EjecutarSQL(original, QStringLiteral("DatabaseGeneral")), QStringLiteral("OTRO"));
}

TEST_P(ModuloMotorTest, ARecordTextKeepsItsQuotesAndLines)
{
    ASSERT_TRUE(modulo_->InsertarRegistroSQL(
        QStringLiteral("LPROYECT\r\nCodigoProyecto=O'Brien\r\nLinea=1\r\nCapitulo=\r\nDescripcionAmpliada=uno·dos")));
    EXPECT_EQ(sql(QStringLiteral("SELECT CodigoProyecto FROM LPROYECT")), QStringLiteral("O'Brien"));
    EXPECT_EQ(sql(QStringLiteral("SELECT DescripcionAmpliada FROM LPROYECT")), QStringLiteral("uno\r\ndos"));
}

// ---- key metadata ---------------------------------------------------------------------

TEST_P(ModuloMotorTest, KeyFieldsOfATwoFieldPrimaryIndexAndASecondaryOne)
{
    TModuloDatos &m = *modulo_;
    plat::TableDataSet tabla;
    tabla.setTableName(kCapitulos);
    ASSERT_TRUE(m.AbrirTabla(tabla));
    EXPECT_EQ(m.CamposClave(tabla), QStringLiteral("CodigoProyecto;Linea"));
    EXPECT_EQ(m.CamposClave(tabla, QStringLiteral("Clave2")), QStringLiteral("CodigoProyecto;Capitulo"));
    EXPECT_EQ(m.NumeroCamposClave(tabla), 2);
    EXPECT_EQ(m.CamposClaveSQL(kCapitulos), QStringLiteral("CodigoProyecto;Linea"));
    EXPECT_EQ(m.CamposClaveSQL(kCapitulos, QStringLiteral("Clave3")), QStringLiteral("CodigoProyecto;FechaInicio"));
    EXPECT_EQ(m.NumeroCamposClaveSQL(kCapitulos), 2);
    EXPECT_EQ(m.ColumnasTablaSQL(QStringLiteral("MONEDA")),
              QStringLiteral("Codigo;Descripcion;Abreviatura;Decimales;Cambio"));
    EXPECT_EQ(m.ListaColumnasTabla(QStringLiteral("USUARIO"), QStringLiteral("Sin Campos Memo")),
              QStringLiteral("Codigo\r\nNombre\r\nCategoria\r\nClaveAcceso"));

    insertarCapitulos(*this, m);
    tabla.refresh();
    tabla.first();
    EXPECT_EQ(m.ClaveRegistro(tabla), QStringLiteral("P1;1;"));
    const QVariant clave = m.ObtenerClaveRegistro(tabla);
    EXPECT_EQ(clave.toList().size(), 2);
    tabla.last();
    EXPECT_EQ(m.ClaveRegistro(tabla), QStringLiteral("P1;2;"));
    EXPECT_TRUE(m.LocalizarClave(tabla, clave));
    EXPECT_EQ(tabla.fieldByName(QStringLiteral("Linea")).value().toInt(), 1);
    EXPECT_FALSE(m.LocalizarClave(tabla, QVariant()));
    EXPECT_EQ(m.ClaveUltimoRegistroGrupo(tabla), QStringLiteral("P1;2;"));
}

TEST_P(ModuloMotorTest, TemporaryNamesAreShortAndStablePerOwner)
{
    TModuloDatos &m = *modulo_;
    QObject listado, otro;
    listado.setObjectName(QStringLiteral("fGENECPRO"));
    otro.setObjectName(QStringLiteral("fPROYCONSULTAPLANIFICACION"));
    const QString a = m.NombreTablaTemporal(&listado, 1);
    const QString b = m.NombreTablaTemporal(&otro, 1);
    EXPECT_EQ(a, QStringLiteral("TEMP000001_fGENECPRO"));
    EXPECT_EQ(b, QStringLiteral("TEMP000002_fPROYCONS"));
    EXPECT_EQ(m.NombreTablaTemporal(&listado, 1), a);
    EXPECT_NE(m.NombreTablaTemporal(&listado, 2), a);
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM NOMBTTEM"), QStringLiteral("DatabaseGeneral")), QStringLiteral("3"));
    EXPECT_EQ(m.NombreTablaTemporal(nullptr, 1).section(u'_', 1), QStringLiteral("Unknown"));
}

INSTANTIATE_TEST_SUITE_P(Motores, ModuloMotorTest, ::testing::Bool(), NombreMotor);

// ---- field handlers (no engine needed beyond the start-up) ------------------------------

TEST_F(ModuloFixture, DateAndTimeHandlersHideTheZeroDate)
{
    ASSERT_TRUE(prepararMotor(false));
    TModuloDatos &m = *modulo_;
    plat::TableDataSet tabla;
    tabla.setTableName(kCapitulos);
    ASSERT_TRUE(m.AbrirTabla(tabla));
    insertarCapitulos(*this, m);
    tabla.refresh();
    tabla.first();
    plat::Field &fecha = tabla.fieldByName(QStringLiteral("FechaInicio"));
    plat::Field &vacia = tabla.fieldByName(QStringLiteral("FechaFinal"));
    QString texto = QStringLiteral("x");
    m.MostrarTextoFecha(vacia, texto, true);
    EXPECT_EQ(texto, QString());
    m.MostrarTextoFecha(fecha, texto, true);
    EXPECT_EQ(texto, fecha.displayTextOf(fecha.value()));
    EXPECT_FALSE(texto.isEmpty());

    tabla.edit();
    m.AsignarTextoHora(vacia, QStringLiteral("14"));
    EXPECT_EQ(vacia.asDateTime().time(), QTime(14, 0));
    m.MostrarTextoHora(vacia, texto, true);
    EXPECT_EQ(texto, QStringLiteral("14:00:00"));
    m.AsignarTextoHora(vacia, QString());
    m.MostrarTextoHora(vacia, texto, true);
    EXPECT_EQ(texto, QString());
    tabla.cancel();
}

TEST_F(ModuloFixture, TheMailSenderNameIsTheCompanysLegalNameWhileTheModuleLives)
{
    ASSERT_TRUE(prepararMotor(false));
    ASSERT_TRUE(fGENEINIC->RazonSocial.valor());
    EXPECT_EQ(fGENEINIC->RazonSocial.valor()(), QString());
    plat::TableDataSet &parametros = modulo_->ParamGenerales->table();
    parametros.append();
    parametros.fieldByName(QStringLiteral("IdRegistro")).setValue(0);
    parametros.fieldByName(QStringLiteral("RazonSocial")).setValue(QStringLiteral("Construcciones Núñez, S.L."));
    parametros.post();
    EXPECT_EQ(fGENEINIC->RazonSocial.valor()(), QStringLiteral("Construcciones Núñez, S.L."));
    liberarModulo();
    EXPECT_FALSE(fGENEINIC->RazonSocial.valor());
}

} // namespace

namespace {

// Another program naming its temporary tables at the same time, on a connection of its own
// to the same general database.
QStringList NombrarEnOtraSesion(const TfGENEINIC &f, const QString &propietario, int cuantos)
{
    const plat::Connection &general = f.DatabaseGeneral();
    plat::Session sesion;
    sesion.setEngine(general.engine());
    sesion.setDefaultFolder(f.Configuracion.basesDatos.PathBaseDatosGeneral);
    sesion.loadAliasFile(f.Configuracion.directorioTrabajo + QStringLiteral("ALIAS.INI"));
    QStringList nombres;
    {
        plat::Connection conexion(sesion, QStringLiteral("DatabaseGeneral"));
        conexion.setAliasName(general.aliasName());
        conexion.setDatabaseName(general.databaseName());
        conexion.setParams(general.params());
        AlmacenNombresTemporalesSQL almacen([&](const QString &sql, const QString &opciones) {
            return EjecutarSentenciaSQL(conexion, sql, opciones);
        });
        for (int i = 1; i <= cuantos; ++i)
            nombres << AbreviarNombreTablaTemporal(QStringLiteral("TEMP_%1_%2").arg(propietario).arg(i), propietario, almacen);
    }
    sesion.closeAll();
    return nombres;
}

TEST_P(ModuloMotorTest, TwoSessionsNamingAtOnceNeverShareAShortName)
{
    // NOMBTTEM exists before the race, as it does once the program has run.
    ASSERT_FALSE(modulo_->NombreTablaTemporal(nullptr, 1).isEmpty());
    const TfGENEINIC &f = *fGENEINIC;
    QStringList primeros, segundos;
    QString fallo;
    std::thread otro([&] {
        try {
            segundos = NombrarEnOtraSesion(f, QStringLiteral("fOTRO"), 15);
        } catch (const gp::Error &error) {
            fallo = error.mensaje();
        }
    });
    QString falloPropio;
    try {
        primeros = NombrarEnOtraSesion(f, QStringLiteral("fUNO"), 15);
    } catch (const gp::Error &error) {
        falloPropio = error.mensaje();
    }
    otro.join();
    ASSERT_TRUE(fallo.isEmpty()) << fallo.toStdString();
    ASSERT_TRUE(falloPropio.isEmpty()) << falloPropio.toStdString();
    ASSERT_EQ(primeros.size(), 15);
    ASSERT_EQ(segundos.size(), 15);
    QStringList contadores;
    for (const QString &nombre : primeros + segundos)
        contadores << nombre.section(u'_', 0, 0);
    contadores.removeDuplicates();
    EXPECT_EQ(contadores.size(), 30);
    // The same long names get the same short ones back.
    EXPECT_EQ(NombrarEnOtraSesion(f, QStringLiteral("fOTRO"), 15), segundos);
    EXPECT_EQ(modulo_->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM NOMBTTEM"), QStringLiteral("DatabaseGeneral")),
              QStringLiteral("31"));
}

} // namespace

namespace {

// ---- queries and forms ------------------------------------------------------------------

TEST_P(ModuloMotorTest, AQueryOpensOrRunsByItsFirstWordAndMakesMissingTables)
{
    TModuloDatos &m = *modulo_;
    plat::QueryComponent consulta;
    plat::QueryDataSet &q = consulta.query();
    // A lower-case SELECT opens too; the table it reads is made first.
    q.setSql(QStringLiteral("select Codigo, Descripcion FROM TEXTO"));
    ASSERT_FALSE(fGENEINIC->Database().tableExists(QStringLiteral("TEXTO")));
    EXPECT_TRUE(m.AbrirConsulta(q));
    EXPECT_TRUE(q.active());
    EXPECT_EQ(q.fieldCount(), 2);
    EXPECT_TRUE(fGENEINIC->Database().tableExists(QStringLiteral("TEXTO")));

    q.setSql(QStringLiteral("INSERT INTO TEXTO (Codigo, Descripcion) VALUES ('A', 'Uno')"));
    EXPECT_TRUE(m.AbrirConsulta(q));
    EXPECT_FALSE(q.active());
    EXPECT_EQ(sql(QStringLiteral("SELECT Descripcion FROM TEXTO")), QStringLiteral("Uno"));

    // A general table reached by its database's name with "?".
    q.setDatabaseName(u'?' + fGENEINIC->DatabaseGeneral().databaseName());
    q.setSql(QStringLiteral("SELECT Codigo FROM USUARIO"));
    ASSERT_TRUE(m.AbrirConsulta(q, QStringLiteral("Open")));
    EXPECT_EQ(q.fieldByName(QStringLiteral("Codigo")).asString(), QStringLiteral("ADMIN"));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();

    q.setDatabaseName(QString());
    q.setSql(QStringLiteral("SELECT NoHay FROM TEXTO"));
    EXPECT_FALSE(m.AbrirConsulta(q, QStringLiteral("Silencio")));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
    EXPECT_FALSE(m.AbrirConsulta(q));
    ASSERT_EQ(mensajes_.mensajes().size(), 2);
    EXPECT_TRUE(mensajes_.mensajes()[0].texto.startsWith(QStringLiteral("¡No es posible ejecutar la sentencia SQL. Motivo: ")));
    EXPECT_EQ(mensajes_.mensajes()[1].texto, QStringLiteral("Hay un error en la siguiente Sentencia SQL: \r\nSELECT NoHay FROM TEXTO"));
    EXPECT_EQ(mensajes_.mensajes()[1].tipo, QStringLiteral("S"));
}

TEST_F(ModuloFixture, OpeningAFormsTablesMakesTheMissingOnesAndSkipsTheParametersWithoutACompany)
{
    ASSERT_TRUE(prepararMotor(false));
    fGENEINIC->Conexiones().EmpresaActual = 0;
    plat::DataModule formulario;
    formulario.setObjectName(QStringLiteral("fPRUEBA"));
    auto *textos = formulario.make<plat::TableComponent>(QStringLiteral("Table1"), &formulario);
    textos->setTableName(QStringLiteral("TEXTO"));
    auto *usuarios = formulario.make<plat::TableComponent>(QStringLiteral("Usuarios"), &formulario);
    usuarios->setTableName(QStringLiteral("USUARIO"));
    auto *parametros = formulario.make<plat::TableComponent>(QStringLiteral("Parametros"), &formulario);
    parametros->setTableName(QStringLiteral("PARAGENE"));
    auto *sinTabla = formulario.make<plat::TableComponent>(QStringLiteral("SinTabla"), &formulario);

    EXPECT_TRUE(AbrirTablasFormulario(formulario));
    EXPECT_TRUE(textos->active());
    EXPECT_EQ(textos->table().connection(), &fGENEINIC->Database());
    EXPECT_TRUE(usuarios->active());
    EXPECT_EQ(usuarios->table().connection(), &fGENEINIC->DatabaseGeneral());
    EXPECT_FALSE(parametros->active());
    EXPECT_FALSE(sinTabla->active());

    // A table nobody defined cannot be made: the others open all the same.
    textos->table().close();
    auto *indefinida = formulario.make<plat::TableComponent>(QStringLiteral("Indefinida"), &formulario);
    indefinida->setTableName(QStringLiteral("SINDEFINIR"));
    fGENEINIC->Conexiones().EmpresaActual = 1;
    EXPECT_FALSE(AbrirTablasFormulario(formulario));
    EXPECT_TRUE(textos->active());
    EXPECT_TRUE(parametros->active());
    EXPECT_FALSE(indefinida->active());
}

// Amounts are in euros exactly while the main window's currency panel would read "€": the
// menu's other-currency toggle flips whichever currency the base is.
TEST_F(ModuloFixture, TheEuroViewFollowsTheBaseCurrencyAndTheMenuToggle)
{
    ASSERT_TRUE(prepararMotor(false));
    TModuloDatos &m = *modulo_;
    bool menuOtraMoneda = false;
    const decltype(m.VistaMonedaActual)::Instalacion vista(m.VistaMonedaActual, [&menuOtraMoneda] {
        return TModuloDatos::EstadoVistaMoneda{false, false, menuOtraMoneda};
    });
    plat::TableDataSet &parametros = m.ParamGenerales->table();
    const struct
    {
        int base;
        bool menu;
        bool enEuros;
    } casos[] = {{2, false, false}, {2, true, true}, {1, false, true}, {1, true, false}};
    for (const auto &c : casos) {
        if (parametros.isEmpty()) {
            parametros.append();
            parametros.fieldByName(QStringLiteral("IdRegistro")).setValue(0);
            parametros.fieldByName(QStringLiteral("CodigoMonedaEuro")).setValue(1);
            parametros.fieldByName(QStringLiteral("CodigoMonedaNacional")).setValue(2);
        } else {
            parametros.edit();
        }
        parametros.fieldByName(QStringLiteral("CodigoMonedaBase")).setValue(c.base);
        parametros.post();   // reloads the codes
        menuOtraMoneda = c.menu;
        EXPECT_EQ(m.VistaEnEuros(), c.enEuros) << c.base << " " << c.menu;
    }
}

TEST_F(ModuloFixture, AmountsFollowTheFieldsTemplateAndTheEuroButton)
{
    ASSERT_TRUE(prepararMotor(false));
    TModuloDatos &m = *modulo_;
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO MONEDA (Codigo, Descripcion, Abreviatura, Decimales, Cambio) "
                                 "VALUES (1, 'Euro', 'EUR', 2, 166.386)")),
              QString());
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO MONEDA (Codigo, Descripcion, Abreviatura, Decimales, Cambio) "
                                 "VALUES (2, 'Peseta', 'PTA', 0, 1)")),
              QString());
    plat::TableDataSet &parametros = m.ParamGenerales->table();
    parametros.append();
    parametros.fieldByName(QStringLiteral("IdRegistro")).setValue(0);
    parametros.fieldByName(QStringLiteral("CodigoMonedaBase")).setValue(2);
    parametros.fieldByName(QStringLiteral("CodigoMonedaEuro")).setValue(1);
    parametros.fieldByName(QStringLiteral("CodigoMonedaNacional")).setValue(2);
    parametros.post();   // reloads the base currency
    EXPECT_EQ(AbreviaturaMonedaBase, QStringLiteral("PTA"));
    EXPECT_EQ(DecimalesMonedaBase, 0);

    plat::TableDataSet capitulos;
    capitulos.setTableName(QStringLiteral("LPROYECT"));
    ASSERT_TRUE(m.AbrirTabla(capitulos));
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Importe) VALUES ('P', 1, 16638.6)")),
              QString());
    capitulos.refresh();
    capitulos.first();
    plat::Field &importe = capitulos.fieldByName(QStringLiteral("Importe"));
    importe.displayFormat = FormatoNumericoInicial;
    const decltype(m.FormatoNumericoDeCampo)::Instalacion formato(m.FormatoNumericoDeCampo, [](const QString &campo) {
        return campo == QLatin1String("Importe") ? QStringLiteral("0.000") : QString();
    });
    QString texto;
    m.MostrarImporteMoneda(importe, texto, true);
    EXPECT_EQ(texto, QStringLiteral("16638,600"));
    const decltype(m.VistaMonedaActual)::Instalacion vista(m.VistaMonedaActual,
                                                          [] { return TModuloDatos::EstadoVistaMoneda{true, true, false}; });
    m.MostrarImporteMoneda(importe, texto, true);
    EXPECT_EQ(texto, m.ImporteEnOtraMoneda(QStringLiteral("16638,6")));
    // Base and national are the peseta: the euro row's rate, with the euro sign.
    EXPECT_TRUE(texto.startsWith(QStringLiteral("€ 100"))) << texto.toStdString();
}

} // namespace

namespace {

TEST_P(ModuloMotorTest, RefreshingShowsOthersChangesAndLeavesAnEditAlone)
{
    TModuloDatos &m = *modulo_;
    plat::TableDataSet tabla;
    tabla.setTableName(kCapitulos);
    ASSERT_TRUE(m.AbrirTabla(tabla));
    insertarCapitulos(*this, m);
    tabla.refresh();
    tabla.last();
    ASSERT_EQ(sql(QStringLiteral("UPDATE LPROYECT SET Descripcion = 'Tabiques' WHERE Linea = 2")), QString());
    m.RefrescarDataSet(tabla);
    EXPECT_EQ(tabla.fieldByName(QStringLiteral("Descripcion")).asString(), QStringLiteral("Tabiques"));
    EXPECT_EQ(m.ClaveRegistro(tabla), QStringLiteral("P1;2;"));

    tabla.edit();
    tabla.fieldByName(QStringLiteral("Descripcion")).setAsString(QStringLiteral("a medias"));
    m.RefrescarDataSet(tabla, QStringLiteral("Apertura/Cierre"));
    EXPECT_EQ(tabla.state(), plat::DataSetState::Edit);
    EXPECT_EQ(tabla.fieldByName(QStringLiteral("Descripcion")).asString(), QStringLiteral("a medias"));
    tabla.cancel();
}

} // namespace

namespace {

TEST_F(ModuloFixture, AModuleFreedByItsOwnerTakesItsServicesWithIt)
{
    ASSERT_TRUE(prepararMotor(false));
    ASSERT_TRUE(bool(fGENEINIC->NombresTablas.valor().nombreTablaTemporal));
    delete modulo_;   // as a Qt parent frees it, without the destroy event
    modulo_ = nullptr;
    EXPECT_FALSE(bool(fGENEINIC->NombresTablas.valor().nombreTablaTemporal));
    EXPECT_FALSE(bool(fGENEINIC->NombresTablas.valor().nombreIndice));
    EXPECT_EQ(ModuloDatos, nullptr);
    EXPECT_FALSE(ModuloDatosCreado);
}

} // namespace
