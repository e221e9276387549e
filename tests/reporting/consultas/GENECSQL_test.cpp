#include "GENEW/reporting/GENECSQL.h"

#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/servicios/MostrarGrafico.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "GENEW/reporting/informes/VistaPreviaInforme.h"
#include "GENEW/data/modulo/SalidaInforme.h"
#include "platform/report/PreparedReport.h"
#include "tests/reporting/consultas/ProgramaConsultas.h"
#include "tests/reporting/BotonesConIcono.h"

#include <QKeyEvent>
#include <QTemporaryDir>
#include <QApplication>
#include <QTimer>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// The printer of the tests: every print is recorded by its page orientation.
class ImpresoraGrabada : public ServicioImpresorasInforme
{
public:
    QStringList nombres() const override { return {QStringLiteral("Oficina")}; }
    void imprimir(plat::PreparedReport &informe) override { orientaciones << informe.orientation(); }
    QList<QPageLayout::Orientation> orientaciones;
};

const QString kFechaNoValida = QStringLiteral("¡ La fecha (u hora) introducida no es válida !. Repita por favor.");
const QString kSinAcceso = QStringLiteral("¡Vd. no tiene acceso a la consulta!");
const QString kImposibleGrabar = QStringLiteral("¡Imposible grabar el registro!");
const QString kNoEjecutada = QStringLiteral("¡No se ha podido ejecutar la sentencia SQL!");
const QString kSoloSelect = kNoEjecutada + QStringLiteral(". Motivo: sin «Modificar» pulsado sólo se ejecuta una sentencia SELECT");
const QString kVariasSentencias = kNoEjecutada + QStringLiteral(". Motivo: el texto tiene más de una sentencia");
const QString kDatoNoValido = QStringLiteral("¡ El dato introducido no es válido !. Repita por favor.");

// The console open over the program.
class Consola : public ProgramaConsultas
{
protected:
    void liberarVentana() override
    {
        if (consola_)
            consola_->Free();
        consola_ = nullptr;
    }

    TfGENECSQL &abrir(const QString &usuario = QStringLiteral("ADMIN"))
    {
        fGENEINIC->UsuarioActual = usuario;
        consola_ = plat::createForm<TfGENECSQL>();
        return *consola_;
    }

    // Runs the statement with the answers scripted; the messages shown.
    QStringList ejecutar(const QString &sentencia, const QStringList &respuestas = {})
    {
        consola_->SentenciaSQL->setText(sentencia);
        mensajes_.limpiar();
        mensajes_.programarRespuestas(respuestas);
        consola_->pbEjecutar->click();
        return mensajes_.textos();
    }

    plat::QueryDataSet &resultado() { return consola_->QryConsultasSQL->query(); }

    QStringList columna(const QString &campo)
    {
        QStringList valores;
        plat::QueryDataSet &q = resultado();
        if (!q.active())
            return {QStringLiteral("(cerrada)")};
        for (q.first(); !q.eof(); q.next())
            valores << q.fieldByName(campo).asString();
        return valores;
    }

    void teclear(QWidget *destino, int tecla, Qt::KeyboardModifiers modificadores)
    {
        QKeyEvent evento(QEvent::KeyPress, tecla, modificadores);
        QCoreApplication::sendEvent(destino, &evento);
    }

    int filas(const QString &descripcion)
    {
        return valor(QStringLiteral("SELECT COUNT(*) FROM FILTRO WHERE NombreTabla = 'SQL' AND Descripcion = '%1'")
                         .arg(descripcion))
            .toInt();
    }

    void guardarComo(const QString &descripcion, const QString &sentencia, const QString &instrucciones = QString())
    {
        consola_->SentenciaSQL->setText(sentencia);
        consola_->Instrucciones = InstruccionesConsulta(instrucciones);
        mensajes_.programarRespuestas({descripcion});
        consola_->pbGuardarFiltroComo->click();
    }

    TfGENECSQL *consola_ = nullptr;
};

} // namespace

// Ctrl+End in the grid of a large answer reaches its last row, with that row's values in the
// grid and in the current record, on every engine.
TEST_P(Consola, CtrlEndReachesTheLastOfAHundredThousandRows)
{
    db().exec(QStringLiteral("CREATE TABLE V (Codigo INTEGER PRIMARY KEY, Texto VARCHAR(40))"), {},
              plat::SqlOrigin::AsWritten);
    db().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                             "INSERT INTO V SELECT i, 'Fila ' || i FROM n"),
              {}, plat::SqlOrigin::AsWritten);
    TfGENECSQL &c = abrir();
    c.resize(900, 600);
    c.Show();
    EXPECT_EQ(ejecutar(QStringLiteral("SELECT Codigo, Texto FROM V ORDER BY Codigo")), QStringList());
    c.DBGrid1->setFocus();
    teclear(c.DBGrid1, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(resultado().fieldByName(QStringLiteral("Codigo")).asInteger(), 100000);
    EXPECT_EQ(resultado().fieldByName(QStringLiteral("Texto")).asString(), "Fila 100000");
    const QModelIndex actual = c.DBGrid1->currentIndex();
    EXPECT_EQ(actual.row(), 99999);
    EXPECT_EQ(c.DBGrid1->model()->index(actual.row(), 1).data().toString(), "Fila 100000");
    EXPECT_EQ(c.DBGrid1->model()->index(actual.row() - 1, 0).data().toString(), "99999");
}

// The same SELECT run again and again, each time left at its first screen, then other
// statements: every one answers in full, the last read to its end.
TEST_P(Consola, StatementsLeftAtTheirFirstScreenLeaveTheNextOnesWhole)
{
    db().exec(QStringLiteral("CREATE TABLE V (Codigo INTEGER PRIMARY KEY, Texto VARCHAR(40))"), {},
              plat::SqlOrigin::AsWritten);
    db().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
                             "INSERT INTO V SELECT i, 'Fila ' || i FROM n"),
              {}, plat::SqlOrigin::AsWritten);
    TfGENECSQL &c = abrir();
    c.resize(900, 600);
    c.Show();
    for (int vez = 0; vez < 3; ++vez) {
        EXPECT_EQ(ejecutar(QStringLiteral("SELECT Codigo, Texto FROM V ORDER BY Codigo")), QStringList());
        EXPECT_EQ(resultado().fieldByName(QStringLiteral("Codigo")).asInteger(), 1);
        EXPECT_LT(c.DBGrid1->fetchedRows(), 20000) << "only the first screen is read";
    }
    EXPECT_EQ(ejecutar(QStringLiteral("SELECT COUNT(*) AS N, SUM(Codigo) AS S FROM V")), QStringList());
    EXPECT_EQ(resultado().fieldByName(QStringLiteral("N")).asInteger(), 20000);
    EXPECT_EQ(resultado().fieldByName(QStringLiteral("S")).asFloat(), 200010000.0);
    EXPECT_EQ(ejecutar(QStringLiteral("SELECT Texto FROM V WHERE Codigo > 10000 ORDER BY Codigo DESC")), QStringList());
    c.DBGrid1->setFocus();
    teclear(c.DBGrid1, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(c.DBGrid1->currentIndex().row(), 9999);
    EXPECT_EQ(resultado().fieldByName(QStringLiteral("Texto")).asString(), "Fila 10001");
}

TEST_P(Consola, TheToolBarShowsAPicturePerButtonWithItsHint)
{
    TfGENECSQL &c = abrir();
    c.resize(1000, 600);
    c.Show();
    gptest::ComprobarBotonesConIcono(*c.PanelBotones);
    EXPECT_EQ(c.pbGuardarFiltro->hint(), "Guardar la Sentencia SQL");
    gptest::GuardarCaptura(c, QStringLiteral("consola-botones"));
}

TEST_P(Consola, RunsSelectsAlwaysAndOtherStatementsOnlyWhileEditingIsOn)
{
    const struct
    {
        QString sentencia;
        bool modificar;
        QStringList respuestas;
        QStringList mensajes;
        QStringList codigos;
    } casos[] = {
        {"update T set Nombre = 'X' WHERE Codigo = '1'", false, {}, {kSoloSelect}, {"(cerrada)"}},
        {"select Codigo from T ORDER BY Codigo", false, {}, {}, {"1", "2", "3"}},
        {"\r\nSELECT Codigo FROM T", false, {}, {kSoloSelect}, {"(cerrada)"}},
        {"SELECT Codigo FROM T WHERE Nombre = :$A OR Codigo = :$A", false, {"Bilbao"},
         {"Introduzca el valor para la variable A"}, {"2"}},
        {"SELECT Codigo FROM T WHERE Nombre <> '10:30' AND Nombre = ':$T'", false, {"Vigo"},
         {"Introduzca el valor para la variable T"}, {"3"}},
        {"SELECT Codigo FROM T WHERE Nombre >= :$F AND Nombre >= :$F_INI ORDER BY Codigo", false, {"M"},
         {"Introduzca el valor para la variable F"}, {"1", "3"}},
        {"SELECT Codigo FROM T WHERE Nombre >= :$F_INI ORDER BY Codigo", false, {}, {}, {"1", "2", "3"}},
        {"SELECT Codigo FROM T WHERE HoraInicio >= :&D", false, {"mañana"},
         {"Introduzca el valor para la variable D", kFechaNoValida}, {"(cerrada)"}},
        {"SELECT TOP 2 Codigo FROM T ORDER BY Codigo", false, {}, {}, {"1", "2"}},
        {"SELECT Codigo FROM T WHERE Codigo IN (:*L) ORDER BY Codigo", false, {"1, 3,"},
         {"Introduzca el valor para la variable *L"}, {"1", "3"}},
    };
    TfGENECSQL &c = abrir();
    for (const auto &caso : casos) {
        if (c.pbModificar->isChecked() != caso.modificar)
            c.pbModificar->click();
        resultado().close();
        EXPECT_EQ(ejecutar(caso.sentencia, caso.respuestas), caso.mensajes) << caso.sentencia.toStdString();
        EXPECT_EQ(columna(QStringLiteral("Codigo")), caso.codigos) << caso.sentencia.toStdString();
    }
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '1'"), "Madrid");
    c.pbModificar->click();
    c.SentenciaSQL->setText("update T set Nombre = 'X' WHERE Codigo = '1'");
    c.SentenciaSQL->setFocus();
    teclear(c.SentenciaSQL, Qt::Key_F9, Qt::NoModifier);
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '1'"), "X");
}

// With editing off a text runs only when its engine reads one statement in it, as the engine
// gets it (variables written into literals): the second one would change data.
TEST_P(Consola, WithEditingOffOnlyOneStatementRunsOnEveryEngine)
{
    sql("CREATE TABLE OTRA (Codigo VARCHAR(10))");
    sql("INSERT INTO OTRA (Codigo) VALUES ('x')");
    struct Caso
    {
        QString sentencia;
        QStringList respuestas;
    };
    QList<Caso> rechazadas = {
        {"SELECT 1; UPDATE T SET Nombre = 'encadenado'", {}},
        // A name runs up to a blank: ":$A;" would be the variable "$A;".
        {"SELECT Codigo FROM T WHERE Nombre = :$A ; UPDATE T SET Nombre = 'encadenado'", {"Bilbao"}},
        {"select Codigo from T;\r\nDELETE FROM OTRA", {}},
        {"select Codigo from T WHERE Importe > :#N ;\r\nDELETE FROM OTRA", {"1"}},
        {"SELECT Codigo FROM T; DROP TABLE OTRA", {}},
        {"SELECT Codigo FROM T WHERE Nombre IN (:*L); DROP TABLE OTRA", {"Vigo,"}},
    };
    if (GetParam()) {
        rechazadas += {
            {"SELECT E'\\''; DELETE FROM OTRA; --'", {}},
            {"SELECT $$'$$; DELETE FROM OTRA; --'", {}},
            {"SELECT Codigo FROM T WHERE Nombre = :$A OR Nombre = E'\\''; DELETE FROM OTRA; --'", {"x"}},
            {"SELECT Codigo FROM T WHERE Nombre = :$A OR Nombre = $$'$$; DELETE FROM OTRA; --'", {"x"}},
            // Each literal closed in the stored text; the typed backslash opens the second.
            {"SELECT Codigo FROM T WHERE Nombre <> E':$A' OR Nombre = ':$B'", {"\\", "; DELETE FROM OTRA; --"}},
        };
    }
    TfGENECSQL &c = abrir();
    for (const Caso &caso : rechazadas) {
        SCOPED_TRACE(caso.sentencia.toStdString());
        resultado().close();
        EXPECT_EQ(ejecutar(caso.sentencia, caso.respuestas).value(caso.respuestas.size()), kVariasSentencias);
        EXPECT_FALSE(resultado().active());
        EXPECT_FALSE(c.pbExportar->isEnabled());
    }
    EXPECT_EQ(valor("SELECT COUNT(*) FROM T WHERE Nombre = 'encadenado'"), "0");
    EXPECT_EQ(valor("SELECT COUNT(*) FROM OTRA"), "1");

    const struct
    {
        QString sentencia;
        QStringList respuestas, codigos;
    } aceptadas[] = {
        {"SELECT Codigo FROM T WHERE Nombre = 'a;b'", {}, {}},
        {"SELECT Codigo FROM T WHERE Nombre <> ':$A;' ORDER BY Codigo;", {"Bilbao"}, {"1", "3"}},
        {"SELECT Codigo FROM T ORDER BY Codigo;", {}, {"1", "2", "3"}},
        {"SELECT Codigo FROM T WHERE Nombre = :$A ;\r\n", {"Bilbao"}, {"2"}},
    };
    for (const auto &caso : aceptadas) {
        SCOPED_TRACE(caso.sentencia.toStdString());
        resultado().close();
        EXPECT_FALSE(ejecutar(caso.sentencia, caso.respuestas).contains(kNoEjecutada));
        EXPECT_EQ(columna("Codigo"), caso.codigos);
    }

    // With editing on each engine takes what it takes: PostgreSQL runs both, SQLite neither.
    c.pbModificar->click();
    ejecutar("UPDATE T SET Nombre = 'a' WHERE Codigo = '1'; UPDATE T SET Nombre = 'b' WHERE Codigo = '2'");
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '2'"), GetParam() ? "b" : "Bilbao");
}

// A number variable binds a whole or decimal number as the system reads it; anything else
// is refused with the system's message and nothing runs.
TEST_P(Consola, ANumberVariableTakesOnlyANumber)
{
    const QString pregunta = QStringLiteral("Introduzca el valor para la variable N");
    const struct
    {
        QString respuesta;
        QStringList codigos;
    } casos[] = {
        {"Bilbao", {"(cerrada)"}},
        {"1x", {"(cerrada)"}},
        {"", {"(cerrada)"}},
        {"12", {}},
        {"1,5", {"1", "2", "3"}},
        {"1.234,5", {}},
        {" 7 ", {"1"}},
    };
    abrir();
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.respuesta.toStdString());
        resultado().close();
        const bool numero = caso.codigos != QStringList({"(cerrada)"});
        EXPECT_EQ(ejecutar("SELECT Codigo FROM T WHERE Importe > :#N ORDER BY Codigo", {caso.respuesta}),
                  numero ? QStringList({pregunta}) : QStringList({pregunta, kDatoNoValido}));
        EXPECT_EQ(columna("Codigo"), caso.codigos);
    }
}

// The text and Excel exports leave out the fields the user may not see; the rule goes by name,
// so the same values under another name stay.
TEST_P(Consola, ExportsLeaveOutTheFieldsHiddenForTheUser)
{
    TfGENECSQL &c = abrir();
    const auto exportar = [&](const QString &sentencia) {
        ejecutar(sentencia);
        return QStringList({exportado(*c.pbExportar, "SQL.TXT"), exportado(*c.pbExportarExcel, "SQL.xlsx")});
    };
    QStringList todo = exportar("SELECT Codigo, Importe FROM T ORDER BY Codigo");
    EXPECT_TRUE(todo[0].startsWith("CamposCabecera=Codigo|Importe|")) << todo[0].toStdString();
    EXPECT_TRUE(todo[0].contains("10,5")) << todo[0].toStdString();
    EXPECT_TRUE(todo[1].contains("Importe")) << todo[1].toStdString();

    fGENEINIC->CamposNoVisibles = QStringLiteral("Importe");
    const QStringList sinImporte = exportar("SELECT Codigo, Importe FROM T ORDER BY Codigo");
    EXPECT_EQ(sinImporte[0], "CamposCabecera=Codigo|\r\n1|\r\n2|\r\n3|\r\n");
    EXPECT_FALSE(sinImporte[1].contains("Importe")) << sinImporte[1].toStdString();
    EXPECT_FALSE(sinImporte[1].contains("10.5")) << sinImporte[1].toStdString();
    EXPECT_TRUE(sinImporte[1].contains("Codigo"));
    // The filter of the grid still applies.
    c.DBGrid1->setSelectedIndex(0);
    mensajes_.programarRespuestas({"2"});
    c.FiltrarClick(c.FiltrarIgual1);
    EXPECT_EQ(exportado(*c.pbExportar, "SQL.TXT"), "CamposCabecera=Codigo|\r\n2|\r\n");

    c.CancelarFiltrosClick(c.CancelarFiltros1);
    const QStringList otroNombre = exportar("SELECT Codigo, Importe AS Precio FROM T ORDER BY Codigo");
    // PostgreSQL folds the alias to "precio".
    EXPECT_TRUE(otroNombre[0].startsWith("CamposCabecera=Codigo|Precio|", Qt::CaseInsensitive))
        << otroNombre[0].toStdString();
    EXPECT_TRUE(otroNombre[0].contains("10,5")) << otroNombre[0].toStdString();
    EXPECT_TRUE(otroNombre[1].contains("Precio", Qt::CaseInsensitive));
}

TEST_P(Consola, AUserOutsideTheStatementsListCannotRunIt)
{
    for (const QString usuario : {"ADMIN", "AN"}) {
        TfGENECSQL &c = abrir(usuario);
        c.Instrucciones = InstruccionesConsulta(QStringLiteral("UsuariosAutorizados=JUAN,"));
        EXPECT_EQ(ejecutar("SELECT Codigo FROM T"), QStringList({kSinAcceso})) << usuario.toStdString();
        EXPECT_FALSE(resultado().active());
        consola_->Free();
        consola_ = nullptr;
    }
    abrir(QStringLiteral("JUAN")).Instrucciones = InstruccionesConsulta(QStringLiteral("UsuariosAutorizados=JUAN,"));
    EXPECT_EQ(ejecutar("SELECT Codigo FROM T"), QStringList());
    EXPECT_TRUE(resultado().active());
}

// One warning: the console's, with the engine's reason after "Motivo: " (a known kind in
// Spanish first), never the engine's English text of the kind.
TEST_P(Consola, ABrokenStatementShowsTheEnginesReasonAndKeepsTheText)
{
    TfGENECSQL &c = abrir();
    for (const char *sentencia : {"SELECT Nada FROM T WHERE", "SELECT Nada FROM NoHay"}) {
        // A table the definitions do not know is first looked for there, which says so.
        const QString aviso = ejecutar(sentencia).last();
        EXPECT_TRUE(aviso.startsWith(kNoEjecutada + ". Motivo: ")) << aviso.toStdString();
        EXPECT_GT(aviso.size(), kNoEjecutada.size() + 12) << aviso.toStdString();
        EXPECT_FALSE(aviso.contains("General SQL error") || aviso.contains("Table does not exist"));
        EXPECT_EQ(c.SentenciaSQL->text(), sentencia);
        EXPECT_FALSE(c.pbExportar->isEnabled());
    }
    EXPECT_EQ(ejecutar("SELECT Nada FROM T WHERE").size(), 1);
    EXPECT_TRUE(ejecutar("SELECT Nada FROM NoHay").last().contains("¡ La tabla no existe !"));
    EXPECT_TRUE(ejecutar("SELECT Codigo FROM T;   -- fin").isEmpty());   // a trailing comment is no second statement
    EXPECT_EQ(columna("Codigo").size(), 3);
}

// With editing off a single SELECT that writes (into a new table, through a function) is
// refused by the engine itself, which says why; nothing stays and editing writes again.
TEST_P(Consola, WithEditingOffTheEngineRefusesASelectThatWrites)
{
    QStringList escrituras;
    if (GetParam()) {
        db().exec("CREATE FUNCTION escribe() RETURNS integer LANGUAGE sql AS "
                  "'UPDATE t SET nombre = ''escrito'' WHERE codigo = ''1'' RETURNING 1'",
                  {}, plat::SqlOrigin::AsWritten);
        escrituras << "SELECT * INTO NUEVA FROM T" << "SELECT escribe()" << "SELECT Codigo INTO TEMP Temporal FROM T";
    }
    TfGENECSQL &c = abrir();
    for (const QString &sentencia : escrituras) {
        const QStringList mensajes = ejecutar(sentencia);
        ASSERT_EQ(mensajes.size(), 1) << sentencia.toStdString();
        EXPECT_TRUE(mensajes[0].startsWith(kNoEjecutada + ". Motivo: ¡Ud. no tiene autorización para realizar modificaciones! "))
            << mensajes[0].toStdString();
        EXPECT_TRUE(mensajes[0].contains("read-only transaction")) << mensajes[0].toStdString();
    }
    EXPECT_FALSE(db().tableExists("NUEVA"));
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '1'"), "Madrid");
    EXPECT_TRUE(ejecutar("SELECT Codigo FROM T ORDER BY Codigo").isEmpty());
    EXPECT_EQ(columna("Codigo"), QStringList({"1", "2", "3"}));
    c.pbModificar->click();
    ejecutar("UPDATE T SET Nombre = 'editado' WHERE Codigo = '1'");
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '1'"), "editado");
}

TEST_P(Consola, ResultColumnsHiddenFormattedAndEditableOnlyWhileEditingIsOn)
{
    fGENEINIC->CamposNoVisibles = QStringLiteral("Importe");
    TfGENECSQL &c = abrir();
    if (GetParam()) {
        c.pbModificar->click();
        EXPECT_EQ(mensajes_.textos().value(0), "Para hacer efectiva la activación de la Modificación de Datos debe volver a "
                                              "ejecutar la Sentencia SQL.");
        c.pbModificar->click();
    }
    ejecutar("SELECT Codigo, Importe, HoraInicio, Notas FROM T ORDER BY Codigo");
    ASSERT_TRUE(resultado().active());
    EXPECT_FALSE(c.DBGrid1->column(1)->Visible);
    EXPECT_EQ(c.DBGrid1->column(2)->TitleCaption, "H.Inicio");
    EXPECT_EQ(c.DBGrid1->column(3)->ButtonStyle, plat::cbsEllipsis);
    EXPECT_EQ(resultado().fieldByName("HoraInicio").displayText(), "08:30:00");
    EXPECT_EQ(resultado().fieldByName("Notas").displayText(), "Primera nota");   // one line in the grid
    EXPECT_TRUE(c.DBGrid1->readOnly());

    // The memo's ellipsis: the viewer while read-only, the editor once editing is on.
    QStringList vistos;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ASSERT_EQ(&f, fGENEVMEM);
        vistos << fGENEVMEM->DBMemo->text() + (fGENEVMEM->DBMemo->isReadOnly() ? " (solo lectura)" : "");
        if (!fGENEVMEM->DBMemo->isReadOnly())
            fGENEVMEM->DBMemo->setText(QStringLiteral("Nota nueva"));
        fGENEVMEM->Close();
    };
    c.DBGrid1->setSelectedIndex(3);
    c.DBGrid1->EditButtonClick();
    EXPECT_EQ(valor("SELECT Notas FROM T WHERE Codigo = '1'"), "Primera\r\nnota");
    c.pbModificar->click();
    ejecutar("SELECT Codigo, Nombre, Notas FROM T ORDER BY Codigo");
    EXPECT_FALSE(c.DBGrid1->readOnly());
    c.DBGrid1->setSelectedIndex(2);
    c.DBGrid1->EditButtonClick();
    EXPECT_EQ(vistos, QStringList({"Primera\r\nnota (solo lectura)", "Primera\r\nnota"}));
    EXPECT_EQ(valor("SELECT Notas FROM T WHERE Codigo = '1'"), "Nota nueva");

    // Ctrl+Shift+C on the first row, Ctrl+Shift+V on a new one: the row's values go across.
    resultado().first();
    teclear(c.DBGrid1, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    resultado().append();
    teclear(c.DBGrid1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    resultado().fieldByName("Codigo").setAsString("4");
    resultado().post();
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '4'"), "Madrid");
}

TEST_P(Consola, StatementsStoredRenamedAndDeletedInFiltro)
{
    TfGENECSQL &c = abrir();
    guardarComo("Ventas", "SELECT * FROM T", "Propia=1\r\n");
    EXPECT_EQ(filas("Ventas"), 1);
    EXPECT_EQ(c.EditDescripcionFiltro->text(), "Ventas");
    mensajes_.limpiar();
    guardarComo("Ventas", "SELECT Codigo FROM T");
    EXPECT_EQ(mensajes_.textos(), QStringList({"Introduzca la Descripción de la Sentencia SQL: ", kImposibleGrabar}));
    EXPECT_EQ(valor("SELECT Filtro FROM FILTRO WHERE Descripcion = 'Ventas'"), "SELECT * FROM T");

    // The font: only its line changes, and only once the statement is saved.
    plat::setDialogScript([](QObject *dialogo) {
        auto *fuente = qobject_cast<plat::FontDialog *>(dialogo);
        fuente->Font = QFont(QStringLiteral("Courier New"), 12);
        return true;
    });
    c.Instrucciones = InstruccionesConsulta(QStringLiteral("Propia=1\r\n"));
    c.pbCambiarFontClick(c.pbCambiarFont);
    c.pbGuardarFiltroClick(c.pbGuardarFiltro);
    EXPECT_EQ(valor("SELECT Instrucciones FROM FILTRO WHERE Descripcion = 'Ventas'"),
              "Propia=1\r\nFont=Courier New,,Negro,12\r\n");

    // Users chosen in the selection dialog, the current ones offered marked.
    QString ofrecidos;
    fGENEINIC->PuntosEntrada.SeleccionarDeLista = [&](const QString &lista, const QString &) {
        ofrecidos = lista;
        return QStringLiteral("ADMIN - Administrador\r\nJUAN - Nombre JUAN\r\n");
    };
    c.Instrucciones.ponerUsuariosAutorizados({"AN"});
    mensajes_.programarRespuestas({"SI"});
    c.pbRestringirAUsuariosClick(c.pbRestringirAUsuarios);
    EXPECT_EQ(ofrecidos, "ADMIN - Administrador\r\nAN - Nombre AN*\r\nJUAN - Nombre JUAN\r\n");
    EXPECT_TRUE(valor("SELECT Instrucciones FROM FILTRO WHERE Descripcion = 'Ventas'")
                    .contains("UsuariosAutorizados=ADMIN,JUAN,\r\n"));

    // The applications of the name map, by code from 100 in steps of 100; kept until saved.
    fGENEINIC->Configuracion.mapaNombres =
        MapaNombres::deTexto("p GESTION 100\r\np CONTABILIDAD 200\r\np ALMACEN 300\r\np AYUDA 150\r\n");
    QString opciones;
    fGENEINIC->PuntosEntrada.SeleccionarDeLista = [&](const QString &lista, const QString &o) {
        ofrecidos = lista;
        opciones = o;
        return QStringLiteral("CONTABILIDAD\r\nGESTION\r\n");
    };
    c.Instrucciones.ponerAplicacionesContenedoras({"ALMACEN"});
    mensajes_.programarRespuestas({"NO"});
    c.pbPersonalizarMenuClick(c.pbPersonalizarMenu);
    EXPECT_EQ(ofrecidos, "GESTION\r\nCONTABILIDAD\r\nALMACEN*\r\n");
    EXPECT_TRUE(opciones.endsWith("Opciones=Ordenada"));
    EXPECT_EQ(c.Instrucciones.aplicacionesContenedoras(), QStringList({"CONTABILIDAD", "GESTION"}));
    EXPECT_FALSE(valor("SELECT Instrucciones FROM FILTRO WHERE Descripcion = 'Ventas'").contains("Aplicaciones"));

    mensajes_.programarRespuestas({"NO"});
    c.pbEliminarFiltroClick(c.pbEliminarFiltro);
    EXPECT_EQ(filas("Ventas"), 1);
    mensajes_.programarRespuestas({"SI"});
    c.pbEliminarFiltroClick(c.pbEliminarFiltro);
    EXPECT_EQ(filas("Ventas"), 0);
}

TEST_P(Consola, ConfigurationCopiedToAllTheChosenStatementsOrToNone)
{
    TfGENECSQL &c = abrir();
    guardarComo("A", "SELECT 1", "Font=Arial,,Negro,10\r\n");
    guardarComo("B", "SELECT 2");
    guardarComo("Origen", "SELECT 3", "UsuariosAutorizados=ADMIN,\r\n");
    bool borrarB = true;
    fGENEINIC->PuntosEntrada.SeleccionarDeLista = [&](const QString &lista, const QString &) {
        EXPECT_EQ(lista, "A\r\nB");
        if (borrarB)
            sql("DELETE FROM FILTRO WHERE Descripcion = 'B'");
        return QStringLiteral("A\r\nB");
    };
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    c.pbCopiarConfiguracionClick(c.pbCopiarConfiguracion);
    EXPECT_EQ(mensajes_.textos().last(), kImposibleGrabar);
    EXPECT_EQ(valor("SELECT Instrucciones FROM FILTRO WHERE Descripcion = 'A'"), "Font=Arial,,Negro,10\r\n");
    sql("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) VALUES ('SQL', 'B', 'SELECT 2', '')");
    borrarB = false;
    mensajes_.programarRespuestas({"SI"});
    c.pbCopiarConfiguracionClick(c.pbCopiarConfiguracion);
    EXPECT_EQ(valor("SELECT Instrucciones FROM FILTRO WHERE Descripcion = 'A'"), "UsuariosAutorizados=ADMIN,\r\n");
    EXPECT_EQ(valor("SELECT Instrucciones FROM FILTRO WHERE Descripcion = 'B'"), "UsuariosAutorizados=ADMIN,\r\n");
}

// Counts the times a preview window is shown, while alive.
class ContadorDeVistas : public QObject
{
public:
    explicit ContadorDeVistas(int &vistas) : vistas_(vistas) { qApp->installEventFilter(this); }
    bool eventFilter(QObject *objeto, QEvent *evento) override
    {
        if (evento->type() == QEvent::Show && qobject_cast<TfGENEPREV *>(objeto))
            ++vistas_;
        return false;
    }

private:
    int &vistas_;
};

TEST_P(Consola, ResultPrintedOrPreviewedAndExportedToTextAndBack)
{
    QTemporaryDir dir;
    ImpresoraGrabada impresora;
    ServicioImpresorasInstalado instalada(impresora);
    const QString fichero = dir.filePath("SQL.TXT");
    QStringList dialogos;
    plat::setDialogScript([&](QObject *dialogo) {
        dialogos << dialogo->metaObject()->className();
        if (auto *guardar = qobject_cast<plat::SaveDialog *>(dialogo))
            guardar->FileName = fichero;
        if (auto *abrir = qobject_cast<plat::OpenDialog *>(dialogo))
            abrir->FileName = fichero;
        return true;
    });
    TfGENECSQL &c = abrir();
    c.pbModificar->click();
    ejecutar("SELECT Codigo, Nombre FROM T ORDER BY Codigo");
    mensajes_.programarRespuestas({"NO"});
    c.pbImprimirApaisado->click();
    EXPECT_EQ(impresora.orientaciones, QList<QPageLayout::Orientation>({QPageLayout::Landscape}));
    EXPECT_EQ(fGENELPRO, nullptr);   // the listing is released after printing

    // Previews are counted as they are shown; one still making its report refuses to close (a
    // loaded machine), so the close is tried again until it is done.
    int vistas = 0;
    ContadorDeVistas contador(vistas);
    QTimer cierre;
    QObject::connect(&cierre, &QTimer::timeout, [&] {
        if (fGENEPREV && !fGENEPREV->isHidden() && !fGENEPREV->QRPreview1->qrPrinter()->busy()) {
            fGENEPREV->Estado = QStringLiteral("Finalizada");
            fGENEPREV->Close();
        }
    });
    cierre.start(20);
    mensajes_.programarRespuestas({"SI"});
    c.pbImprimir->click();
    cierre.stop();
    EXPECT_EQ(vistas, 1);
    EXPECT_EQ(impresora.orientaciones.size(), 1);

    c.pbExportar->click();
    ASSERT_TRUE(QFile::exists(fichero));
    sql("DELETE FROM T");
    ejecutar("SELECT Codigo, Nombre FROM T ORDER BY Codigo");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    c.pbImportar->click();
    EXPECT_EQ(valor("SELECT COUNT(*) FROM T"), "3") << mensajes_.textos().join("\n").toStdString();
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '2'"), "Bilbao");
}

TEST_P(Consola, ChartOfTheResultOrTheReasonThereIsNone)
{
    QString definicion, series;
    VentanaGraficoInstalada ventana([&](const QString &d, const QString &s) {
        definicion = d;
        series = s;
    });
    TfGENECSQL &c = abrir();
    guardarComo("Ventas", "SELECT Nombre, Importe FROM T WHERE Codigo = 'nada'");
    ejecutar(c.SentenciaSQL->text());
    mensajes_.limpiar();
    c.pbGraficoClick(c.pbGrafico);
    EXPECT_EQ(mensajes_.textos(), QStringList({"No es posible realizar una representación gráfica de los datos"}));
    ejecutar("SELECT Nombre, Importe FROM T ORDER BY Codigo");
    mensajes_.programarRespuestas({"10", "NO"});
    c.pbGraficoClick(c.pbGrafico);
    EXPECT_EQ(definicion, "Titulo=Ventas;Medidas=400x300;PanelControl=SI;StatusBar=SI;Leyenda=SI;");
    EXPECT_EQ(series, "Titulo=Importe;Tipo=Barras;Color=Rojo;IncluirEnLeyenda=SI;Valores=1:10,5:Madrid:/2:3:Bilbao:/3:7:Vigo:/\r\n");
}

TEST_P(Consola, GridFiltersSearchAndSortingByTitle)
{
    TfGENECSQL &c = abrir();
    sql("UPDATE T SET Nombre = 'O''Brien' WHERE Codigo = '3'");
    ejecutar("SELECT Codigo, Nombre FROM T");
    c.DBGrid1->setSelectedIndex(1);
    mensajes_.programarRespuestas({"C", "P"});
    c.FiltrarClick(c.FiltrarDesde1);
    c.DBGrid1->setSelectedIndex(1);
    c.FiltrarClick(c.FiltrarHasta1);
    EXPECT_EQ(resultado().filter(), "(Nombre >= 'C') AND (Nombre <= 'P')");
    EXPECT_EQ(columna("Codigo"), QStringList({"1", "3"}));
    mensajes_.programarRespuestas({"O'Brien"});
    c.DBGrid1->setSelectedIndex(1);
    c.FiltrarClick(c.FiltrarIgual1);
    EXPECT_EQ(columna("Codigo"), QStringList({"3"}));
    c.CancelarFiltrosClick(c.CancelarFiltros1);
    EXPECT_EQ(columna("Codigo").size(), 3);

    const struct
    {
        int columna;
        QString respuesta, mensaje, codigo;
    } busquedas[] = {
        {1, "O'Brien", "", "3"},
        {1, "Bilbao", "", "2"},
        {1, "Nadie", "No se ha encontrado ninguna coincidencia", "2"},
    };
    resultado().first();
    resultado().next();
    for (const auto &b : busquedas) {
        c.DBGrid1->setSelectedIndex(b.columna);
        mensajes_.limpiar();
        mensajes_.programarRespuestas({b.respuesta});
        c.BuscarRegistroClick(c.BuscarRegistro1);
        EXPECT_EQ(mensajes_.textos().value(1), b.mensaje) << b.respuesta.toStdString();
        EXPECT_EQ(resultado().fieldByName("Codigo").asString(), b.codigo) << b.respuesta.toStdString();
    }
    ejecutar("SELECT Codigo, Notas FROM T");
    c.DBGrid1->setSelectedIndex(1);
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"nota"});
    c.BuscarRegistroClick(c.BuscarRegistro1);
    EXPECT_EQ(mensajes_.textos().value(1), "No se puede realizar una búsqueda por este campo");

    ejecutar("SELECT Codigo, Nombre FROM T");
    c.DBGrid1TitleClick(c.DBGrid1, c.DBGrid1->column(1));
    c.DBGrid1TitleClick(c.DBGrid1, c.DBGrid1->column(1));
    EXPECT_EQ(c.SentenciaSQL->text(), "SELECT Codigo, Nombre FROM T\r\nORDER BY Nombre");
    EXPECT_EQ(columna("Codigo"), QStringList({"2", "1", "3"}));
    c.CancelarOrdenadoClick(c.CancelarOrdenado1);
    EXPECT_EQ(c.SentenciaSQL->text(), "SELECT Codigo, Nombre FROM T");
    EXPECT_EQ(c.CancelarOrdenado1->caption(), "Cancelar &Ordenado Por");
}

TEST_P(Consola, InsertionPanelListsTheTablesOfTheChosenDatabase)
{
    TfGENECSQL &c = abrir();
    EXPECT_TRUE(c.LBTablas->items().contains("T"));
    c.LBTablas->setCurrentRow(c.LBTablas->items().indexOf("T"));
    EXPECT_EQ(c.LBCampos->items(), QStringList({"*", "Codigo", "Nombre", "Importe", "HoraInicio", "Notas"}));
    c.SentenciaSQL->setText("SELECT ");
    c.LBCampos->setCurrentRow(2);
    c.LBCamposDblClick(c.LBCampos);
    c.LBComandosSQL->setCurrentRow(c.LBComandosSQL->items().indexOf("FROM"));
    c.LBComandosSQLDblClick(c.LBComandosSQL);
    c.LBTablasDblClick(c.LBTablas);
    const int t = c.LBTablas->currentRow();
    EXPECT_EQ(c.SentenciaSQL->text(), QStringLiteral("SELECT T%1.Nombre \r\n    FROM  T T%1").arg(t));
    if (GetParam())
        return;
    // Another folder of the embedded engine, and one that cannot be opened.
    QTemporaryDir otra;
    {
        plat::Session sesion;
        plat::Connection &conexion = sesion.connection(QStringLiteral("Otra"));
        conexion.setDatabaseName(otra.path());
        conexion.exec(QStringLiteral("CREATE TABLE ALMACEN (Codigo INTEGER)"), {}, plat::SqlOrigin::AsWritten);
    }
    mensajes_.programarRespuestas({otra.path()});
    c.pbCambioDatabaseClick(c.pbCambioDatabase);
    EXPECT_EQ(c.LBTablas->items(), QStringList({"ALMACEN"}));
    mensajes_.limpiar();
    mensajes_.programarRespuestas({otra.path() + "/no/existe"});
    c.pbCambioDatabaseClick(c.pbCambioDatabase);
    EXPECT_EQ(mensajes_.textos().size(), 2);
    EXPECT_EQ(c.LBTablas->items(), QStringList({"ALMACEN"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, Consola, ::testing::Bool(), NombreMotor);
