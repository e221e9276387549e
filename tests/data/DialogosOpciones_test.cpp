#include "GENEW/data/ventanas/EmpresaListado.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENESELE.h"
#include "GENEW/data/ventanas/GENETEXT.h"
#include "GENEW/data/ventanas/GENEVLIS.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/QueryDataSet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "tests/data/ModuloFixture.h"

#include <QGuiApplication>
#include <QImage>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs a driver with a script for each dialog it shows, in order; a script sets the
// modal result itself.
class DialogosOpciones : public ::testing::Test
{
protected:
    void TearDown() override { plat::application().OnModalShown = nullptr; }

    void guion(std::vector<std::function<void(plat::Form &)>> pasos)
    {
        pasos_ = std::move(pasos);
        plat::application().OnModalShown = [this](plat::Form &f) {
            ASSERT_LT(mostrados_, pasos_.size()) << f.objectName().toStdString();
            pasos_[mostrados_++](f);
        };
    }

    size_t mostrados_ = 0;
    std::vector<std::function<void(plat::Form &)>> pasos_;
    SalidaMensajesGrabada mensajes_;
    SalidaMensajesInstalada instalada_{mensajes_};
};

TfGENESELE &seleccion(plat::Form &f)
{
    return static_cast<TfGENESELE &>(f);
}

TfGENEVLIS &visor(plat::Form &f)
{
    return static_cast<TfGENEVLIS &>(f);
}

QStringList seleccionados(const plat::ListBox &lista)
{
    QStringList s;
    for (int i = 0; i < lista.count(); ++i)
        if (lista.selected(i))
            s << lista.item(i)->text();
    return s;
}

TEST_F(DialogosOpciones, SelectionStartsFromStarredItemsAndAbandoningGivesThemBack)
{
    const QString lista = QStringLiteral("A\r\n*B\r\nC");
    guion({[](plat::Form &f) {
        EXPECT_EQ(seleccionados(*seleccion(f).ListBox1), QStringList{QStringLiteral("B")});
        EXPECT_EQ(seleccion(f).caption(), QStringLiteral("Elegir"));
        seleccion(f).SeleccionarTodoClick();
        seleccion(f).pbCancelar->click();
    }});
    EXPECT_EQ(SeleccionarDeLista(QStringLiteral("Titulo=Elegir\r\nModo=Multiple"), lista), QStringLiteral("B"));
    EXPECT_EQ(mostrados_, 1u);

    mostrados_ = 0;
    guion({[](plat::Form &f) {
        seleccion(f).InvertirSeleccionClick();
        seleccion(f).pbAceptar->click();
    }});
    EXPECT_EQ(SeleccionarDeLista(QStringLiteral("Modo=Multiple"), lista), QStringLiteral("A\r\nC"));

    // Sorted on screen; a double click accepts.
    mostrados_ = 0;
    guion({[](plat::Form &f) {
        auto &l = *seleccion(f).ListBox1;
        EXPECT_EQ(l.items(), (QStringList{"a", "b", "c"}));
        l.setSelected(0, true);
        emit l.itemDoubleClicked(l.item(0));
    }});
    EXPECT_EQ(SeleccionarDeLista(QStringLiteral("Opciones=Ordenada"), QStringLiteral("c\r\nb\r\na\r\n")), QStringLiteral("a"));
}

TEST_F(DialogosOpciones, SelectionByKeyboardEnterAcceptsAndEscGivesTheInitialSelectionBack)
{
    const QString lista = QStringLiteral("A\r\n*B\r\nC");
    const auto marcarC = [](plat::ListBox &l) {
        l.setFocus();
        l.setCurrentRow(2, QItemSelectionModel::NoUpdate);
        QTest::keyClick(&l, Qt::Key_Space);
    };
    guion({[&](plat::Form &f) {
        marcarC(*seleccion(f).ListBox1);
        QTest::keyClick(seleccion(f).ListBox1, Qt::Key_Return);
        EXPECT_EQ(f.modalResult(), plat::mrOk);
        if (f.modalResult() == plat::mrNone)   // fail, never wait
            seleccion(f).pbAceptar->click();
    }});
    EXPECT_EQ(SeleccionarDeLista(QStringLiteral("Modo=Multiple"), lista), QStringLiteral("B\r\nC"));

    mostrados_ = 0;
    guion({[&](plat::Form &f) {
        marcarC(*seleccion(f).ListBox1);
        QTest::keyClick(seleccion(f).ListBox1, Qt::Key_Escape);
        EXPECT_NE(f.modalResult(), plat::mrNone);
        if (f.modalResult() == plat::mrNone)
            seleccion(f).pbCancelar->click();
    }});
    EXPECT_EQ(SeleccionarDeLista(QStringLiteral("Modo=Multiple"), lista), QStringLiteral("B"));
}

TEST_F(DialogosOpciones, RestoringTheInitialSelectionNeverTakesItemThirteenForItemThree)
{
    QStringList items;
    for (int i = 0; i < 15; ++i)
        items << ((i == 0 || i == 13) ? QStringLiteral("*%1").arg(i) : QString::number(i));
    guion({[](plat::Form &f) {
        auto &d = seleccion(f);
        EXPECT_EQ(d.SeleccionInicial, QStringLiteral("'0''13'"));
        d.DeseleccionarTodoClick();
        d.ListBox1->setSelected(3, true);
        d.RestaurarSeleccionClick();
        d.pbAceptar->click();
    }});
    EXPECT_EQ(SeleccionarDeLista(QStringLiteral("Modo=Multiple"), items.join(QStringLiteral("\r\n"))),
              QStringLiteral("0\r\n13"));
}

TEST_F(DialogosOpciones, TextDialogAnswersTheEditOrTheGivenTextAndKeepsItsGeometry)
{
    guion({[](plat::Form &f) {
               auto &d = static_cast<TfGENETEXT &>(f);
               EXPECT_EQ(d.caption(), QStringLiteral("Notas"));
               EXPECT_EQ(d.Memo1->text(), QStringLiteral("uno\r\ndos"));
               EXPECT_EQ(d.width(), 400);
               EXPECT_EQ(d.height(), 500);
               d.Memo1->setText(QStringLiteral("tres"));
               d.pbAceptar->click();
           },
           [](plat::Form &f) {
               auto &d = static_cast<TfGENETEXT &>(f);
               // Only the width is given: the height stays as the last closing left it.
               EXPECT_EQ(d.width(), 300);
               EXPECT_EQ(d.height(), 500);
               d.Memo1->setText(QStringLiteral("perdido"));
               d.pbCancelar->click();
           }});
    EXPECT_EQ(EditarTexto(QStringLiteral("Titulo=Notas\r\nFormato=0,0,400,500"), QStringLiteral("uno\r\ndos")),
              QStringLiteral("tres"));
    EXPECT_EQ(EditarTexto(QStringLiteral("Formato=x,,300"), QStringLiteral("igual")), QStringLiteral("igual"));
    EXPECT_EQ(mostrados_, 2u);
}

TEST_F(DialogosOpciones, DataEntryChecksValuesExactlyAndAnswersNameValueLines)
{
    const QString opciones = QStringLiteral(
        "Titulo=Datos\r\nDefinicionCampos=Estado,ftString,10,,,ABIERTO/CERRADO;Notas,ftMemo,10;HoraInicio,ftDateTime,0");
    guion({[this](plat::Form &f) {
        auto &v = visor(f);
        EXPECT_EQ(v.caption(), QStringLiteral("Datos"));
        EXPECT_TRUE(v.PanelControl->isVisible());
        EXPECT_EQ(v.StringGrid->rowCount(), 4);
        EXPECT_EQ(v.StringGrid->cell(1, 2), QStringLiteral("a·b"));
        EXPECT_EQ(v.StringGrid->cell(1, 3), QStringLiteral("09:30:00"));
        EXPECT_EQ(v.CamposMemo, QStringLiteral("Notasÿa·b\r\n"));
        v.pbGrabarClick();   // "abierto" differs from the list only in letter case
        EXPECT_EQ(mensajes_.textos(), QStringList{QStringLiteral("¡El valor para el campo Estado es incorrecto!")});
        EXPECT_EQ(v.modalResult(), plat::mrNone);
        v.StringGrid->setCell(1, 1, QStringLiteral("CERRADO"));
        v.pbGrabarClick();
    }});
    EXPECT_EQ(MostrarVisorDatos(opciones, QStringLiteral("abierto\r\na·b\r\n01/02/2024 09:30:00")),
              QStringLiteral("Estado=CERRADO\r\nNotas=a·b\r\nHoraInicio=09:30:00\r\n"));

    mostrados_ = 0;
    guion({[](plat::Form &f) { visor(f).pbCancelar->click(); }});
    EXPECT_EQ(MostrarVisorDatos(opciones, QString()), QString());
}

TEST_F(DialogosOpciones, EachLongTextOpensInTheTextDialogAndAListRowOffersItsValues)
{
    const QString opciones = QStringLiteral("DefinicionCampos=Uno,ftMemo,10;Dos,ftMemo,10;Tipo,ftString,5,,,X/Y");
    guion({[](plat::Form &f) {
               auto &v = visor(f);
               v.StringGrid->setCurrentCell(1, 2);
               v.StringGridDblClick();
               v.StringGrid->setCurrentCell(1, 3);
               v.StringGridDblClick();
               v.pbGrabarClick();
           },
           [](plat::Form &f) {
               auto &d = static_cast<TfGENETEXT &>(f);
               EXPECT_EQ(d.caption(), QStringLiteral("Contenido del Campo: Dos"));
               EXPECT_EQ(d.Memo1->text(), QStringLiteral("segunda\r\nlínea"));
               d.Memo1->setText(QStringLiteral("nueva\r\nlínea"));
               d.pbAceptar->click();
           },
           [](plat::Form &f) {
               auto &s = seleccion(f);
               EXPECT_EQ(s.caption(), QStringLiteral("Selección de Tipo"));
               EXPECT_EQ(s.ListBox1->items(), (QStringList{"X", "Y"}));
               s.ListBox1->setSelected(1, true);
               s.pbAceptar->click();
           }});
    EXPECT_EQ(MostrarVisorDatos(opciones, QStringLiteral("primera\r\nsegunda·línea\r\n")),
              QStringLiteral("Uno=primera\r\nDos=nueva·línea\r\nTipo=Y\r\n"));
    EXPECT_EQ(mostrados_, 3u);
}

TEST_F(DialogosOpciones, HeadingRowIsNotSelectableAndTallGridsOpenTwentyRowsHigh)
{
    QStringList definiciones{QStringLiteral("Datos (*),ftString,1")};
    const int filas = QGuiApplication::primaryScreen()->geometry().height() / 17 + 5;
    for (int i = 0; i < filas; ++i)
        definiciones << QStringLiteral("Campo%1,ftString,5").arg(i);
    guion({[](plat::Form &f) {
        auto &v = visor(f);
        EXPECT_EQ(v.StringGrid->row(), 2);   // the first row that can be selected
        QTest::keyClick(v.StringGrid, Qt::Key_Up);
        EXPECT_EQ(v.StringGrid->row(), 2);
        EXPECT_EQ(v.height(), v.AlturaCalculada());
        EXPECT_GE(v.AlturaCalculada(), 20 * 17);
        EXPECT_LT(v.AlturaCalculada(), 20 * 17 + 100);
        EXPECT_LT(v.height(), QGuiApplication::primaryScreen()->geometry().height() - 100);
        // The heading's value is drawn in the button colour, the others in black.
        QImage imagen = v.StringGrid->viewport()->grab().toImage();
        const QRect titulo = v.StringGrid->visualRect(v.StringGrid->model()->index(1, 1));
        const QColor boton = plat::toQColor(plat::clBtnFace);
        bool negro = false;
        bool colorBoton = false;
        for (int x = titulo.left(); x < titulo.right(); ++x)
            for (int y = titulo.top(); y < titulo.bottom(); ++y) {
                negro |= imagen.pixelColor(x, y) == QColor(Qt::black);
                colorBoton |= imagen.pixelColor(x, y) == boton;
            }
        EXPECT_FALSE(negro);
        EXPECT_TRUE(colorBoton);
        EXPECT_EQ(imagen.pixelColor(titulo.left() + 1, titulo.top() + 1), plat::toQColor(plat::clWindow));
        v.pbCancelar->click();
    }});
    MostrarVisorDatos(QStringLiteral("DefinicionCampos=") + definiciones.join(u';'),
                      QStringLiteral("TITULO\r\n") + QStringLiteral("valor\r\n").repeated(filas));
    EXPECT_EQ(mostrados_, 1u);
}

// The current record's fields, opened by Ctrl+Z through the data module's services.
class VisorCamposRegistro : public ModuloFixture
{
protected:
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        ModuloFixture::TearDown();
    }
};

TEST_F(VisorCamposRegistro, ShowsTheRecordWithoutHiddenFieldsAndTimesAsTimes)
{
    ASSERT_TRUE(prepararMotor(false));
    plat::ClientDataSet ds(QStringLiteral("Partes"));
    ds.setFieldDefs({plat::fieldDef("Codigo", ftString, 10), plat::fieldDef("Coste", ftFloat),
                     plat::fieldDef("HoraInicio", ftDateTime), plat::fieldDef("Notas", ftMemo)});
    ds.createDataSet();
    ds.append();
    ds.field(0).setValue(QStringLiteral("P1"));
    ds.field(1).setValue(12.5);
    ds.field(2).setValue(QDateTime(QDate(2024, 3, 5), QTime(8, 15)));
    ds.field(3).setValue(QStringLiteral("uno\r\ndos"));
    ds.post();
    fGENEINIC->CamposNoVisibles = QStringLiteral("coste");
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados;
        auto &v = visor(f);
        EXPECT_FALSE(v.PanelControl->isVisible());
        EXPECT_EQ(v.caption(), QStringLiteral("Visor de Campos"));
        EXPECT_EQ(v.StringGrid->rowCount(), 5);
        EXPECT_EQ(v.StringGrid->cell(0, 0).trimmed(), QStringLiteral("Campo"));
        EXPECT_EQ(v.StringGrid->cell(1, 1), QStringLiteral("P1"));
        EXPECT_EQ(v.StringGrid->cell(0, 2), QString());
        EXPECT_EQ(v.StringGrid->cell(1, 2), QString());
        EXPECT_EQ(v.StringGrid->cell(1, 3), QStringLiteral("08:15:00"));
        EXPECT_EQ(v.StringGrid->cell(1, 4), QStringLiteral("uno dos"));
        EXPECT_EQ(v.CamposMemo, QStringLiteral("Notasÿuno·dos\r\n"));
        f.setModalResult(plat::mrCancel);
    };
    ASSERT_TRUE(fGENEINIC->PuntosEntrada.MostrarCamposRegistro);
    fGENEINIC->PuntosEntrada.MostrarCamposRegistro(ds);
    EXPECT_EQ(mostrados, 1);
    fGENEINIC->CamposNoVisibles.clear();
}

} // namespace

namespace {

// The record editor on a table of the company database.
class EditorRegistroVisor : public VisorCamposRegistro, public ::testing::WithParamInterface<bool>
{
protected:
    void crearPartes()
    {
        sql(QStringLiteral("CREATE TABLE PARTES (Codigo VARCHAR(10) NOT NULL, Descripcion VARCHAR(40), "
                           "Estado VARCHAR(10), PRIMARY KEY (Codigo))"),
            QStringLiteral("Database"));
        sql(QStringLiteral("INSERT INTO PARTES (Codigo, Descripcion, Estado) VALUES ('P1', 'Solera', 'ABIERTO')"),
            QStringLiteral("Database"));
    }

    QString leer(const QString &campo)
    {
        return sql(QStringLiteral("SELECT %1 FROM PARTES WHERE Codigo = 'P1'").arg(campo), QStringLiteral("Database"),
                   QStringLiteral("Valor"));
    }

    SalidaMensajesGrabada &mensajes() { return mensajes_; }
};

TEST_P(EditorRegistroVisor, EditsTheListedFieldsAndReportsWhatIsNotSaved)
{
    if (!prepararMotor(GetParam()))
        GTEST_SKIP() << "sin servidor PostgreSQL";
    crearPartes();
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &) { ++mostrados; };
    EXPECT_FALSE(modulo_->EditarRegistroEnVisor(QStringLiteral("PARTES"), QStringLiteral("P9"),
                                                QStringLiteral("Descripcion"), QString(), QStringLiteral("Editar")));
    EXPECT_EQ(mostrados, 0);

    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados;
        auto &v = visor(f);
        EXPECT_EQ(v.caption(), QStringLiteral("Editar Registro en la Tabla PARTES"));
        EXPECT_EQ(v.StringGrid->cell(1, 1), QStringLiteral("Solera"));
        EXPECT_EQ(v.StringGrid->cell(1, 2), QStringLiteral("ABIERTO"));
        EXPECT_EQ(v.DescriptoresCampos, (QStringList{QString(), QStringLiteral("?Estado>Estado>ABIERTO/CERRADO>")}));
        v.StringGrid->setCell(1, 1, QStringLiteral("Solera armada"));
        v.StringGrid->setCell(1, 2, QStringLiteral("CERRADO"));
        v.pbGrabarClick();
    };
    EXPECT_TRUE(modulo_->EditarRegistroEnVisor(QStringLiteral("PARTES"), QStringLiteral("P1"),
                                               QStringLiteral("Descripcion;?Estado>Estado>ABIERTO/CERRADO>"), QString(),
                                               QStringLiteral("Editar")));
    EXPECT_EQ(mostrados, 1);
    EXPECT_EQ(leer(QStringLiteral("Descripcion")), QStringLiteral("Solera armada"));
    EXPECT_EQ(leer(QStringLiteral("Estado")), QStringLiteral("CERRADO"));

    // A new record with a key already taken is refused by the engine: the answer says so.
    plat::application().OnModalShown = [&](plat::Form &f) { visor(f).pbGrabarClick(); };
    EXPECT_FALSE(modulo_->EditarRegistroEnVisor(QStringLiteral("PARTES"), QString(), QStringLiteral("Codigo;Descripcion"),
                                                QStringLiteral("P1;Duplicado")));
    EXPECT_TRUE(mensajes().textos().contains(QStringLiteral("¡No ha sido posible grabar el registro!")));
    EXPECT_EQ(leer(QStringLiteral("Descripcion")), QStringLiteral("Solera armada"));
}

INSTANTIATE_TEST_SUITE_P(Motores, EditorRegistroVisor, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "PostgreSQL" : "SQLite"; });

} // namespace

namespace {

// User fields of records whose table's key has several fields, shown from a query whose
// columns are not in key order.
class CamposUsuarioRegistro : public VisorCamposRegistro
{
protected:
    void SetUp() override
    {
        VisorCamposRegistro::SetUp();
        ASSERT_TRUE(prepararMotor(false));
        sql(QStringLiteral("CREATE TABLE LINEAS (Parte VARCHAR(10) NOT NULL, Linea INTEGER NOT NULL, "
                           "ZonaObra VARCHAR(20), PRIMARY KEY (Parte, Linea))"),
            QStringLiteral("Database"));
        for (const char *fila : {"('P1', 1, 'Norte')", "('P1', 2, 'Sur')", "('P2', 1, 'Este')"})
            sql(QStringLiteral("INSERT INTO LINEAS (Parte, Linea, ZonaObra) VALUES ") + QLatin1String(fila),
                QStringLiteral("Database"));
        consulta.setConnection(&fGENEINIC->Database());
    }

    void abrir(const QString &sentencia)
    {
        consulta.setSql(sentencia);
        consulta.open();
    }

    QString zona(const QString &parte, int linea)
    {
        return sql(QStringLiteral("SELECT ZonaObra FROM LINEAS WHERE Parte = '%1' AND Linea = %2").arg(parte).arg(linea),
                   QStringLiteral("Database"), QStringLiteral("Valor"));
    }

    plat::QueryDataSet consulta{QStringLiteral("ConsultaLineas")};
};

TEST_F(CamposUsuarioRegistro, EditsTheCurrentRecordFoundByTheTableKeyByName)
{
    sql(QStringLiteral("INSERT INTO CAMPOUSR (NombreTabla, OrdenCampo, NombreCampo, TipoCampo, LongitudCampo) "
                       "VALUES ('LINEAS', 1, 'ZonaObra', 'Texto', '20')"),
        QStringLiteral("DatabaseGeneral"));
    abrir(QStringLiteral("SELECT Linea, Parte FROM LINEAS ORDER BY Parte, Linea"));
    consulta.next();   // P1, line 2
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados;
        auto &v = visor(f);
        EXPECT_EQ(v.caption(), QStringLiteral("Introducción de Campos de Usuario"));
        ASSERT_EQ(v.StringGrid->rowCount(), 2);
        EXPECT_EQ(v.StringGrid->cell(1, 1), QStringLiteral("Sur"));
        v.StringGrid->setCell(1, 1, QStringLiteral("Oeste"));
        v.pbGrabarClick();
    };
    fGENEINIC->PuntosEntrada.MostrarCamposUsuario(consulta);
    EXPECT_EQ(mostrados, 1);
    EXPECT_EQ(zona(QStringLiteral("P1"), 2), QStringLiteral("Oeste"));
    EXPECT_EQ(zona(QStringLiteral("P1"), 1), QStringLiteral("Norte"));
    EXPECT_EQ(zona(QStringLiteral("P2"), 1), QStringLiteral("Este"));

    // Without the key's columns the record cannot be told: nothing is shown.
    abrir(QStringLiteral("SELECT ZonaObra FROM LINEAS"));
    MostrarCamposUsuario(consulta);
    EXPECT_EQ(mostrados, 1);
}

// A save another user's lock refuses shows the viewer again with what was typed, to be
// accepted once the lock has gone.
TEST_F(CamposUsuarioRegistro, ARefusedSaveShowsTheViewerAgainWithWhatWasTyped)
{
    sql(QStringLiteral("INSERT INTO CAMPOUSR (NombreTabla, OrdenCampo, NombreCampo, TipoCampo, LongitudCampo) "
                       "VALUES ('LINEAS', 1, 'ZonaObra', 'Texto', '20')"),
        QStringLiteral("DatabaseGeneral"));
    sql(QStringLiteral("CREATE TRIGGER bloqueo BEFORE UPDATE ON LINEAS BEGIN SELECT RAISE(ABORT, 'bloqueado'); END"),
        QStringLiteral("Database"));
    abrir(QStringLiteral("SELECT Parte, Linea FROM LINEAS ORDER BY Parte, Linea"));
    QStringList vistos;
    plat::application().OnModalShown = [&](plat::Form &f) {
        auto &v = visor(f);
        vistos << v.StringGrid->cell(1, 1);
        if (vistos.size() == 1)
            v.StringGrid->setCell(1, 1, QStringLiteral("Oeste"));
        else
            sql(QStringLiteral("DROP TRIGGER bloqueo"), QStringLiteral("Database"));
        v.pbGrabarClick();
    };
    MostrarCamposUsuario(consulta);
    EXPECT_EQ(vistos, (QStringList{"Norte", "Oeste"}));
    EXPECT_EQ(zona(QStringLiteral("P1"), 1), QStringLiteral("Oeste"));
    EXPECT_TRUE(mensajes_.textos().contains(
        QStringLiteral("¡Imposible modificar el registro. Es posible que esté siendo modificado por otro usuario.!")));
}

// The definitions are read once and kept until the program changes CAMPOUSR: one deleted
// since is not shown at the next opening.
TEST_F(CamposUsuarioRegistro, TheDefinitionsAreReadOnceAndAgainAfterTheProgramChangesThem)
{
    sql(QStringLiteral("INSERT INTO CAMPOUSR (NombreTabla, OrdenCampo, NombreCampo, TipoCampo, LongitudCampo) "
                       "VALUES ('LINEAS', 1, 'ZonaObra', 'Texto', '20')"),
        QStringLiteral("DatabaseGeneral"));
    abrir(QStringLiteral("SELECT Linea, Parte FROM LINEAS ORDER BY Parte, Linea"));
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados;
        visor(f).pbGrabarClick();
    };
    MostrarCamposUsuario(consulta);
    plat::Connection &general = fGENEINIC->DatabaseGeneral();
    const quint64 enviadas = general.statementsSent();
    MostrarCamposUsuario(consulta);
    EXPECT_EQ(general.statementsSent(), enviadas);
    EXPECT_EQ(mostrados, 2);
    sql(QStringLiteral("DELETE FROM CAMPOUSR"), QStringLiteral("DatabaseGeneral"));
    MostrarCamposUsuario(consulta);
    EXPECT_EQ(mostrados, 2);
}

TEST_F(CamposUsuarioRegistro, ARecordWithoutUserFieldsShowsNothing)
{
    abrir(QStringLiteral("SELECT * FROM LINEAS"));
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &) { ++mostrados; };
    MostrarCamposUsuario(consulta);
    EXPECT_EQ(mostrados, 0);
}

} // namespace

namespace {

using EmpresaListado = VisorCamposRegistro;

TEST_F(EmpresaListado, TheChosenCompanyIsConnectedAndAbandoningLeavesNone)
{
    ASSERT_TRUE(prepararMotor(false));
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    sql(QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre) VALUES (2, 'Obras del Norte')"), QStringLiteral("DatabaseGeneral"));
    fGENEINIC->UsuarioActual = QStringLiteral("ADMIN");
    fGENEBUSQ = plat::createForm<TfGENEBUSQ>();
    const auto liberar = qScopeGuard([] {
        delete fGENEBUSQ;
        fGENEBUSQ = nullptr;
    });
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &) { ++mostrados; };
    ConectarEmpresaListado();   // the choice is off: nothing is asked
    EXPECT_EQ(mostrados, 0);

    fGENEINIC->SeleccionEmpresaActiva = true;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados;
        auto &busqueda = static_cast<TfGENEBUSQ &>(f);
        QTest::keyClicks(busqueda.DatoABuscar, QStringLiteral("2"));
        QTest::keyClick(busqueda.DatoABuscar, Qt::Key_Return);
        QTest::keyClick(busqueda.DBGrid1, Qt::Key_Return);
    };
    ConectarEmpresaListado();
    EXPECT_EQ(mostrados, 1);
    EXPECT_EQ(fGENEINIC->CodigoEmpresaListado, 2);
    EXPECT_EQ(fGENEINIC->Database().databaseName(), fGENEINIC->NombreBaseDatosEmpresa(2));

    plat::application().OnModalShown = [](plat::Form &f) { static_cast<TfGENEBUSQ &>(f).pbCancelar->click(); };
    ConectarEmpresaListado();
    EXPECT_EQ(fGENEINIC->CodigoEmpresaListado, 0);
    fGENEINIC->SeleccionEmpresaActiva = false;
}

} // namespace
