// The form framework on a real data module and sample forms, on SQLite and PostgreSQL.
#include "GENEW/data/servicios/CacheTraducciones.h"
#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/formularios/DibujarElementoTraducido.h"
#include "tests/data/FormularioMuestra.h"
#include "platform/ui/Grids.h"
#include "tests/data/ModuloFixture.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <utility>

namespace {

class FormularioTest : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        CacheTraducciones::instancia().vaciar();
        ModuloFixture::SetUp();
        QFile definiciones(dir_.file(QStringLiteral("DATABASE.TXT")));
        ASSERT_TRUE(definiciones.open(QIODevice::Append));
        definiciones.write(("\r\n" + DefinicionPruebaF).toUtf8());
        definiciones.close();
        if (!prepararMotor(GetParam()))
            GTEST_SKIP() << "no PostgreSQL test server";
    }

    void TearDown() override
    {
        for (auto *f : formularios_)
            delete f;
        formularios_.clear();
        if (form_)   // none when the engine was skipped
            form_->PuntosEntrada = PuntosEntradaFormulario{};
        ListadoCancelado = false;
        CacheTraducciones::instancia().vaciar();
        ModuloMotorTest::TearDown();
    }

    FormularioMuestra &abrir(const QStringList &tablas = {QStringLiteral("PRUEBAF")})
    {
        auto *f = new FormularioMuestra(tablas);
        formularios_ << f;
        f->afterConstruction();
        return *f;
    }

    void mostrar(plat::Form &f)
    {
        f.show();
        QApplication::setActiveWindow(&f);
        QApplication::processEvents();
    }

    void insertar(plat::DataSet &ds, int codigo, const QString &descripcion, double precio = 0)
    {
        ds.append();
        ds.fieldByName("Codigo").setValue(codigo);
        ds.fieldByName("Descripcion").setValue(descripcion);
        ds.fieldByName("PrecioUnidad").setValue(precio);
        ds.post();
    }

    int contar(const QString &sql)
    {
        return modulo_->EjecutarSQL(sql, "Database").toInt();
    }

    QList<FormularioMuestra *> formularios_;
};

// ---- opening -------------------------------------------------------------------------------

TEST_P(FormularioTest, AMissingTableIsMadeAndOpenedWithTheHooks)
{
    FormularioMuestra &f = abrir();
    EXPECT_TRUE(f.Abiertas);
    ASSERT_TRUE(f.Table1->table().active());
    EXPECT_FALSE(f.Table1->readOnly());
    EXPECT_TRUE(bool(f.Table1->table().AfterPost));
    EXPECT_TRUE(bool(f.Table1->table().BeforeDelete));
    EXPECT_TRUE(f.OnCloseQuery.assigned());
    EXPECT_TRUE(f.OnMouseMove.assigned());
    // Formats and handlers settled once the fields exist.
    plat::Field &hora = f.Table1->table().fieldByName("FechaHoraInicio");
    EXPECT_EQ(hora.displayFormat, "HH:MM:SS");
    EXPECT_TRUE(bool(hora.OnSetText));
    EXPECT_TRUE(bool(f.Table1->table().fieldByName("FechaAlta").OnGetText));
    EXPECT_FALSE(bool(f.Table1->table().fieldByName("FechaAlta").OnSetText));
    EXPECT_EQ(f.Table1->table().fieldByName("Cambio").alignment, Qt::AlignLeft);
}

TEST_P(FormularioTest, AFailedCreationClosesTheFormAndTheNextTableStillOpens)
{
    auto *f = new FormularioMuestra({"NODEFINIDA", "PRUEBAF"});
    formularios_ << f;
    int cierres = 0;
    f->OnClose = [&cierres](QObject *, plat::CloseAction &) { ++cierres; };
    f->afterConstruction();
    EXPECT_FALSE(f->Abiertas);
    EXPECT_FALSE(f->Table1->table().active());
    EXPECT_TRUE(f->Tablas[1]->table().active());
    EXPECT_EQ(cierres, 1);
}

TEST_P(FormularioTest, ATableMadeByAnotherProgramSinceTheFailedOpeningOpens)
{
    // Two users opening the window for the first time at once: the other program makes the
    // table after this one found none and before its creation looks; the creation then answers
    // false.
    auto *f = new FormularioMuestra;
    formularios_ << f;
    bool primera = true;
    f->Table1->table().BeforeOpen = [&primera](plat::DataSet &) {
        if (!std::exchange(primera, false))
            return;
        plat::TableDataSet otra;
        otra.setTableName(QStringLiteral("PRUEBAF"));
        otra.setDatabaseName(fGENEINIC->Database().databaseName());
        otra.setConnection(&fGENEINIC->Database());
        DataSetAbribleDe<plat::TableDataSet> abrible(otra, QStringLiteral("fOTROPROGRAMA"));
        EXPECT_TRUE(fGENEINIC->CrearTablaDataSet(abrible));
        throw gp::DatabaseError(QStringLiteral("Table does not exist.\nPRUEBAF"), gp::DatabaseErrorKind::MissingTable);
    };
    int cierres = 0;
    f->OnClose = [&cierres](QObject *, plat::CloseAction &) { ++cierres; };
    f->afterConstruction();
    EXPECT_FALSE(primera);
    EXPECT_TRUE(f->Abiertas);
    EXPECT_TRUE(f->Table1->table().active());
    EXPECT_EQ(cierres, 0);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
}

TEST_P(FormularioTest, AReadOnlyUserGetsEveryTableReadOnly)
{
    modulo_->GrabarConfiguracionUsuario("ADMIN", "ProgramasSoloLectura", "Maestro de Pruebas");
    FormularioMuestra &f = abrir({"PRUEBAF", "PRUEBAF"});
    EXPECT_TRUE(f.Tablas[0]->readOnly());
    EXPECT_TRUE(f.Tablas[1]->readOnly());
}

TEST_P(FormularioTest, HooksLandOnlyWhereTheFormSetNone)
{
    auto *f = new FormularioMuestra({"PRUEBAF", "PRUEBAF"});
    formularios_ << f;
    int propios = 0;
    f->Tablas[1]->table().AfterPost = [&propios](plat::DataSet &) { ++propios; };
    f->Tablas[1]->table().AfterDelete = [&propios](plat::DataSet &) { ++propios; };
    bool cerrarPropio = false;
    f->OnCloseQuery = [&cerrarPropio](QObject *, bool &) { cerrarPropio = true; };
    f->afterConstruction();
    form_->UltimaActividad = FechaCero();
    insertar(f->Tablas[1]->table(), 1, "uno");
    EXPECT_EQ(propios, 1);
    EXPECT_EQ(form_->UltimaActividad, FechaCero());   // the form's own AfterPost ran, not the hook
    f->Tablas[1]->table().remove();
    EXPECT_EQ(propios, 2);   // the form's AfterDelete still runs under the transaction's
    insertar(f->Table1->table(), 2, "dos");
    EXPECT_NE(form_->UltimaActividad, FechaCero());
    f->Close();
    EXPECT_TRUE(cerrarPropio);
}

// ---- hooks ---------------------------------------------------------------------------------

TEST_P(FormularioTest, APostChecksDocumentResponsibilityOnlyForCompanyTables)
{
    form_->Configuracion.parametros.ResponsabilidadDocumentalActivada = true;
    QStringList dialogos;
    form_->PuntosEntrada.MostrarResponsabilidad = [&dialogos](plat::DataSet &ds) {
        dialogos << ds.fieldByName(ds.fieldNames().first()).asString();
    };
    FormularioMuestra &f = abrir();
    plat::TableDataSet &t = f.Table1->table();
    // Key text "7;" is stored as "7|" or "7": either entry means the record has one.
    ASSERT_EQ(modulo_->EjecutarSQL("INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('PRUEBAF', '7|')", "Database"),
              QString());
    ASSERT_EQ(modulo_->EjecutarSQL("INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('PRUEBAF', '8')", "Database"),
              QString());
    insertar(t, 7, "con entrada");
    insertar(t, 8, "con entrada corta");
    insertar(t, 9, "sin entrada");
    EXPECT_EQ(dialogos, QStringList{"9"});

    FormularioMuestra &g = abrir({"EMPRESA"});
    ASSERT_TRUE(g.Table1->table().active());
    g.Table1->table().first();
    g.Table1->table().edit();
    g.Table1->table().post();
    EXPECT_EQ(dialogos, QStringList{"9"});   // a general table never asks
}

// The record and its side rows stay together whichever step of the deletion fails.
TEST_P(FormularioTest, AFailedCleanupOrDeletionKeepsTheRecordAndItsSideRows)
{
    FormularioMuestra &f = abrir();
    plat::TableDataSet &t = f.Table1->table();
    insertar(t, 5, "cinco");
    ASSERT_EQ(modulo_->EjecutarSQL("INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('PRUEBAF', '5')", "Database"),
              QString());
    const QString ladoSQL = "SELECT COUNT(*) FROM RESPDOC WHERE NombreTabla = 'PRUEBAF'";
    const QString registroSQL = "SELECT COUNT(*) FROM PRUEBAF WHERE Codigo = 5";
    bool fallarLimpieza = true;
    form_->PuntosEntrada.BorrarRegistrosAsociados = [&](plat::DataSet &) {
        modulo_->EjecutarSQL("DELETE FROM RESPDOC WHERE NombreTabla = 'PRUEBAF'", "Database");
        return !fallarLimpieza;
    };
    EXPECT_THROW(t.remove(), gp::Abort);   // the cleanup fails: the deletion is abandoned silently
    EXPECT_EQ(contar(ladoSQL), 1);
    EXPECT_EQ(contar(registroSQL), 1);
    EXPECT_EQ(t.state(), plat::DataSetState::Browse);

    // The cleanup succeeds, the record's own deletion fails.
    fallarLimpieza = false;
    if (GetParam()) {
        ASSERT_EQ(modulo_->EjecutarSQL("CREATE FUNCTION gp_no_borrar() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                                       "'protegido'; END $$ LANGUAGE plpgsql",
                                       "Database"),
                  QString());
        ASSERT_EQ(modulo_->EjecutarSQL("CREATE TRIGGER gp_protege BEFORE DELETE ON PRUEBAF FOR EACH ROW EXECUTE "
                                       "FUNCTION gp_no_borrar()",
                                       "Database"),
                  QString());
    } else {
        ASSERT_EQ(modulo_->EjecutarSQL("CREATE TRIGGER gp_protege BEFORE DELETE ON PRUEBAF BEGIN SELECT "
                                       "RAISE(ABORT, 'protegido'); END",
                                       "Database"),
                  QString());
    }
    EXPECT_ANY_THROW(t.remove());
    EXPECT_EQ(contar(ladoSQL), 1);
    EXPECT_EQ(contar(registroSQL), 1);
    EXPECT_FALSE(form_->Database().inTransaction());
    // With nothing in the way, record and side rows go.
    modulo_->EjecutarSQL("DROP TRIGGER gp_protege" + QString(GetParam() ? " ON PRUEBAF" : ""), "Database");
    t.refresh();
    t.first();
    t.remove();
    EXPECT_EQ(contar(ladoSQL), 0);
    EXPECT_EQ(contar(registroSQL), 0);
}

TEST_P(FormularioTest, UnconfirmedEditsOnClose)
{
    FormularioMuestra &f = abrir({"PRUEBAF", "PRUEBAF"});
    mostrar(f);
    plat::TableDataSet &a = f.Tablas[0]->table();
    plat::TableDataSet &b = f.Tablas[1]->table();
    a.append();
    a.fieldByName("Codigo").setValue(1);
    b.append();   // nothing typed: dropped without asking
    mensajes_.programarRespuestas({"NO"});
    f.Close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(contar("SELECT COUNT(*) FROM PRUEBAF"), 1);
    EXPECT_EQ(b.state(), plat::DataSetState::Browse);
    EXPECT_TRUE(mensajes_.textos().last().startsWith(
        "Hay registros de Maestro de Pruebas (Datos, )  cuya grabación no ha sido confirmada."));

    // A post that fails keeps the form open with the record in edit.
    mostrar(f);
    a.append();
    a.fieldByName("Codigo").setValue(1);   // the key exists
    mensajes_.programarRespuestas({"NO"});
    f.Close();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(a.state(), plat::DataSetState::Insert);
    EXPECT_TRUE(mensajes_.textos().last().contains("Ya existe el registro")) << mensajes_.textos().last().toStdString();

    mensajes_.programarRespuestas({"SI"});
    f.Close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(a.state(), plat::DataSetState::Browse);

    // What a new row's cell editor holds is typed too; a label that names the grid names it.
    f.Etiqueta->setBuddy(f.DBGrid1);
    mostrar(f);
    f.DBGrid1->setFocus();
    a.append();
    f.DBGrid1->setCurrentIndex(f.DBGrid1->model()->index(f.DBGrid1->currentIndex().row(), 1));
    for (const char *tecla : {"O", "t", "r", "a"})
        QTest::keyClicks(QApplication::focusWidget(), tecla);
    mensajes_.programarRespuestas({"SI"});
    f.Close();
    EXPECT_TRUE(mensajes_.textos().last().startsWith("Hay registros de Maestro de Pruebas (Cancelar, )"))
        << mensajes_.textos().last().toStdString();
}

TEST_P(FormularioTest, ElectronicDocumentsFollowTheRecordWhileTheirWindowIsOpen)
{
    auto *f = new FormularioMuestra;
    formularios_ << f;
    f->make<plat::MenuItem>("DocumentacionElectronica1", f);
    f->afterConstruction();
    plat::TableDataSet &t = f->Table1->table();
    insertar(t, 1, "uno");
    insertar(t, 2, "dos");
    t.first();
    EXPECT_EQ(f->Documentaciones, 0);   // no documents window
    plat::Form documentos;
    documentos.setObjectName("fGENEDOCE");
    t.next();
    EXPECT_EQ(f->Documentaciones, 1);
}

TEST_P(FormularioTest, CurrencyButtonAndAmountFields)
{
    auto *f = new FormularioMuestra;
    formularios_ << f;
    auto *euro = f->make<plat::SpeedButton>("pbEuro", f);
    f->afterConstruction();
    EXPECT_FALSE(euro->icon().isNull());
    plat::Field &precio = f->Table1->table().fieldByName("PrecioUnidad");
    precio.tag = 1000;
    form_->AsignarBotonEuro(f, "Asignar");
    EXPECT_TRUE(bool(precio.OnGetText));
    EXPECT_FALSE(bool(f->Table1->table().fieldByName("Cambio").OnGetText));
    form_->AsignarBotonEuro(f, "Desasignar");
    EXPECT_FALSE(bool(precio.OnGetText));
    EXPECT_EQ(modulo_->FormatoNumericoDeCampo.valor()("ImporteTotal"), FormatosNumericos[3].isEmpty() ? FormatoNumericoEstandar
                                                                                             : FormatosNumericos[3]);
}

// ---- hidden items --------------------------------------------------------------------------

TEST_P(FormularioTest, HiddenFieldsAndControlsByKey)
{
    form_->CamposNoVisibles = "PrecioUnidad";
    form_->Configuracion.parametros.ModoControlesNoVisiblesActivado = true;
    modulo_->GrabarConfiguracionUsuario("ADMIN", "ControlesNoVisibles", "fPRUEBA.Hoja2,fPRUEBA.EditCodigo,"
                                                                       "fPRUEBA.DBGrid1.Table1Descripcion");
    FormularioMuestra &f = abrir();
    EXPECT_TRUE(f.EditPrecio->isHidden());
    EXPECT_FALSE(f.EditDescripcion->isHidden());
    EXPECT_FALSE(f.Table1->table().fieldByName("PrecioUnidad").visible);
    EXPECT_FALSE(f.Table1->table().fieldByName("Descripcion").visible);
    EXPECT_TRUE(f.Table1->table().fieldByName("Codigo").visible);
    QStringList columnas;
    for (int i = 0; i < f.DBGrid1->columnCount(); ++i)
        columnas << f.DBGrid1->column(i)->FieldName;
    EXPECT_FALSE(columnas.contains("PrecioUnidad"));
    EXPECT_FALSE(columnas.contains("Descripcion"));
    EXPECT_FALSE(f.Hoja2->tabVisible());
    EXPECT_TRUE(f.Hoja1->tabVisible());
    EXPECT_TRUE(f.EditCodigo->isHidden());
    EXPECT_FALSE(f.EditOtro->isHidden());
}

TEST_P(FormularioTest, ConfigurationModeCollectsKeysWithF8AndHandsThemToUsers)
{
    form_->Configuracion.parametros.ModoAdministradorActivado = true;
    modulo_->GrabarConfiguracionUsuario("ADMIN", "ControlesNoVisibles", "fOTRO.Boton");
    FormularioMuestra &f = abrir();
    // The main window's caption shows the hovered control's key.
    plat::Form *principal = plat::application().mainForm();
    ASSERT_NE(principal, nullptr);
    const QString tituloPrevio = principal->caption();
    EXPECT_EQ(f.EditCodigo->hint(), "fPRUEBA.EditCodigo");
    EXPECT_EQ(form_->ControlesNoVisiblesRecogidos, QStringList{"fOTRO.Boton"});
    mostrar(f);
    int tecla = plat::VK_F8;
    principal->setCaption("fPRUEBA.EditCodigo");
    form_->ProcesarTeclaFormulario(&f, tecla, {});
    insertar(f.Table1->table(), 1, "uno");
    f.DBGrid1->setSelectedField(&f.Table1->table().fieldByName("Descripcion"));
    principal->setCaption("fPRUEBA.DBGrid1 (rejilla)");
    mensajes_.programarRespuestas({"NO"});
    form_->ProcesarTeclaFormulario(&f, tecla, {});
    EXPECT_EQ(form_->ControlesNoVisiblesRecogidos,
              (QStringList{"fOTRO.Boton", "fPRUEBA.DBGrid1.Table1Descripcion", "fPRUEBA.EditCodigo"}));

    ASSERT_EQ(modulo_->EjecutarSQL("INSERT INTO USUARIO (Codigo, Nombre, Categoria) VALUES ('USU2', 'Dos', 'Configurador')",
                                   "DatabaseGeneral"),
              QString());
    modulo_->Usuario->table().refresh();
    modulo_->GrabarConfiguracionUsuario("USU2", "ControlesNoVisibles", "fX.Y");
    ASSERT_EQ(modulo_->LeerConfiguracionUsuario("USU2", "ControlesNoVisibles"), "fX.Y");
    QStringList detalle;
    form_->PuntosEntrada.MostrarDetalle = [&detalle](const QString &titulo, const QString &texto) { detalle << titulo << texto; };
    mensajes_.programarRespuestas({"SI", "ADMIN,USU2,,USU3"});
    plat::CloseAction accion = plat::caFree;
    form_->CerrarFormularioComun(principal, accion);
    EXPECT_EQ(detalle, (QStringList{"Controles No Visibles", "fOTRO.Boton\r\nfPRUEBA.DBGrid1.Table1Descripcion\r\nfPRUEBA.EditCodigo"}));
    const QString lista = "fOTRO.Boton,fPRUEBA.DBGrid1.Table1Descripcion,fPRUEBA.EditCodigo";
    EXPECT_EQ(modulo_->LeerConfiguracionUsuario("ADMIN", "ControlesNoVisibles"), "fOTRO.Boton," + lista);
    EXPECT_EQ(modulo_->LeerConfiguracionUsuario("USU2", "ControlesNoVisibles"), "fX.Y," + lista);
    EXPECT_EQ(modulo_->LeerConfiguracionUsuario("USU3", "ControlesNoVisibles"), "");
    principal->setCaption(tituloPrevio);
}

// ---- translation ---------------------------------------------------------------------------

TEST_P(FormularioTest, EveryTextOfTheFormComesTranslated)
{
    form_->CodigoIdioma = "Ingles";
    for (const auto &[clave, texto] : QList<std::pair<QString, QString>>{{"Maestro de Pruebas", "Test master"},
                                                                         {"Aceptar", "Accept"},
                                                                         {"Cancelar", "Cancel"},
                                                                         {"Datos", "Data"},
                                                                         {"Descripcion", "Description"},
                                                                         {"Titulo", "Title"},
                                                                         {"Nombre", "Name"}})
        ASSERT_EQ(modulo_->EjecutarSQL(QString("INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Ingles', %1, %2)")
                                           .arg(Entrecomillar(clave), Entrecomillar(texto)),
                                       "DatabaseGeneral"),
                  QString());
    auto *f = new FormularioMuestra;
    formularios_ << f;
    auto *cuadricula = f->make<plat::StringGrid>("Cuadricula", f->Hoja2);
    cuadricula->setColCount(2);
    cuadricula->setRowCount(2);
    cuadricula->setCell(0, 0, "Titulo");
    cuadricula->setCell(0, 1, "Titulo");
    auto *vista = f->make<plat::ListView>("Vista", f->Hoja2);
    vista->addColumn("Nombre", 80);
    f->afterConstruction();
    EXPECT_EQ(f->caption(), "Test master");
    EXPECT_EQ(f->Hoja1->caption(), "Data");
    EXPECT_EQ(f->Etiqueta->caption(), "Cancel");
    EXPECT_EQ(f->Etiqueta->hint(), "Accept");
    EXPECT_EQ(cuadricula->cell(0, 0), "Title");
    EXPECT_EQ(cuadricula->cell(0, 1), "Titulo");   // only the fixed row
    EXPECT_EQ(vista->columnCaption(0), "Name");
    EXPECT_EQ(f->Table1->table().fieldByName("Descripcion").label(), "Description");
    // The combo keeps its items and shows them translated.
    EXPECT_EQ(f->Tipo->items(), (QStringList{"Aceptar", "Cancelar"}));
    QStyleOptionViewItem opcion;
    auto *delegado = dynamic_cast<DibujarElementoTraducido *>(f->Tipo->itemDelegate());
    ASSERT_NE(delegado, nullptr);
    delegado->initStyleOption(&opcion, f->Tipo->model()->index(1, 0));
    EXPECT_EQ(opcion.text, "Cancel");
    // The "evo+" look has turned the simple bar into owner-drawn panels.
    form_->ConfigurarBarraEstado(f->Barra, "Aceptar|Cancelar||Aceptar");
    ASSERT_EQ(f->Barra->panels().size(), 2);
    EXPECT_EQ(f->Barra->panels()[0].Text, "Accept");
    EXPECT_EQ(f->Barra->panels()[1].Text, "Cancel");
    EXPECT_TRUE(f->Barra->panels()[1].OwnerDraw);

    // The message window, plugged into the framework, shows its texts translated.
    TfGENEMENS mensajes;
    form_->conectarVentanaMensajes(mensajes);
    mensajes.setCaption("Aceptar");
    mensajes.TraducirFormulario(&mensajes);
    EXPECT_EQ(mensajes.caption(), "Accept");
}

TEST_P(FormularioTest, WithoutALanguageNothingChangesAndNoDelegateIsSet)
{
    FormularioMuestra &f = abrir();
    EXPECT_EQ(f.caption(), "Maestro de Pruebas");
    EXPECT_EQ(dynamic_cast<DibujarElementoTraducido *>(f.Tipo->itemDelegate()), nullptr);
    EXPECT_EQ(f.Etiqueta->caption(), "Cancelar");
}

// ---- keys on real widgets ------------------------------------------------------------------

TEST_P(FormularioTest, KeysOnTheGridAndTheEdits)
{
    QStringList codigos;
    form_->PuntosEntrada.ObtenerTextoPredefinido = [&codigos](const QString &codigo) {
        codigos << codigo;
        return QStringLiteral("Texto de ") + codigo;
    };
    QList<double> calculadora;
    form_->PuntosEntrada.Calculadora = [&calculadora](const QString &texto, double valor) {
        calculadora << valor;
        EXPECT_EQ(texto, "2,5");
        return 7.25;
    };
    FormularioMuestra &f = abrir();
    insertar(f.Table1->table(), 1, "uno", 2.5);
    mostrar(f);

    f.DBGrid1->setFocus();
    f.DBGrid1->setSelectedField(&f.Table1->table().fieldByName("Descripcion"));
    QTest::keyClicks(f.DBGrid1, "abc");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(codigos, QStringList{"ABC"});
    EXPECT_EQ(f.Table1->table().fieldByName("Descripcion").asString(), "Texto de ABC");
    f.Table1->table().cancel();

    f.DBGrid1->setFocus();
    f.DBGrid1->setSelectedField(&f.Table1->table().fieldByName("PrecioUnidad"));
    QTest::keyClick(f.DBGrid1, Qt::Key_F2);
    EXPECT_EQ(calculadora, QList<double>{2.5});
    EXPECT_DOUBLE_EQ(f.Table1->table().fieldByName("PrecioUnidad").asFloat(), 7.25);
    f.Table1->table().cancel();

    f.DBGrid1->setFocus();
    QTest::keyClick(f.DBGrid1, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(f.PulsacionesBoton, 1);

    // Enter from an edit moves on and types nothing.
    f.EditCodigo->setFocus();
    QTest::keyClicks(f.EditCodigo, "12");
    QTest::keyClick(f.EditCodigo, Qt::Key_Return);
    EXPECT_EQ(f.EditCodigo->text(), "12");
    EXPECT_NE(QApplication::focusWidget(), f.EditCodigo);
    // Enter on a focused button presses it, where it is.
    auto *boton = f.make<plat::Button>(QStringLiteral("pbPrueba"), f.Hoja1);
    boton->setGeometry(4, 240, 80, 24);
    boton->show();
    int pulsado = 0;
    boton->OnClick = [&pulsado](QObject *) { ++pulsado; };
    boton->setFocus();
    QTest::keyClick(boton, Qt::Key_Return);
    EXPECT_EQ(pulsado, 1);
    EXPECT_EQ(QApplication::focusWidget(), boton);
    // Enter in a memo is a line break.
    f.Memo1->setFocus();
    QTest::keyClicks(f.Memo1, "a");
    QTest::keyClick(f.Memo1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.Memo1);
    // Esc raises the listing flag; Ctrl+Shift+Z matches no row.
    QStringList visores;
    form_->PuntosEntrada.MostrarCamposRegistro = [&visores](plat::DataSet &ds) { visores << ds.name(); };
    QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(visores.isEmpty());
    QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(visores, QStringList{"Table1"});   // no grid or data-aware edit: DataSource1
    QTest::keyClick(f.Memo1, Qt::Key_Escape);
    EXPECT_TRUE(ListadoCancelado);
}

// The code Ctrl+T looks up in a grid cell is what was typed last, as a keyboard sends it:
// Shift and Caps Lock only choose the case, Ctrl and Alt end a code.
TEST_P(FormularioTest, TheTypedCodeSurvivesShiftAndCapsLockAndEndsAtCtrlOrAlt)
{
    QStringList codigos;
    form_->PuntosEntrada.ObtenerTextoPredefinido = [&codigos](const QString &codigo) {
        codigos << codigo;
        return QString();
    };
    FormularioMuestra &f = abrir();
    insertar(f.Table1->table(), 1, "uno");
    mostrar(f);
    struct Tecla
    {
        Qt::Key tecla;
        Qt::KeyboardModifiers mods;
        const char *texto;
    };
    const Tecla mayus{Qt::Key_CapsLock, Qt::NoModifier, ""};
    struct Caso
    {
        const char *nombre;
        QList<Tecla> teclas;
        const char *codigo;
    };
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier, ninguna = Qt::NoModifier;
    const QList<Caso> casos = {
        {"with Shift", {{Qt::Key_S, shift, "S"}, {Qt::Key_A, shift, "A"}, {Qt::Key_L, shift, "L"}}, "SAL"},
        {"Shift for one letter", {{Qt::Key_S, ninguna, "s"}, {Qt::Key_A, shift, "A"}, {Qt::Key_L, ninguna, "l"}}, "SAL"},
        {"Caps Lock",
         {mayus, {Qt::Key_S, ninguna, "S"}, {Qt::Key_A, ninguna, "A"}, mayus, {Qt::Key_L, ninguna, "l"}},
         "SAL"},
        {"Ctrl ends a code",
         {{Qt::Key_X, ninguna, "x"}, {Qt::Key_Y, Qt::ControlModifier, ""}, {Qt::Key_S, ninguna, "s"}}, "S"},
        {"Alt ends a code", {{Qt::Key_X, ninguna, "x"}, {Qt::Key_Y, Qt::AltModifier, ""}, {Qt::Key_S, shift, "S"}}, "S"},
        {"Ctrl with Shift ends a code",
         {{Qt::Key_X, ninguna, "x"}, {Qt::Key_Y, Qt::ControlModifier | shift, ""}, {Qt::Key_S, ninguna, "s"}}, "S"},
        {"digits", {{Qt::Key_1, ninguna, "1"}, {Qt::Key_2, ninguna, "2"}}, "12"},
    };
    for (const Caso &c : casos) {
        codigos.clear();
        form_->TeclasPulsadas.clear();
        f.Table1->table().cancel();
        f.DBGrid1->setFocus();
        f.DBGrid1->setSelectedField(&f.Table1->table().fieldByName("Descripcion"));
        // Sent as a keyboard does: to whatever has the focus (the cell editor once a letter
        // opened it), a modifier key pressed before the key it modifies.
        for (const Tecla &t : c.teclas) {
            QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), t.tecla, QString::fromLatin1(t.texto), t.mods);
            QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), t.tecla, QString::fromLatin1(t.texto), t.mods);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
        EXPECT_EQ(codigos, QStringList{QString::fromLatin1(c.codigo)}) << c.nombre;
    }
    f.Table1->table().cancel();
}

// Each row of the key table on the control it needs; "-" marks a key that must do nothing.
TEST_P(FormularioTest, TheKeyTableRowByRow)
{
    FormularioMuestra &f = abrir();
    auto *agregar = f.make<plat::MenuItem>("Agregar", &f);
    agregar->setCaption("&Agregar");
    auto *busqueda = f.make<plat::Button>("pbBusquedaEspecial", &f);
    auto *aceptar = f.make<plat::Button>("pbAceptar", &f);
    auto *formato = f.make<plat::Edit>("EditFormatoImpreso", f.Hoja1);
    formato->setText("FAC1");
    insertar(f.Table1->table(), 1, "uno");
    insertar(f.Table1->table(), 2, "dos");
    mostrar(f);
    QStringList hecho;
    PuntosEntradaFormulario &e = form_->PuntosEntrada;
    e.CopiarCampoRegistro = [&](plat::DataSet &, const QString &clave, const QString &campo) {
        hecho << "copiar " + clave + " " + campo;
    };
    e.RegistroATexto = [&](plat::DataSet &ds) {
        hecho << "copiado";
        return ds.fieldByName("Descripcion").asString() + "|";
    };
    e.TextoARegistro = [&](plat::DataSet &, const QString &t, const QString &o) { hecho << "pegar " + t + " " + o; };
    e.SeleccionarFuente = [&](QFont &fuente) {
        hecho << "fuente";
        fuente.setPointSize(14);
        return true;
    };
    e.MostrarCamposUsuario = [&](plat::DataSet &ds) { hecho << "usuario " + ds.name(); };
    e.MostrarResponsabilidad = [&](plat::DataSet &ds) { hecho << "responsabilidad " + ds.name(); };
    e.AjustarRejilla = [&](plat::DBGrid &g) { hecho << "ajustar " + g.objectName(); };
    e.LimpiarValorControl = [&](QWidget *w) { hecho << "limpiar " + (w ? w->objectName() : QString()); };
    e.LanzarMensajeria = [&](const QString &) { hecho << "mensajeria"; };
    e.PuedeAbrirPrograma = [&](const QString &p) { return p == "Configuración de Impresos"; };
    e.EditarImpreso = [&](const QString &codigo) { hecho << "impreso " + codigo; };
    e.MostrarHistorialAccesos = [&](plat::DataSet &ds) { hecho << "historial " + ds.name(); };
    QObject::connect(busqueda, &QPushButton::clicked, [&] { hecho << "busqueda"; });

    const struct
    {
        QWidget *foco;
        Qt::Key tecla;
        Qt::KeyboardModifiers mods;
        const char *esperado;
    } casos[] = {
        {f.EditCodigo, Qt::Key_F5, Qt::ControlModifier, "-"},   // checks "Agregar" (below)
        {f.DBGrid1, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier, "copiado"},
        {f.DBGrid1, Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, "pegar dos| SinIndices"},
        {f.EditCodigo, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier, "-"},
        {f.DBGrid1, Qt::Key_L, Qt::ControlModifier, "fuente"},
        {f.EditCodigo, Qt::Key_L, Qt::ControlModifier, "-"},
        {f.EditCodigo, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, "usuario Table1"},
        {f.EditCodigo, Qt::Key_R, Qt::ControlModifier, "responsabilidad Table1"},
        {f.DBGrid1, Qt::Key_G, Qt::ControlModifier, "ajustar DBGrid1"},
        {f.EditCodigo, Qt::Key_G, Qt::ControlModifier, "-"},
        {f.EditCodigo, Qt::Key_B, Qt::ControlModifier, "busqueda"},
        {f.EditCodigo, Qt::Key_I, Qt::ControlModifier, "limpiar EditCodigo"},
        {f.EditCodigo, Qt::Key_M, Qt::ControlModifier, "mensajeria"},
        {formato, Qt::Key_P, Qt::ControlModifier, "impreso FAC1"},
        {f.EditCodigo, Qt::Key_P, Qt::ControlModifier, "-"},
        {f.EditCodigo, Qt::Key_A, Qt::ControlModifier, "historial Table1"},
        {f.EditCodigo, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier, "-"},
    };
    for (const auto &c : casos) {
        hecho.clear();
        c.foco->setFocus();
        QTest::keyClick(QApplication::focusWidget(), c.tecla, c.mods);
        const QStringList esperado = QString(c.esperado) == "-" ? QStringList() : QStringList{c.esperado};
        EXPECT_EQ(hecho, esperado) << c.esperado << " on " << c.foco->objectName().toStdString();
    }
    EXPECT_TRUE(agregar->checked());
    EXPECT_EQ(agregar->caption(), "&Agregar con Duplicación");
    EXPECT_EQ(f.DBGrid1->font().pointSize(), 14);
    EXPECT_EQ(f.DBGrid1->titleFontColor(), plat::clNavy);

    // Shift+F5 only while the record is being edited; Ctrl+S and Ctrl+H on the grid itself.
    f.DBGrid1->setFocus();
    f.DBGrid1->setSelectedField(&f.Table1->table().fieldByName("Descripcion"));
    hecho.clear();
    QTest::keyClick(f.DBGrid1, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_TRUE(hecho.isEmpty());
    f.Table1->table().edit();
    QTest::keyClick(f.DBGrid1, Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_EQ(hecho.size(), 1);
    EXPECT_TRUE(hecho[0].endsWith(" Descripcion")) << hecho[0].toStdString();
    f.Table1->table().cancel();
    f.DBGrid1->setFocus();
    QTest::keyClick(f.DBGrid1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(f.DBGrid1->multiSelect());
    f.DBGrid1->addColumn("Codigo");
    ASSERT_TRUE(f.DBGrid1->customColumns());
    f.DBGrid1->setFocus();
    QTest::keyClick(f.DBGrid1, Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(f.DBGrid1->customColumns());
    EXPECT_EQ(f.DBGrid1->columnCount(), f.Table1->table().fieldCount());
    f.EditCodigo->setFocus();
    QTest::keyClick(f.EditCodigo, Qt::Key_F3);
    EXPECT_TRUE(aceptar->hasFocus());
}

TEST_P(FormularioTest, TheDataModuleGivesTheKeysItsRecordServicesUntilItGoes)
{
    auto &f = abrir();
    insertar(f.Table1->table(), 1, "uno", 2.5);
    insertar(f.Table1->table(), 2, "dos");
    mostrar(f);

    // Ctrl+Alt+C on "uno", Ctrl+Alt+V on "dos": the values but the key's are pasted.
    f.Table1->table().first();
    f.DBGrid1->setFocus();
    QTest::keyClick(f.DBGrid1, Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(form_->RegistroCopiado.startsWith("1|uno|")) << form_->RegistroCopiado.toStdString();
    f.Table1->table().next();
    QTest::keyClick(f.DBGrid1, Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
    f.Table1->table().post();
    EXPECT_EQ(f.Table1->table().fieldByName("Codigo").asInteger(), 2);
    EXPECT_EQ(f.Table1->table().fieldByName("Descripcion").asString(), "uno");
    EXPECT_EQ(f.Table1->table().fieldByName("PrecioUnidad").asFloat(), 2.5);

    EXPECT_TRUE(form_->PuntosEntrada.BuscarRegistro);
    EXPECT_TRUE(modulo_->PrepararFormularioRejilla.valor());
    liberarModulo();
    EXPECT_FALSE(form_->PuntosEntrada.RegistroATexto);
    EXPECT_FALSE(form_->PuntosEntrada.BuscarRegistro);
}

TEST_P(FormularioTest, TheSearchTableOfAnEditIsAskedForAndKept)
{
    QStringList hecho;
    PuntosEntradaFormulario &e = form_->PuntosEntrada;
    QString asociada;
    e.LeerValorBusqueda = [&](const QString &) { return asociada; };
    e.ListarTablasDefinidas = [] { return QStringLiteral("PRUEBAF\r\nPROYECT"); };
    e.SeleccionarDeLista = [&](const QString &, const QString &opciones) {
        hecho << opciones;
        return QStringLiteral("PRUEBAF");
    };
    e.GrabarValorBusqueda = [&](const QString &control, const QString &tabla) {
        hecho << control + "=" + tabla;
        asociada = tabla;
    };
    e.BuscarRegistro = [&](const QString &tabla, const QString &) {
        hecho << "buscar " + tabla;
        return QStringLiteral("7;X;");
    };
    FormularioMuestra &f = abrir();
    ASSERT_TRUE(f.EditCodigo->OnDblClick.assigned());
    mensajes_.programarRespuestas({"SI", "SI"});
    f.EditCodigo->OnDblClick(f.EditCodigo);
    EXPECT_EQ(hecho, (QStringList{"Titulo=Selección de Tabla\r\nFormato=0,0,300,0\r\nOpciones=Ordenada",
                                  "EditCodigo=PRUEBAF", "buscar PRUEBAF"}));
    EXPECT_EQ(f.EditCodigo->text(), "7");
    EXPECT_TRUE(mensajes_.textos().first().startsWith("No existe una Tabla de Búsqueda asociada al control 'EditCodigo'."));
    // Associated now: straight to the search. F2 on a plain edit does the same.
    hecho.clear();
    mostrar(f);
    f.EditCodigo->setFocus();
    QTest::keyClick(f.EditCodigo, Qt::Key_F2);
    EXPECT_EQ(hecho, QStringList{"buscar PRUEBAF"});
}

TEST_P(FormularioTest, TheKeypadDecimalKeyByField)
{
    FormularioMuestra &f = abrir();
    insertar(f.Table1->table(), 1, "uno");
    mostrar(f);
    const auto decimal = [&](QWidget *donde) {
        form_->UltimaTecla = plat::VK_DECIMAL;
        QChar c(u'.');
        form_->ProcesarTeclaPulsada(donde, c);
        return c;
    };
    f.DBGrid1->setFocus();
    f.DBGrid1->setSelectedField(&f.Table1->table().fieldByName("PrecioUnidad"));
    EXPECT_EQ(decimal(&f), u',');
    f.DBGrid1->setSelectedField(&f.Table1->table().fieldByName("FechaHoraInicio"));
    EXPECT_EQ(decimal(&f), u':');
    f.EditCodigo->setFocus();
    EXPECT_EQ(decimal(&f), u',');
    form_->DesactivarPuntoPorComaDecimal = true;
    EXPECT_EQ(decimal(&f), u'.');
    form_->UltimaTecla = plat::VK_OEM_PERIOD;   // the main keyboard's "." stays
    QChar c(u'.');
    form_->DesactivarPuntoPorComaDecimal = false;
    form_->ProcesarTeclaPulsada(&f, c);
    EXPECT_EQ(c, u'.');
}

TEST_P(FormularioTest, TheKeypadLandsWhereItsPositionSays)
{
    FormularioMuestra &f = abrir();
    mostrar(f);
    plat::Form *teclado = nullptr;
    form_->PuntosEntrada.CrearTecladoNumerico = [&teclado](QWidget *) {
        teclado = new plat::Form;
        // Narrower than the edit, so that centring it keeps it on the screen, where the
        // window system leaves it as placed.
        teclado->setBounds(0, 0, 90, 121);
        return teclado;
    };
    const QSize pantalla = f.EditCodigo->screen()->geometry().size();
    form_->ActivarTecladoPantalla(f.EditCodigo, "Posicion=Abajo");
    EXPECT_TRUE(form_->TimerKeyPad->isActive());
    QTest::qWait(250);
    ASSERT_NE(teclado, nullptr);
    EXPECT_FALSE(form_->TimerKeyPad->isActive());
    const int arriba = (pantalla.height() - 21 - 121 - 4) / 2;
    EXPECT_EQ(f.EditCodigo->y(), arriba);
    EXPECT_EQ(teclado->left(), 4 - (90 - 100) / 2);
    EXPECT_EQ(teclado->top(), arriba + 21 + 4);
    EXPECT_TRUE(teclado->isVisible());
    EXPECT_TRUE(f.EditCodigo->hasFocus());
    form_->CerrarTecladoPantalla();
    QApplication::processEvents();
    EXPECT_EQ(form_->TecladoPantalla, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Motores, FormularioTest, ::testing::Bool(), NombreMotor);

} // namespace
