// The texts master on the record-window base, on SQLite and PostgreSQL.
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/InformeImagen.h"
#include "GENEW/data/modulo/SalidaInforme.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/ui/Dialogs.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keys.h"
#include "projects/comun/GENEMTEX.h"
#include "tests/data/MaestroFixture.h"

#include <QApplication>
#include <QFile>
#include <QPointer>

namespace {

// Two test tables with numeric keys, appended to the structure definitions of the run.
const QString DefinicionesNumericas = QStringLiteral(
    "PRUEBAM/C/1/Codigo/ftSmallint/0/*/|Pruebas\r\n"
    "PRUEBAM/C/2/Descripcion/ftString/40//|Pruebas\r\n"
    "PRUEBAM/I/1/<Primary>/Codigo//|Pruebas\r\n"
    "PRUEBAN/C/1/Codigo/ftInteger/0/*/|Pruebas\r\n"
    "PRUEBAN/C/2/Descripcion/ftString/40//|Pruebas\r\n"
    "PRUEBAN/I/1/<Primary>/Codigo//|Pruebas\r\n");

// A record window over a numeric key, with the common close question.
class MaestroNumerico : public FormularioMaestro
{
public:
    explicit MaestroNumerico(const QString &tabla)
        : FormularioMaestro(nullptr, QStringLiteral("fPRUEBAM"), QStringLiteral("Maestro numérico"))
    {
        Table1->setTableName(tabla);
        EditCodigo = make<plat::DBEdit>(QStringLiteral("EditCodigo"), areaDatos());
        EditCodigo->setDataSource(DataSource1);
        EditCodigo->setDataField(QStringLiteral("Codigo"));
        establecerCampoClave(EditCodigo);
    }
    plat::DBEdit *EditCodigo;
};

class MaestroTextosTest : public MaestroFixture
{
protected:
    QString definicionesPropias() const override { return DefinicionesNumericas; }

    TfGENEMTEX &abrir()
    {
        TfGENEMTEX &f = abrirVentana<TfGENEMTEX>();
        f.Table1->table().first();
        return f;
    }

    TfGENEMTEX &ventana() { return *qobject_cast<TfGENEMTEX *>(ventana_.data()); }
    plat::TableDataSet &tabla() { return ventana().Table1->table(); }

    void texto(const QString &codigo, const QString &descripcion, const QString &cuerpo = QString(),
               const QString &tipo = QString())
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO TEXTO (Codigo, Descripcion, Texto, Tipo) VALUES ('%1', '%2', '%3', '%4')")
                          .arg(codigo, descripcion, cuerpo, tipo)),
                  QString());
    }

    QString campo(const QString &codigo, const QString &nombre)
    {
        return sql(QStringLiteral("SELECT %1 FROM TEXTO WHERE Codigo = '%2'").arg(nombre, codigo));
    }

    int cuantos() { return sql("SELECT COUNT(*) FROM TEXTO").toInt(); }

    void pulsar(int tecla, plat::ShiftState estado)
    {
        ventana().FormKeyDown(&ventana(), tecla, estado);
    }
};

// A first opening makes the table; the rows of each case are added on top of it.
class MaestroTextosConDatosTest : public MaestroTextosTest
{
protected:
    void SetUp() override
    {
        MaestroTextosTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        abrir();
        delete ventana_.data();
        texto("A", "Primero", "Cuerpo de A", "Plantilla");
        texto("B", "Segundo", "Cuerpo de B");
        mensajes_.limpiar();
    }
};

// ---- building ------------------------------------------------------------------------------

TEST_P(MaestroTextosTest, TheFichaMenuHasEveryEntryInOrderWithItsShortcut)
{
    TfGENEMTEX &f = abrir();
    EXPECT_EQ(f.Ficha->groupIndex(), 3);
    const auto sin = plat::ShiftState{};
    const QList<QPair<QString, int>> esperados = {
        {"&Ir al Panel de Control", plat::ShortCut(plat::VK_F3, sin)},
        {"-", 0},
        {"&Agregar", plat::ShortCut(plat::VK_F5, sin)},
        {"&Eliminar", plat::ShortCut(plat::VK_F6, sin)},
        {"Eliminación &Múltiple...", 0},
        {"-", 0},
        {"&Buscar Registro...", plat::ShortCut(plat::VK_F11, sin)},
        {"&Filtrar Registros...", plat::ShortCut(plat::VK_F12, sin)},
        {"Copiar &Registros a Otras Empresas...", 0},
        {"-", 0},
        {"&Listar Ficha Actual", 0},
        {"&Cancelar Edición", plat::ShortCut(plat::VK_ESCAPE, sin)},
        {"Listado &Programable...", 0},
        {"-", 0},
        {"&Documentación Electrónica...", 0},
        {"-", 0},
        {"C&errar", 0},
    };
    ASSERT_EQ(f.Ficha->count(), esperados.size());
    for (int i = 0; i < esperados.size(); ++i) {
        EXPECT_EQ(f.Ficha->item(i)->caption(), esperados[i].first) << i;
        EXPECT_EQ(f.Ficha->item(i)->shortCut(), esperados[i].second) << i;
    }
    QStringList sub;
    for (auto *item : f.ListarFichaActual1->items())
        sub << item->caption();
    EXPECT_EQ(sub, (QStringList{"&Formato Original", "&A Página Completa"}));
    QStringList botones;
    for (auto *b : f.PanelNavegador->findChildren<plat::Button *>(QString(), Qt::FindDirectChildrenOnly))
        botones << b->objectName() + u'=' + b->hint();
    EXPECT_EQ(botones, (QStringList{"pbPrimero=Ir al primer registro", "pbAnterior=Ir al registro anterior",
                                    "pbSiguiente=Ir al registro siguiente", "pbUltimo=Ir al ultimo registro",
                                    "pbEliminar=Eliminar el registro actual", "pbAgregar=Agregar registros",
                                    "pbSalir=Salir", "pbCancelar=Cancelar la edicion sin grabar",
                                    "pbConforme=Aceptar y grabar los datos actuales",
                                    "pbRefrescar=Refrescar todas las tablas"}));
}

// The service items act on the window's table: the electronic documents of the current
// record (menu and Ctrl+D), the copy to other companies and the deletion of every record
// shown.
TEST_P(MaestroTextosConDatosTest, TheServiceItemsReachTheirServicesWithTheTable)
{
    TfGENEMTEX &f = abrir();
    QStringList abiertos;
    Gancho<std::function<void(const QString &, const QString &)>>::Instalacion documentos(
        form_->VentanaDocumentacionElectronica,
        [&abiertos](const QString &tabla, const QString &clave) { abiertos << tabla + u' ' + clave; });
    f.DocumentacionElectronica1->Click();
    tabla().last();
    pulsar('D', plat::ssCtrl);
    EXPECT_EQ(abiertos, (QStringList{"TEXTO A", "TEXTO B"}));

    // The copy to other companies asks first; "NO" stops it.
    std::unique_ptr<TfGENECOPI> copia(plat::createForm<TfGENECOPI>());
    fGENECOPI = copia.get();
    f.CopiarRegistrosaOtrasEmpresas1->Click();
    fGENECOPI = nullptr;
    ASSERT_EQ(mensajes_.mensajes().size(), 1);
    EXPECT_TRUE(mensajes_.mensajes()[0].texto.startsWith("¡Esta opción copiará todos los registros activos de la tabla!"));

    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI", "SI"});
    f.EliminacionMultiple1->Click();
    EXPECT_EQ(mensajes_.mensajes().size(), 2);
    EXPECT_EQ(cuantos(), 0);
}

// Which controls are enabled, and how the key control looks, in each state of the table.
TEST_P(MaestroTextosConDatosTest, ControlsAndTheKeyFollowTheTableState)
{
    TfGENEMTEX &f = abrir();
    struct Caso
    {
        const char *estado;
        std::function<void()> llevar;
        bool editando;
        bool claveEscribible;
    };
    const QList<Caso> casos = {
        {"browse", [] {}, false, false},
        {"edit", [this] { tabla().edit(); }, true, false},
        {"insert", [&f] { f.AgregarClick(&f); }, true, true},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.estado);
        f.pbCancelarClick(&f);
        c.llevar();
        for (QWidget *w : {static_cast<QWidget *>(f.pbConforme), static_cast<QWidget *>(f.pbCancelar)})
            EXPECT_EQ(w->isEnabled(), c.editando) << w->objectName().toStdString();
        EXPECT_EQ(f.CancelarEdicion1->enabled(), c.editando);
        for (QWidget *w : {static_cast<QWidget *>(f.pbEliminar), static_cast<QWidget *>(f.pbAgregar)})
            EXPECT_EQ(w->isEnabled(), !c.editando) << w->objectName().toStdString();
        for (plat::MenuItem *m : {f.Eliminar1, f.Agregar, f.EliminacionMultiple1, f.Buscar, f.FiltrarRegistros1,
                                  f.CopiarRegistrosaOtrasEmpresas1, f.DocumentacionElectronica1, f.Cerrar1})
            EXPECT_EQ(m->enabled(), !c.editando) << m->objectName().toStdString();
        for (QWidget *w : {f.pbSalir, f.pbPrimero, f.pbAnterior, f.pbSiguiente, f.pbUltimo, f.pbRefrescar})
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_EQ(f.EditCodigo->isReadOnly(), !c.claveEscribible);
        EXPECT_EQ(f.EditCodigo->color(), c.claveEscribible ? plat::clWindow : plat::clBtnFace);
    }
}

// The key's range goes by the key field's type; a string key has none.
TEST_P(MaestroTextosTest, ANumericKeyOutOfItsRangeIsRefusedOnLeavingIt)
{
    struct Caso
    {
        const char *tabla;
        const char *clave;
        const char *mensaje;
    };
    const QList<Caso> casos = {
        {"PRUEBAM", "0", "¡ El valor debe estar entre 1 y 9999 !"},
        {"PRUEBAM", "10000", "¡ El valor debe estar entre 1 y 9999 !"},
        {"PRUEBAM", "9999", nullptr},
        {"PRUEBAN", "100000000", "¡ El valor debe estar entre 1 y 99999999 !"},
        {"PRUEBAN", "0", "¡ El valor debe estar entre 1 y 99999999 !"},
        {"PRUEBAN", "99999999", nullptr},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(std::string(c.tabla) + " " + c.clave);
        auto *f = new MaestroNumerico(QString::fromLatin1(c.tabla));
        f->afterConstruction();
        mensajes_.limpiar();
        f->AgregarClick(f);
        f->Table1->dataSet().fieldByName("Codigo").setValue(QString::fromLatin1(c.clave).toLongLong());
        f->CampoClaveExit(f->EditCodigo);
        EXPECT_EQ(mensajes_.textos(), c.mensaje ? QStringList{QString::fromUtf8(c.mensaje)} : QStringList{});
        EXPECT_EQ(f->Table1->dataSet().state(), plat::DataSetState::Insert);
        f->pbCancelarClick(f);
        delete f;
    }
}

// ---- navigation and adding -----------------------------------------------------------------

TEST_P(MaestroTextosConDatosTest, NavigationTellsTheEnds)
{
    TfGENEMTEX &f = abrir();
    f.pbPrimeroClick(&f);
    f.pbAnteriorClick(&f);
    f.pbUltimoClick(&f);
    EXPECT_EQ(tabla().fieldByName("Codigo").asString(), "B");
    f.pbSiguienteClick(&f);
    EXPECT_EQ(mensajes_.textos(), (QStringList{"Está Vd. en el primer registro", "Está Vd. en el último registro"}));
    EXPECT_EQ(tabla().fieldByName("Codigo").asString(), "B");
}

TEST_P(MaestroTextosConDatosTest, CtrlF5SwitchesDuplicationWhichCopiesTheRecordCurrentBefore)
{
    TfGENEMTEX &f = abrir();
    pulsar(plat::VK_F5, plat::ssCtrl);
    EXPECT_EQ(f.Agregar->caption(), "&Agregar con Duplicación");
    EXPECT_TRUE(f.Agregar->checked());
    f.AgregarClick(&f);
    ASSERT_EQ(tabla().state(), plat::DataSetState::Insert);
    EXPECT_TRUE(f.ClaveDuplicacion.startsWith(u'A')) << f.ClaveDuplicacion.toStdString();
    EXPECT_EQ(tabla().fieldByName("Codigo").asString(), "");
    EXPECT_EQ(tabla().fieldByName("Descripcion").asString(), "Primero");
    EXPECT_EQ(tabla().fieldByName("Texto").asString(), "Cuerpo de A");
    EXPECT_EQ(tabla().fieldByName("Tipo").asString(), "Plantilla");
    tabla().fieldByName("Codigo").setValue("C");
    f.GrabarDatos(&f);
    EXPECT_EQ(campo("C", "Texto"), "Cuerpo de A");
    f.pbCancelarClick(&f);

    pulsar(plat::VK_F5, plat::ssCtrl);
    EXPECT_EQ(f.Agregar->caption(), "&Agregar");
    f.AgregarClick(&f);
    EXPECT_EQ(tabla().fieldByName("Descripcion").asString(), "");
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

TEST_P(MaestroTextosTest, DuplicatingOnAnEmptyTableStartsAnEmptyRecord)
{
    TfGENEMTEX &f = abrir();
    pulsar(plat::VK_F5, plat::ssCtrl);
    f.AgregarClick(&f);
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);
    EXPECT_TRUE(f.ClaveDuplicacion.isEmpty());
    EXPECT_EQ(tabla().fieldByName("Descripcion").asString(), "");
}

// ---- the key -------------------------------------------------------------------------------

TEST_P(MaestroTextosConDatosTest, LeavingTheKeyChecksItAgainstTheTable)
{
    TfGENEMTEX &f = abrir();
    f.AgregarClick(&f);
    f.CampoClaveExit(f.EditCodigo);   // nothing typed: the insert goes, silently
    EXPECT_EQ(tabla().state(), plat::DataSetState::Browse);
    EXPECT_TRUE(mensajes_.textos().isEmpty());

    f.AgregarClick(&f);
    tabla().fieldByName("Codigo").setValue("B");
    ASSERT_EQ(QApplication::focusWidget(), f.EditCodigo);
    f.pbSalir->setFocus();   // leaves the key
    QApplication::processEvents();
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ Ya existe el registro !"});
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);
    EXPECT_EQ(f.focusWidget(), f.EditCodigo);

    // Posted anyway: refused, and the record stays as typed for its code to be changed.
    mensajes_.limpiar();
    tabla().fieldByName("Descripcion").setValue("Otro");
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ Este registro ya existe !"});
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);
    EXPECT_EQ(tabla().fieldByName("Codigo").asString(), "B");
    EXPECT_EQ(tabla().fieldByName("Descripcion").asString(), "Otro");
    EXPECT_EQ(campo("B", "Descripcion"), "Segundo");
    EXPECT_EQ(cuantos(), 2);
    tabla().fieldByName("Codigo").setValue("C");
    f.GrabarDatos(&f);
    EXPECT_EQ(campo("C", "Descripcion"), "Otro");
}

TEST_P(MaestroTextosConDatosTest, ASavedInsertIsFollowedByANewOne)
{
    TfGENEMTEX &f = abrir();
    f.AgregarClick(&f);
    tabla().fieldByName("Codigo").setValue("Z");
    tabla().fieldByName("Texto").setValue("Línea uno\nLínea dos");
    f.pbConformeClick(&f);
    EXPECT_EQ(campo("Z", "Texto"), "Línea uno\nLínea dos");
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
}

// ---- failures the engine reports -----------------------------------------------------------

TEST_P(MaestroTextosConDatosTest, ARefusedUpdateKeepsTheEditAndTheStoredRecord)
{
    TfGENEMTEX &f = abrir();
    rechazar("TEXTO", "UPDATE");
    tabla().edit();
    tabla().fieldByName("Descripcion").setValue("Cambiado");
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ El registro está siendo modificado por otro usuario !"});
    EXPECT_EQ(tabla().state(), plat::DataSetState::Edit);
    EXPECT_EQ(tabla().fieldByName("Descripcion").asString(), "Cambiado");
    EXPECT_EQ(campo("A", "Descripcion"), "Primero");
}

TEST_P(MaestroTextosConDatosTest, DeletingAsksAndARefusalKeepsTheRecord)
{
    TfGENEMTEX &f = abrir();
    mensajes_.programarRespuestas({"NO"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(cuantos(), 2);

    rechazar("TEXTO", "DELETE");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(mensajes_.textos(), (QStringList{"¿ Está seguro de querer eliminar el registro ?",
                                               "¡ Este registro no puede eliminarse !"}));
    EXPECT_EQ(cuantos(), 2);

    // While editing, nothing is asked.
    mensajes_.limpiar();
    tabla().edit();
    f.Eliminar1Click(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty());
}

TEST_P(MaestroTextosConDatosTest, AnAnsweredDeleteRemovesTheRecord)
{
    TfGENEMTEX &f = abrir();
    mensajes_.programarRespuestas({"SI"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(cuantos(), 1);
    EXPECT_EQ(campo("A", "Codigo"), "");
}

TEST_P(MaestroTextosTest, DeletingOnAnEmptyTableDoesNothing)
{
    TfGENEMTEX &f = abrir();
    f.Eliminar1Click(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty());
}

// ---- closing -------------------------------------------------------------------------------

TEST_P(MaestroTextosConDatosTest, ClosingWhileEditingIsRefusedUntilTheEditIsCancelled)
{
    TfGENEMTEX &f = abrir();
    tabla().edit();
    tabla().fieldByName("Descripcion").setValue("Sin grabar");
    f.Cerrar1Click(&f);
    QApplication::processEvents();
    ASSERT_TRUE(ventana_);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ Debe grabar o cancelar la edición antes de cerrar la ventana !"});
    EXPECT_EQ(tabla().state(), plat::DataSetState::Edit);
    EXPECT_EQ(tabla().fieldByName("Descripcion").asString(), "Sin grabar");

    f.CancelarEdicion1->Click();
    f.AgregarClick(&f);   // a new record nothing was typed in does not hold the close
    f.Salir1Click(&f);
    QApplication::sendPostedEvents();
    EXPECT_FALSE(ventana_);
    EXPECT_EQ(mensajes_.textos().size(), 1);
    EXPECT_EQ(campo("A", "Descripcion"), "Primero");
}

// ---- listing the card ----------------------------------------------------------------------

// The printer service of a test: what would be printed, page by page.
class ImpresionesFicha : public ServicioImpresorasInforme
{
public:
    QStringList nombres() const override { return {}; }
    void imprimir(plat::PreparedReport &informe) override
    {
        auto &ficha = dynamic_cast<InformeImagen &>(informe);
        paginas << informe.pageCount();
        imagenes << ficha.rectanguloImagen();
        areas << ficha.areaImprimible();
        orientaciones << informe.orientation();
    }
    QList<int> paginas;
    QList<QRectF> imagenes, areas;
    QList<QPageLayout::Orientation> orientaciones;
};

TEST_P(MaestroTextosTest, TheCardIsPrintedOnlyWhenThePrintDialogIsConfirmed)
{
    TfGENEMTEX &f = abrir();
    ImpresionesFicha impresiones;
    ServicioImpresorasInstalado instalado(impresiones);
    bool confirmar = false;
    plat::setDialogScript([&confirmar](QObject *dialogo) {
        auto *impresion = qobject_cast<plat::PrintDialog *>(dialogo);
        if (impresion)
            impresion->Landscape = true;
        return impresion && confirmar;
    });
    f.FormatoOriginal1->Click();
    f.APaginaCompleta1->Click();
    EXPECT_TRUE(impresiones.paginas.isEmpty());

    confirmar = true;
    f.FormatoOriginal1->Click();
    f.APaginaCompleta1->Click();
    plat::setDialogScript(nullptr);
    ASSERT_EQ(impresiones.paginas, (QList<int>{1, 1}));
    EXPECT_EQ(impresiones.orientaciones[0], QPageLayout::Landscape);
    // At its size on screen: a 96-dpi page unit is a pixel of a 96-dpi screen.
    const QSizeF pantalla = QSizeF(f.size()) * plat::reportPageDpi / f.logicalDpiX();
    EXPECT_NEAR(impresiones.imagenes[0].width(), pantalla.width(), 0.5);
    EXPECT_NEAR(impresiones.imagenes[0].height(), pantalla.height(), 0.5);
    // Fitted to the printable page, proportions kept.
    const QRectF pagina = impresiones.imagenes[1];
    const QRectF area = impresiones.areas[1];
    EXPECT_TRUE(area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(pagina));
    EXPECT_TRUE(qAbs(pagina.width() - area.width()) < 0.5 || qAbs(pagina.height() - area.height()) < 0.5);
    EXPECT_NEAR(pagina.width() / pagina.height(), pantalla.width() / pantalla.height(), 0.01);
}

TEST_P(MaestroTextosTest, TheFrameOffersMinimisingButNotMaximising)
{
    TfGENEMTEX &f = abrir();
    ASSERT_TRUE(f.mdiSubWindow());
    const Qt::WindowFlags marco = f.mdiSubWindow()->windowFlags();
    EXPECT_TRUE(marco.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(marco.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(marco.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(f.mdiSubWindow()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Motores, MaestroTextosTest, ::testing::Values(false, true), NombreMotor);
INSTANTIATE_TEST_SUITE_P(Motores, MaestroTextosConDatosTest, ::testing::Values(false, true), NombreMotor);

} // namespace
