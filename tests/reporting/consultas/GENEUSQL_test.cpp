#include "GENEW/reporting/GENEUSQL.h"

#include "GENEW/data/SalidaInforme.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/report/PreparedReport.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"
#include "tests/reporting/consultas/ProgramaConsultas.h"
#include "tests/reporting/BotonesConIcono.h"

#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

const QString kFinalizado = QStringLiteral("El proceso ha finalizado correctamente");

// The printer of the tests: each print is written as a PDF file.
class ImpresoraPdf : public ServicioImpresorasInforme
{
public:
    explicit ImpresoraPdf(QString fichero) : fichero_(std::move(fichero)) {}
    QStringList nombres() const override { return {QStringLiteral("Oficina")}; }
    void imprimir(plat::PreparedReport &informe) override { EscribirInformePDF(informe, fichero_); }

private:
    QString fichero_;
};

// Stored statements run in their window over the program.
class Ejecutor : public ProgramaConsultas
{
protected:
    void liberarVentana() override
    {
        if (ventana_)
            ventana_->Free();
    }

    void guardar(const QString &nombre, const QString &sentencia)
    {
        plat::TableDataSet filtro;
        filtro.setTableName(QStringLiteral("FILTRO"));
        ASSERT_TRUE(modulo_->AbrirTabla(filtro));   // made on first use
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) "
                                     "VALUES ('SQL', %1, %2, '')")
                          .arg(Entrecomillar(nombre), Entrecomillar(sentencia))),
                  QString());
    }

    // The window opened on a menu caption, as the main window opens it.
    TfGENEUSQL &abrir(const QString &titulo)
    {
        liberarVentana();
        mensajes_.limpiar();
        ventana_ = plat::createForm<TfGENEUSQL>();
        ventana_->CargaConsulta(titulo);
        return *ventana_;
    }

    // Whether the window went (it is freed once the current event is over).
    bool cerrada()
    {
        QCoreApplication::sendPostedEvents();
        return ventana_.isNull();
    }

    QStringList columna(const QString &campo)
    {
        plat::DataSet &datos = ventana_->ClientDataSet1->dataSet();
        if (!datos.active())
            return {QStringLiteral("(cerrada)")};
        QStringList valores;
        for (datos.first(); !datos.eof(); datos.next())
            valores << datos.fieldByName(campo).asString();
        return valores;
    }

    QStringList visibles()
    {
        QStringList nombres;
        for (plat::Edit *caja : ventana_->ValoresVariables)
            if (!caja->isHidden())
                nombres << caja->objectName();
        return nombres;
    }

    QPointer<TfGENEUSQL> ventana_;
};

} // namespace

TEST_P(Ejecutor, VariablesAreAskedInAPanelSizedByTheirNumberAndBound)
{
    const struct
    {
        QString sentencia;
        QSize interior;
        QStringList cajas, valores;
        QPoint aplicar;
        QStringList codigos;
    } casos[] = {
        {"SELECT Codigo FROM T WHERE Nombre = :$Nombre", {325, 26}, {"Nombre"}, {"Vigo"}, {249, 0}, {"3"}},
        {"SELECT Codigo FROM T WHERE Importe >= :#Minimo AND Importe <= :#Maximo ORDER BY Codigo",
         {573, 26}, {"Minimo", "Maximo"}, {"5", "10,5"}, {497, 0}, {"1", "3"}},
        {"SELECT Codigo FROM T\r\nWHERE Codigo IN (:*Codigos) AND Importe >= :#Minimo AND HoraInicio >= :&Desde\r\n"
         "ORDER BY Codigo",
         {494, 50}, {"Codigos", "Minimo", "Desde"}, {"1, 2, 3,", "5", "1/1/1899"}, {249, 24}, {"1", "3"}},
        // One box for a number used twice; the hidden one copies it before binding.
        {"SELECT Codigo FROM T WHERE Importe > :#Minimo OR Importe = :#Minimo ORDER BY Codigo",
         {325, 26}, {"Minimo"}, {"7"}, {249, 0}, {"1", "3"}},
    };
    for (const auto &caso : casos) {
        const QString nombre = QStringLiteral("Consulta %1").arg(&caso - casos);
        guardar(nombre, caso.sentencia);
        TfGENEUSQL &v = abrir(nombre);
        SCOPED_TRACE(caso.sentencia.toStdString());
        EXPECT_EQ(v.PanelParametrosInterno->size(), caso.interior);
        EXPECT_EQ(v.PanelParametros->height(), caso.interior.height() + 30);
        EXPECT_EQ(v.LBPanelParametros->caption(), "Introduzca los valores para la consulta");
        EXPECT_EQ(visibles(), caso.cajas);
        EXPECT_EQ(v.pbAplicar->pos(), caso.aplicar);
        EXPECT_EQ(columna("Codigo"), QStringList({"(cerrada)"}));   // nothing runs before the values
        for (int i = 0; i < caso.valores.size(); ++i)
            v.findChild<plat::Edit *>(caso.cajas[i])->setText(caso.valores[i]);
        v.pbAplicar->click();
        EXPECT_EQ(columna("Codigo"), caso.codigos);
        EXPECT_EQ(mensajes_.textos(), QStringList());
    }
    // Labels in two columns, boxes 104 to their right, rows 24 apart.
    const QList<plat::Label *> &etiquetas = ventana_->EtiquetasVariables;
    EXPECT_EQ(etiquetas[0]->geometry(), QRect(1, 5, 100, 13));
    EXPECT_EQ(ventana_->ValoresVariables[0]->geometry(), QRect(105, 1, 140, 21));
    EXPECT_TRUE(ventana_->ValoresVariables[1]->isHidden());
    EXPECT_EQ(ventana_->ValoresVariables[1]->text(), "7");

    // A value that is no number stops the run with the common check's message.
    ventana_->findChild<plat::Edit *>(QStringLiteral("Minimo"))->setText(QStringLiteral("abc"));
    ventana_->pbEjecutar->click();
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡El valor de Minimo es incorrecto! Repita por favor"}));
}

TEST_P(Ejecutor, TheToolBarShowsAPicturePerButtonWithItsHint)
{
    guardar(QStringLiteral("Lista"), QStringLiteral("SELECT Codigo, Nombre FROM T ORDER BY Codigo"));
    TfGENEUSQL &v = abrir(QStringLiteral("Lista"));
    v.Show();
    gptest::ComprobarBotonesConIcono(*v.PanelBotones);
    EXPECT_EQ(v.pbGuardarCambios->hint(), "Guardar los Cambios");
    gptest::GuardarCaptura(v, QStringLiteral("ejecutor-botones"));
}

TEST_P(Ejecutor, AStatementWithoutVariablesRunsAtOnceAndAProcessClosesItsWindow)
{
    guardar(QStringLiteral("Renombrar"), QStringLiteral("UPDATE T SET Nombre = 'Otro' WHERE Codigo = '1'"));
    guardar(QStringLiteral("Lista"), QStringLiteral("\r\nselect Codigo, Nombre FROM T ORDER BY Codigo"));
    abrir(QStringLiteral("Renombrar"));
    EXPECT_EQ(mensajes_.textos(), QStringList({kFinalizado}));
    EXPECT_TRUE(cerrada());
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '1'"), "Otro");

    TfGENEUSQL &v = abrir(QStringLiteral("Lista"));
    EXPECT_FALSE(cerrada());
    EXPECT_EQ(columna("Nombre"), QStringList({"Otro", "Bilbao", "Vigo"}));
    EXPECT_FALSE(v.QryConsultasSQL->query().active()) << "the grid shows the client's copy";
    EXPECT_TRUE(v.pbExportar->isEnabled());
    EXPECT_FALSE(v.pbGuardarCambios->isEnabled());
    EXPECT_FALSE(v.PanelParametros->isVisibleTo(&v));
    EXPECT_GE(v.width(), 640);
}

TEST_P(Ejecutor, AProcessWithVariablesAsksForItsDataWithoutAGrid)
{
    guardar(QStringLiteral("Renombrar"), QStringLiteral("UPDATE T SET Nombre = :$Nombre WHERE Codigo = :$Codigo"));
    TfGENEUSQL &v = abrir(QStringLiteral("Renombrar"));
    EXPECT_EQ(v.LBPanelParametros->caption(), "Introduzca los datos para realizar el proceso");
    EXPECT_FALSE(v.PanelRejilla->isVisibleTo(&v));
    EXPECT_FALSE(v.pbModificar->isVisibleTo(&v));
    EXPECT_FALSE(v.pbCambiarFont->isVisibleTo(&v));
    v.findChild<plat::Edit *>(QStringLiteral("Nombre"))->setText(QStringLiteral("O'Brien"));
    v.findChild<plat::Edit *>(QStringLiteral("Codigo"))->setText(QStringLiteral("2"));
    v.pbAplicar->click();
    EXPECT_EQ(mensajes_.textos(), QStringList({kFinalizado}));
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '2'"), "O'Brien");
    EXPECT_FALSE(cerrada());
}

TEST_P(Ejecutor, AFailingStatementShowsOnlyTheDataServicesMessages)
{
    guardar(QStringLiteral("Rota"), QStringLiteral("SELECT Codigo FROM T WHERE"));
    abrir(QStringLiteral("Rota"));
    const QStringList mensajes = mensajes_.textos();
    ASSERT_FALSE(mensajes.isEmpty());
    EXPECT_TRUE(mensajes[0].startsWith("¡No es posible ejecutar la sentencia SQL. Motivo: ")) << mensajes[0].toStdString();
    for (const QString &m : mensajes)
        EXPECT_FALSE(m.startsWith("Error: ")) << m.toStdString();
    EXPECT_TRUE(cerrada());
}

TEST_P(Ejecutor, ATranslatedCaptionLeadsBackToItsStatementAndAnUnknownOneToAnEmptyWindow)
{
    guardar(QStringLiteral("Ventas de O'Brien"), QStringLiteral("SELECT Codigo FROM T ORDER BY Codigo"));
    guardar(QStringLiteral("Otra"), QStringLiteral("SELECT Nombre FROM T"));
    fGENEINIC->CodigoIdioma = QStringLiteral("Ingles");
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Ingles', %1, 'Sales')")
                      .arg(Entrecomillar(QStringLiteral("Ventas de O'Brien"))),
                  QStringLiteral("DatabaseGeneral")),
              QString());
    TfGENEUSQL &v = abrir(QStringLiteral("Sales"));
    EXPECT_EQ(v.Consulta, "Ventas de O'Brien");
    EXPECT_EQ(v.caption(), "Sales");
    EXPECT_EQ(columna("Codigo"), QStringList({"1", "2", "3"}));

    for (const QString titulo : {"Purchases", "Ventas de O'Brien"}) {
        TfGENEUSQL &vacia = abrir(titulo);
        EXPECT_EQ(vacia.Consulta, "");
        EXPECT_FALSE(cerrada());
        for (plat::SpeedButton *b : vacia.PanelBotones->findChildren<plat::SpeedButton *>())
            EXPECT_EQ(b->isEnabled(), b == vacia.pbSalir) << b->objectName().toStdString();
    }
}

TEST_P(Ejecutor, EditsAreSavedAllTogetherOrNoneAndStayInTheGridOnFailure)
{
    guardar(QStringLiteral("Lista"), QStringLiteral("SELECT Codigo, Nombre FROM T ORDER BY Codigo"));
    TfGENEUSQL &v = abrir(QStringLiteral("Lista"));
    EXPECT_TRUE(v.DBGrid1->readOnly());
    v.pbModificar->click();
    EXPECT_EQ(mensajes_.textos(), QStringList({"Para hacer efectiva la activación de la Modificación de Datos debe volver "
                                               "a ejecutar la consulta."}));
    v.pbEjecutar->click();
    EXPECT_FALSE(v.DBGrid1->readOnly());
    ASSERT_TRUE(v.pbGuardarCambios->isEnabled());
    plat::DataSet &datos = v.ClientDataSet1->dataSet();
    const auto editar = [&](const QString &codigo, const QString &nuevoCodigo, const QString &nombre) {
        ASSERT_TRUE(datos.locate(QStringLiteral("Codigo"), codigo));
        datos.edit();
        datos.fieldByName(QStringLiteral("Codigo")).setAsString(nuevoCodigo);
        datos.fieldByName(QStringLiteral("Nombre")).setAsString(nombre);
        datos.post();
    };
    editar("1", "1", "Uno");
    editar("2", "3", "Dos");   // the key of the third row
    mensajes_.limpiar();
    v.pbGuardarCambios->click();
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡ Ya existe el registro !"}));
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '1'"), "Madrid");
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '2'"), "Bilbao");
    EXPECT_EQ(columna("Nombre"), QStringList({"Uno", "Dos", "Vigo"}));

    editar("3", "2", "Dos");
    v.pbGuardarCambios->click();
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '1'"), "Uno");
    EXPECT_EQ(valor("SELECT Nombre FROM T WHERE Codigo = '2'"), "Dos");
    EXPECT_EQ(v.ClientDataSet1->clientDataSet().changeCount(), 0);
}

TEST_P(Ejecutor, RowsExportedToSqlTxtAndPrintedUnderTheWindowsCaption)
{
    QTemporaryDir dir;
    const QString fichero = dir.filePath(QStringLiteral("SQL.TXT"));
    plat::setDialogScript([&](QObject *dialogo) {
        if (auto *guardarComo = qobject_cast<plat::SaveDialog *>(dialogo)) {
            EXPECT_EQ(QFileInfo(guardarComo->FileName).fileName(), "SQL.TXT");
            guardarComo->FileName = fichero;
        }
        return true;
    });
    guardar(QStringLiteral("Ventas del mes"), QStringLiteral("SELECT Codigo, Nombre FROM T ORDER BY Codigo"));
    TfGENEUSQL &v = abrir(QStringLiteral("Ventas del mes"));
    v.pbExportar->click();
    QFile texto(fichero);
    ASSERT_TRUE(texto.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(texto.readAll()).contains(QStringLiteral("Bilbao")));

    const QString pdf = dir.filePath(QStringLiteral("listado.pdf"));
    ImpresoraPdf impresora(pdf);
    ServicioImpresorasInstalado instalada(impresora);
    mensajes_.programarRespuestas({"NO"});
    v.pbImprimir->click();
    EXPECT_EQ(fGENELPRO, nullptr);
    QProcess lector;
    lector.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(lector.waitForFinished());
    const QString leido = QString::fromUtf8(lector.readAllStandardOutput());
    EXPECT_TRUE(leido.contains(QStringLiteral("Ventas del mes"))) << leido.toStdString();
    EXPECT_TRUE(leido.contains(QStringLiteral("Vigo"))) << leido.toStdString();
}

// The runner's files leave out what its grid hides for the user, as the console's do.
TEST_P(Ejecutor, ExportsLeaveOutTheFieldsHiddenForTheUser)
{
    guardar(QStringLiteral("Importes"), QStringLiteral("SELECT Codigo, Importe FROM T ORDER BY Codigo"));
    for (const QString oculto : {"", "Importe"}) {
        SCOPED_TRACE(oculto.toStdString());
        fGENEINIC->CamposNoVisibles = oculto;
        TfGENEUSQL &v = abrir(QStringLiteral("Importes"));
        const QString texto = exportado(*v.pbExportar, QStringLiteral("SQL.TXT"));
        const QString libro = exportado(*v.pbExportarExcel, QStringLiteral("SQL.xlsx"));
        EXPECT_EQ(texto.section(QStringLiteral("\r\n"), 0, 0),
                  oculto.isEmpty() ? "CamposCabecera=Codigo|Importe|" : "CamposCabecera=Codigo|");
        EXPECT_EQ(texto.contains("10,5"), oculto.isEmpty()) << texto.toStdString();
        EXPECT_EQ(libro.contains("Importe"), oculto.isEmpty()) << libro.toStdString();
        EXPECT_TRUE(libro.contains("Codigo"));
    }
}

INSTANTIATE_TEST_SUITE_P(Motores, Ejecutor, ::testing::Bool(), NombreMotor);
