// The operator master and the bonus data module, on SQLite and PostgreSQL.
#include "tests/data/MaestroFixture.h"
#include "tests/support/ImprimirQString.h"

#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ServicioMensajes.h"
#include "platform/base/FechaHora.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keys.h"
#include "projects/operarios/PRESOPER.h"
#include "projects/calendario/RRHHCAOP.h"
#include "projects/operarios/Primmodu.h"

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

QDateTime Dia(int anyo, int mes, int dia) { return FechaHora(QDate(anyo, mes, dia)); }

class PrimasTest : public MaestroFixture
{
protected:
    void SetUp() override
    {
        MaestroFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CrearMDPrimas();
    }
    void TearDown() override
    {
        LiberarMDPrimas();
        MaestroFixture::TearDown();
    }

    void bono(int operario, const char *fecha, const char *hora, double actividad)
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO BONO (CodigoOperario, Fecha, Hora, ActividadMovil) VALUES "
                                     "(%1, '%2 00:00:00', '1899-12-30 %3', %4)")
                          .arg(operario)
                          .arg(QLatin1String(fecha), QLatin1String(hora))
                          .arg(actividad)),
                  QString());
    }
};

// The newest record with an activity within the year up to the date, the later hour first.
TEST_P(PrimasTest, MobileActivityIsTheNewestNonZeroRecordOfTheYear)
{
    bono(1, "2024-06-10", "08:00:00", 0);
    bono(2, "2023-06-14", "08:00:00", 80);
    bono(3, "2023-06-15", "08:00:00", 81);
    bono(4, "2024-05-01", "08:00:00", 60);
    bono(4, "2024-06-01", "08:00:00", 50);
    bono(4, "2024-06-01", "10:30:00", 70);
    bono(4, "2024-06-16", "08:00:00", 99);
    bono(5, "2023-02-28", "08:00:00", 90);
    bono(6, "2023-02-27", "08:00:00", 91);
    const struct
    {
        const char *caso;
        int operario;
        QDateTime fecha;
        double esperada;
    } casos[] = {
        {"code 0", 0, Dia(2024, 6, 15), 0},
        {"only zero activities", 1, Dia(2024, 6, 15), 0},
        {"older than one year", 2, Dia(2024, 6, 15), 0},
        {"exactly one year before", 3, Dia(2024, 6, 15), 81},
        {"the later hour of the newest day; later days ignored", 4, Dia(2024, 6, 15), 70},
        {"29 February looks back to 28 February", 5, Dia(2024, 2, 29), 90},
        {"the day before that is out", 6, Dia(2024, 2, 29), 0},
        {"no records at all", 9, Dia(2024, 6, 15), 0},
    };
    for (const auto &c : casos)
        EXPECT_DOUBLE_EQ(MDPrimas->ActividadMovilOperario(c.operario, c.fecha), c.esperada) << c.caso;
    // Asked again, every answer is the one kept, until the program writes BONO.
    plat::Connection &conexion = fGENEINIC->Database();
    const quint64 antes = conexion.statementsSent();
    for (const auto &c : casos)
        EXPECT_DOUBLE_EQ(MDPrimas->ActividadMovilOperario(c.operario, c.fecha), c.esperada) << c.caso;
    EXPECT_EQ(conexion.statementsSent(), antes);
    bono(4, "2024-06-15", "07:00:00", 75);
    EXPECT_DOUBLE_EQ(MDPrimas->ActividadMovilOperario(4, Dia(2024, 6, 15)), 75);

    // A statement that does not run leaves the activity at 0.
    ASSERT_EQ(sql("DROP TABLE BONO"), QString());
    EXPECT_DOUBLE_EQ(MDPrimas->ActividadMovilOperario(4, Dia(2024, 6, 15)), 0);
}

class MaestroOperariosTest : public PrimasTest
{
protected:
    void SetUp() override
    {
        PrimasTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const char *s : {
                 "INSERT INTO OPERARIO (Codigo, Nombre, CodigoCategoria, TarifaHoraria) VALUES (1, 'Ana Gil', 3, 21.5)",
                 "INSERT INTO OPERARIO (Codigo, Nombre, CodigoCategoria, TarifaHoraria) VALUES (2, 'Luis Royo', 0, 18)",
                 "INSERT INTO CATEGORI (Codigo, Descripcion) VALUES (3, 'Oficial')",
                 "INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('ZA', 'Zaragoza', 'Zona')",
                 "INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('MO', 'Montaje', 'Sección')",
                 "INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('OPERARIO', '1', 'ZA')",
                 "INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('OPERARIO', '1', 'MO')",
                 "INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('OPERARIO', '2', 'MO')",
                 "INSERT INTO DOCUTRON (NombreTabla, ClaveTabla, Nombre) VALUES ('OPERARIO', '1', 'Contrato')",
                 "INSERT INTO CONTACTO (NombreTabla, CodigoTabla, Linea) VALUES ('OPERARIO', '1', 1)",
                 "INSERT INTO RELACION (NombreTablaA, ClaveTablaA, NombreTablaB, ClaveTablaB) VALUES "
                 "('OPERARIO', '1', 'PROYECT', '1')",
                 "INSERT INTO RESPDOC (NombreTabla, ClaveTabla) VALUES ('OPERARIO', '1')",
             })
            ASSERT_EQ(sql(QString::fromUtf8(s)), QString()) << s;
        bono(1, qPrintable(Ahora().date().toString(Qt::ISODate)), "09:00:00", 87.5);
        ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(carpeta_.filePath("a.bmp")));
        ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(carpeta_.filePath("b.bmp")));
    }

    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        PrimasTest::TearDown();
    }

    TfPRESOPER &abrir()
    {
        TfPRESOPER &f = abrirVentana<TfPRESOPER>();
        f.Table1->dataSet().first();
        mensajes_.limpiar();
        return f;
    }

    plat::DataSet &operarios() { return ventana().Table1->dataSet(); }
    plat::DataSet &grupos() { return ventana().GATablas->dataSet(); }

    // Drops the files on the photo panel as the file manager does: the drag enters, then drops.
    void soltar(const QStringList &ficheros)
    {
        QMimeData datos;
        QList<QUrl> urls;
        for (const QString &f : ficheros)
            urls << QUrl::fromLocalFile(carpeta_.filePath(f));
        datos.setUrls(urls);
        QWidget *panel = ventana().PanelFoto;
        QDragEnterEvent entrada(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(panel, &entrada);
        ASSERT_TRUE(entrada.isAccepted());
        QDropEvent suelta(QPointF(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(panel, &suelta);
    }

    QString fotos(const QString &clave)
    {
        return sql(QStringLiteral("SELECT IdObjeto FROM BLOBTAB WHERE NombreTabla = 'OPERARIO' AND ClaveTabla = '%1'")
                       .arg(clave));
    }

    // Rows under the operator's key in every side table, and whether the operator is there.
    QString todoDe(const QString &clave)
    {
        QStringList cuentas;
        for (const char *s : {"SELECT COUNT(*) FROM OPERARIO WHERE Codigo = %1",
                              "SELECT COUNT(*) FROM BLOBTAB WHERE ClaveTabla = '%1'",
                              "SELECT COUNT(*) FROM GRANTAB WHERE ClaveTabla = '%1'",
                              "SELECT COUNT(*) FROM DOCUTRON WHERE ClaveTabla = '%1'",
                              "SELECT COUNT(*) FROM CONTACTO WHERE CodigoTabla = '%1'",
                              "SELECT COUNT(*) FROM RELACION WHERE ClaveTablaA = '%1'",
                              "SELECT COUNT(*) FROM RESPDOC WHERE ClaveTabla = '%1'"})
            cuentas << sql(QString::fromLatin1(s).arg(clave)).trimmed();
        return cuentas.join(u'/');
    }

    QStringList gruposMostrados()
    {
        QStringList filas;
        plat::DataSet &g = grupos();
        for (g.first(); !g.eof(); g.next())
            filas << g.fieldByName("ClaveTabla").asString() + u' ' + g.fieldByName("GrupoAnalisis").asString() + u' '
                    + g.fieldByName("CategoriaGA").asString() + u' ' + g.fieldByName("DescripcionGA").asString();
        return filas;
    }

    TfPRESOPER &ventana() { return *qobject_cast<TfPRESOPER *>(ventana_.data()); }

    QTemporaryDir carpeta_;
};

TEST_P(MaestroOperariosTest, TheWindowShowsTheOperatorWithItsActivityAndGroups)
{
    TfPRESOPER &f = abrir();
    EXPECT_EQ(f.caption(), "Maestro de Operarios");
    EXPECT_EQ(f.EditTarifa->text(), "21,5");
    EXPECT_EQ(f.EditActividadMovil->text(), "87,5");
    EXPECT_EQ(gruposMostrados(), (QStringList{"1 MO Sección Montaje", "1 ZA Zona Zaragoza"}));

    f.pbSiguienteClick(&f);
    EXPECT_EQ(gruposMostrados(), QStringList{"2 MO Sección Montaje"});
    EXPECT_EQ(f.EditActividadMovil->text(), "");

    grupos().append();
    EXPECT_EQ(grupos().fieldByName("NombreTabla").asString(), "OPERARIO");
    EXPECT_EQ(grupos().fieldByName("ClaveTabla").asString(), "2");
    grupos().cancel();
}

// The calendar opens on this month of the operator's company calendar; an operator without
// one is told so and nothing opens.
TEST_P(MaestroOperariosTest, TheCalendarOpensOnTheOperatorsCompanyCalendar)
{
    ASSERT_EQ(sql("UPDATE OPERARIO SET CodigoCalendario = 4 WHERE Codigo = 1"), QString());
    TfPRESOPER &f = abrir();
    f.CalendarioOperarioClick(f.CalendarioOperario);
    ASSERT_NE(fRRHHCAOP, nullptr);
    const QDate hoy = Ahora().date();
    EXPECT_EQ(OperarioApertura, 1);
    EXPECT_EQ(CalendarioApertura, 4);
    EXPECT_EQ(EjercicioApertura, hoy.year());
    EXPECT_EQ(MesApertura, hoy.month());
    fRRHHCAOP->Free();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    OperarioApertura = 0;
    f.Table1->dataSet().next();
    mensajes_.limpiar();
    f.CalendarioOperarioClick(f.CalendarioOperario);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡El Operario no tiene Calendario asignado!"});
    EXPECT_EQ(OperarioApertura, 0);
}

TEST_P(MaestroOperariosTest, AMissingCategoryIsRefusedOnPostAndOnLeavingTheField)
{
    TfPRESOPER &f = abrir();
    operarios().edit();
    operarios().fieldByName("CodigoCategoria").setAsInteger(7);
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡No existe la Categoría 7!"});
    EXPECT_EQ(operarios().state(), plat::DataSetState::Edit);
    EXPECT_EQ(sql("SELECT CodigoCategoria FROM OPERARIO WHERE Codigo = 1").trimmed(), "3");

    mensajes_.limpiar();
    f.EditCategoria->setFocus();
    f.EditNombre->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡No existe la Categoría 7!"});
    EXPECT_EQ(f.focusWidget(), f.EditCategoria);

    // Going to cancel is never stopped by the check.
    mensajes_.limpiar();
    f.pbCancelar->setFocus();
    f.ValidacionWinControl(f.EditCategoria);
    EXPECT_TRUE(mensajes_.textos().isEmpty());

    operarios().fieldByName("CodigoCategoria").setAsInteger(0);
    f.GrabarDatos(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty());
    EXPECT_EQ(sql("SELECT CodigoCategoria FROM OPERARIO WHERE Codigo = 1").trimmed(), "0");
}

// The numeric key as the user meets it, with the real message window answered by Return:
// letters never reach it, a value out of range warns once and the focus comes back to it with
// the text selected, so that what is typed next replaces it.
TEST_P(MaestroOperariosTest, TheKeyTakesDigitsOnlyAndAValueOutOfRangeWarnsOnceAndComesBackSelected)
{
    TfPRESOPER &f = abrir();
    TfGENEMENS ventanaMensajes;
    form_->conectarVentanaMensajes(ventanaMensajes);
    ServicioMensajes servicio(ventanaMensajes);
    servicio.instalar();
    QStringList avisos;
    plat::application().OnModalShown = [&avisos](plat::Form &ventana) {
        auto &m = static_cast<TfGENEMENS &>(ventana);
        avisos << m.TextoMensaje->text();
        QTest::keyClick(m.focusWidget(), Qt::Key_Return);
    };
    // After a modal window the window manager gives the window back its activation.
    const auto vueltaALaVentana = [this] {
        QApplication::setActiveWindow(marco_);
        QApplication::processEvents();
    };
    f.AgregarClick(&f);
    vueltaALaVentana();
    ASSERT_EQ(QApplication::focusWidget(), f.EditCodigo);
    QTest::keyClicks(f.EditCodigo, "a0 b");
    EXPECT_EQ(f.EditCodigo->text(), "0");
    QTest::keyClick(f.EditCodigo, Qt::Key_Tab);
    vueltaALaVentana();
    EXPECT_EQ(avisos, QStringList{"¡ El valor debe estar entre 1 y 9999 !"});
    EXPECT_EQ(QApplication::focusWidget(), f.EditCodigo);
    EXPECT_EQ(f.EditCodigo->selectedText(), "0");

    QTest::keyClicks(f.EditCodigo, "-7+");
    EXPECT_EQ(f.EditCodigo->text(), "-7+");   // signs are typed; the range says the rest
    f.EditCodigo->selectAll();
    QTest::keyClicks(f.EditCodigo, "7");
    QTest::keyClick(f.EditCodigo, Qt::Key_Tab);
    vueltaALaVentana();
    EXPECT_EQ(avisos.size(), 1) << avisos.join(u'\n').toStdString();
    EXPECT_NE(QApplication::focusWidget(), f.EditCodigo);
    EXPECT_EQ(operarios().fieldByName("Codigo").asInteger(), 7);
    plat::application().OnModalShown = nullptr;
    f.pbCancelarClick(&f);
}

// The bar as the user sees it: the buttons that can be pressed in colour, the others grey.
TEST_P(MaestroOperariosTest, TheBarShowsInColourOnlyTheButtonsThatCanBePressed)
{
    TfPRESOPER &f = abrir();
    // The strongest colour the button shows (0: only greys).
    const auto color = [](QWidget *boton) {
        const QImage i = boton->grab().toImage();
        int maxima = 0;
        for (int y = 0; y < i.height(); ++y)
            for (int x = 0; x < i.width(); ++x)
                maxima = qMax(maxima, i.pixelColor(x, y).hsvSaturation());
        return maxima;
    };
    for (const bool editando : {false, true}) {
        if (editando)
            f.AgregarClick(&f);
        for (QWidget *boton : {static_cast<QWidget *>(f.pbAgregar), static_cast<QWidget *>(f.pbEliminar)}) {
            EXPECT_EQ(boton->isEnabled(), !editando) << boton->objectName().toStdString();
            EXPECT_EQ(color(boton) > 100, !editando) << boton->objectName().toStdString();
        }
        for (QWidget *boton : {static_cast<QWidget *>(f.pbCancelar), static_cast<QWidget *>(f.pbConforme)}) {
            EXPECT_EQ(boton->isEnabled(), editando) << boton->objectName().toStdString();
            EXPECT_EQ(color(boton) > 100, editando) << boton->objectName().toStdString();
        }
    }
    f.pbCancelarClick(&f);
}

TEST_P(MaestroOperariosTest, TheSearchesWriteTheChosenKey)
{
    TfPRESOPER &f = abrir();
    form_->UsuarioActual = QStringLiteral("ADMIN");
    fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    const auto sinBusqueda = qScopeGuard([] { delete fGENEBUSQ; });
    const auto elegir = [](const char *dato) {
        plat::application().OnModalShown = [dato](plat::Form &form) {
            auto &busqueda = static_cast<TfGENEBUSQ &>(form);
            busqueda.DatoABuscar->clear();
            QTest::keyClicks(busqueda.DatoABuscar, QString::fromLatin1(dato));
            QTest::keyClick(busqueda.DatoABuscar, Qt::Key_Return);
            QTest::keyClick(busqueda.DBGrid1, Qt::Key_Return);
        };
    };
    ASSERT_EQ(sql("UPDATE OPERARIO SET CodigoCategoria = 0 WHERE Codigo = 1"), QString());
    operarios().refresh();
    elegir("3");
    f.EditCategoria->setFocus();
    int tecla = plat::VK_F2;
    f.FormKeyDown(f.EditCategoria, tecla, {});
    EXPECT_EQ(operarios().fieldByName("CodigoCategoria").asInteger(), 3);
    f.pbCancelarClick(&f);

    // The groups offered are those of the operators' categories.
    plat::TableDataSet &parametros = modulo_->ParamGenerales->table();
    if (parametros.isEmpty()) {
        parametros.append();
        parametros.fieldByName("IdRegistro").setValue(1);
    } else {
        parametros.edit();
    }
    parametros.fieldByName("PerfilesCategoriasGA").setValue("Cliente=Sección\r\nOperario=Zona");
    parametros.post();
    elegir("");
    f.pbSiguienteClick(&f);
    f.DBGridGA->setSelectedIndex(0);
    f.DBGridGADblClick(f.DBGridGA);
    EXPECT_EQ(grupos().fieldByName("GrupoAnalisis").asString(), "ZA");
}

TEST_P(MaestroOperariosTest, ADroppedPhotoIsStoredUnderTheOperatorAndCanBeRemoved)
{
    TfPRESOPER &f = abrir();
    soltar({"a.bmp", "b.bmp"});
    EXPECT_EQ(fotos("1"), "Foto");
    EXPECT_EQ(f.Foto->picture().width(), 8);
    f.pbSiguienteClick(&f);
    EXPECT_TRUE(f.Foto->picture().isNull());
    f.pbAnteriorClick(&f);
    EXPECT_EQ(f.Foto->picture().width(), 8);

    // A file that cannot be read is told and the stored photo stays.
    soltar({"falta.bmp"});
    EXPECT_EQ(mensajes_.textos().size(), 1);
    EXPECT_EQ(fotos("1"), "Foto");

    f.BorrarlaImgen1->Click();
    EXPECT_EQ(fotos("1"), "");
    EXPECT_TRUE(f.Foto->picture().isNull());

    // Without a key the drop stores nothing.
    f.AgregarClick(&f);
    soltar({"a.bmp"});
    EXPECT_EQ(sql("SELECT COUNT(*) FROM BLOBTAB").trimmed(), "0");
}

TEST_P(MaestroOperariosTest, CancellingANewOperatorRemovesOnlyItsOwnSideRows)
{
    TfPRESOPER &f = abrir();
    f.AgregarClick(&f);
    operarios().fieldByName("Codigo").setAsInteger(77);
    f.EditNombre->setFocus();
    soltar({"a.bmp"});
    ASSERT_EQ(fotos("77"), "Foto");
    f.pbCancelarClick(&f);
    EXPECT_EQ(fotos("77"), "");

    // Another user saved operator 78 meanwhile: its photo stays.
    f.AgregarClick(&f);
    operarios().fieldByName("Codigo").setAsInteger(78);
    f.EditNombre->setFocus();
    soltar({"a.bmp"});
    ASSERT_EQ(sql("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (78, 'Otro usuario')"), QString());
    f.pbCancelarClick(&f);
    EXPECT_EQ(fotos("78"), "Foto");
}

// The operator and its side rows go together or not at all; the marks end clear.
TEST_P(MaestroOperariosTest, DeletingTakesEverySideRowOrNothing)
{
    TfPRESOPER &f = abrir();
    soltar({"a.bmp"});
    const QString todo = "1/1/2/1/1/1/1";
    ASSERT_EQ(todoDe("1"), todo);
    ConexionesPrograma &conexiones = form_->Conexiones();

    const struct
    {
        const char *caso;
        std::function<void()> preparar;
        QString ultimo;
    } fallos[] = {
        {"another transaction active", [&] { conexiones.EnTransaccion = true; },
         "¡ Hay otra transacción activa en curso !. Debe finalizarla previamente."},
        {"a previous transaction failed", [&] { conexiones.EnTransaccionFormularios = true; },
         "¡ Hay otra transacción activa en curso !. Debe finalizarla previamente."},
        {"the operator's delete refused", [&] { rechazar("OPERARIO", "DELETE"); }, "¡ Este registro no puede eliminarse !"},
        {"a side table's delete refused", [&] { rechazar("CONTACTO", "DELETE"); },
         "¡ La transacción no ha sido completada !. Inténtelo de nuevo."},
    };
    for (const auto &c : fallos) {
        SCOPED_TRACE(c.caso);
        c.preparar();
        mensajes_.limpiar();
        mensajes_.programarRespuestas({"SI"});
        f.Eliminar1Click(&f);
        ASSERT_FALSE(mensajes_.textos().isEmpty());
        EXPECT_EQ(mensajes_.textos().last(), c.ultimo);
        EXPECT_EQ(mensajes_.textos().count(c.ultimo), 1);
        EXPECT_EQ(todoDe("1"), todo);
        conexiones.EnTransaccion = conexiones.EnTransaccionFormularios = false;
        sql(QStringLiteral("DROP TRIGGER gp_rechazo_operario_delete") + (GetParam() ? " ON OPERARIO" : ""));
        sql(QStringLiteral("DROP TRIGGER gp_rechazo_contacto_delete") + (GetParam() ? " ON CONTACTO" : ""));
        operarios().refresh();
        operarios().first();
    }

    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(todoDe("1"), "0/0/0/0/0/0/0");
    EXPECT_EQ(todoDe("2"), "1/0/1/0/0/0/0");
    EXPECT_FALSE(conexiones.EnTransaccion);
    EXPECT_FALSE(conexiones.EnTransaccionFormularios);
}

INSTANTIATE_TEST_SUITE_P(Motores, PrimasTest, ::testing::Values(false, true), NombreMotor);
INSTANTIATE_TEST_SUITE_P(Motores, MaestroOperariosTest, ::testing::Values(false, true), NombreMotor);

} // namespace
