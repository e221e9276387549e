#include "GENEW/reporting/GENEUINF.h"

#include "GENEW/data/servicios/ParametrosGenerales.h"
#include "GENEW/data/modulo/SalidaInforme.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/personalizados/DefinicionInforme.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/ValueText.h"
#include "platform/report/PreparedReport.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "tests/reporting/consultas/ProgramaConsultas.h"

#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

// What the listing was asked for, as the printer of the tests sees it while it prints.
struct Peticion
{
    bool ficha = false;
    int columnasFicha = 0, lineasMemo = 0;
    QString formatoColumnas, sumatorios, grupos;
    QList<bool> ocultos;   // each field hidden from the columns (Tag 999)
    QStringList campos;
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
    QString titulo;
};

class ImpresoraPeticiones : public ServicioImpresorasInforme
{
public:
    QStringList nombres() const override { return {QStringLiteral("Oficina")}; }
    void imprimir(plat::PreparedReport &informe) override
    {
        Peticion p;
        p.ficha = fGENELPRO->FormatoFicha;
        p.columnasFicha = fGENELPRO->NumeroColumnasFicha;
        p.lineasMemo = fGENELPRO->NumeroLineasMemoFicha;
        p.formatoColumnas = fGENELPRO->FormatoColumnas;
        p.sumatorios = fGENELPRO->Sumatorios;
        p.grupos = fGENELPRO->Grupos;
        plat::DataSet *datos = fGENELPRO->QuickReport->DataSet;
        for (int i = 0; i < datos->fieldCount(); ++i)
            p.ocultos << (datos->field(i).tag == 999);
        p.campos = datos->fieldNames();
        p.orientacion = informe.orientation();
        p.titulo = fGENELPRO->QuickReport->ReportTitle;
        peticiones << p;
        if (!pdf.isEmpty())
            EscribirInformePDF(informe, pdf);
    }
    QList<Peticion> peticiones;
    QString pdf;
};

const QString kSentencia = QStringLiteral("SELECT Codigo, Nombre, Importe FROM T\r\nWHERE Importe >= :#Importe AND "
                                          "Nombre <> :$NombreExcluido AND HoraInicio >= :&Desde\r\nORDER BY Codigo");

// Custom reports run in their window over the program, printed on the test printer.
class InformePersonalizado : public ProgramaConsultas
{
protected:
    void SetUp() override
    {
        ProgramaConsultas::SetUp();
        if (IsSkipped())
            return;
        instalada_.emplace(impresora_);
        plat::setDialogScript([](QObject *dialogo) { return qobject_cast<plat::PrintDialog *>(dialogo) != nullptr; });
        plat::TableDataSet filtro;
        filtro.setTableName(QStringLiteral("FILTRO"));
        ASSERT_TRUE(modulo_->AbrirTabla(filtro));   // made on first use
    }

    void liberarVentana() override
    {
        instalada_.reset();
        if (ventana_)
            ventana_->Free();
    }

    void guardar(const QString &nombre, const QString &sentencia, const DefinicionInforme &definicion = {})
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) "
                                     "VALUES ('GeneradorInformes', %1, %2, %3)")
                          .arg(Entrecomillar(nombre), Entrecomillar(sentencia),
                               Entrecomillar(ConstruirInstrucciones(definicion)))),
                  QString());
    }

    // The runner as the menu opens it: the name first, then the window.
    TfGENEUINF *abrir(const QString &nombre)
    {
        if (ventana_)
            ventana_->Free();
        mensajes_.limpiar();
        NombreInforme = nombre;
        ventana_ = plat::createForm<TfGENEUINF>();
        QCoreApplication::sendPostedEvents();
        if (ventana_)
            ventana_->VisualizacionPrevia->setChecked(false);
        return ventana_;
    }

    void poner(const QString &caja, const QString &texto) { ventana_->findChild<plat::Edit *>(caja)->setText(texto); }

    QStringList codigos()
    {
        plat::DataSet &datos = ventana_->ClientDataSet1->dataSet();
        QStringList valores;
        if (datos.active())
            for (datos.first(); !datos.eof(); datos.next())
                valores << datos.fieldByName(QStringLiteral("Codigo")).asString();
        return valores;
    }

    ImpresoraPeticiones impresora_;
    std::optional<ServicioImpresorasInstalado> instalada_;
    QPointer<TfGENEUINF> ventana_;
};

} // namespace

TEST_P(InformePersonalizado, RestrictionsAskedInOneColumnCheckedAndBound)
{
    guardar(QStringLiteral("Importes"), kSentencia);
    TfGENEUINF *v = abrir(QStringLiteral("Importes"));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->caption(), "Importes");
    EXPECT_EQ(v->PanelParametrosInterno->height(), 5 * 24);
    ASSERT_EQ(v->EtiquetasVariables.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(v->EtiquetasVariables[i]->geometry(), QRect(62, (i + 1) * 24 + 5, 100, 13)) << i;
        EXPECT_EQ(v->ValoresVariables[i]->geometry(), QRect(170, (i + 1) * 24 + 1, 140, 21)) << i;
    }
    EXPECT_EQ(v->EtiquetasVariables[1]->caption(), "Nombre Excluido");
    EXPECT_EQ(v->ValoresVariables[0]->text(), "0");
    EXPECT_EQ(v->ValoresVariables[2]->text(), "1/1/1900");

    poner(QStringLiteral("Importe"), QStringLiteral("abc"));
    poner(QStringLiteral("Desde"), QStringLiteral("mañana"));
    v->pbListar->click();
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡El valor de Importe es incorrecto! Repita por favor",
                                               "¡La fecha de Desde es incorrecta! Repita por favor"}));
    EXPECT_TRUE(impresora_.peticiones.isEmpty());

    // The number left at its default binds 0.
    poner(QStringLiteral("Importe"), QStringLiteral("0"));
    poner(QStringLiteral("Desde"), QStringLiteral("1/1/1899"));
    poner(QStringLiteral("NombreExcluido"), QStringLiteral("Bilbao"));
    mensajes_.limpiar();
    v->pbListar->click();
    EXPECT_EQ(mensajes_.textos(), QStringList());
    EXPECT_EQ(codigos(), QStringList({"1", "3"}));
    ASSERT_EQ(impresora_.peticiones.size(), 1);
    EXPECT_EQ(impresora_.peticiones[0].titulo, "Importes");
}

TEST_P(InformePersonalizado, ARepeatedNameIsAskedOnceAndTheRowsCountTheVisibleNames)
{
    guardar(QStringLiteral("Repetida"), QStringLiteral("SELECT Codigo FROM T WHERE Importe > :#Importe OR Importe = "
                                                       ":#Importe OR Nombre = :$Nombre ORDER BY Codigo"));
    TfGENEUINF *v = abrir(QStringLiteral("Repetida"));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->PanelParametrosInterno->height(), 4 * 24);
    EXPECT_TRUE(v->ValoresVariables[1]->isHidden());
    EXPECT_EQ(v->EtiquetasVariables[2]->geometry().top(), 2 * 24 + 5);
    poner(QStringLiteral("Importe"), QStringLiteral("7"));
    v->pbListar->click();
    EXPECT_EQ(codigos(), QStringList({"1", "3"}));
}

TEST_P(InformePersonalizado, AReportWithoutRestrictionsListsAtOnceAndAMissingOneIsNotAvailable)
{
    guardar(QStringLiteral("Todo"), QStringLiteral("SELECT Codigo, Nombre FROM T ORDER BY Codigo"));
    TfGENEUINF *v = abrir(QStringLiteral("Todo"));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->PanelParametrosInterno->caption(), "No hay restricciones definidas para este informe");
    v->pbListar->click();
    EXPECT_EQ(impresora_.peticiones.size(), 1);
    EXPECT_EQ(codigos(), QStringList({"1", "2", "3"}));

    EXPECT_EQ(abrir(QStringLiteral("No existe")), nullptr);
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡El informe no está disponible!"}));

    // With a translation language only a translated caption names a report.
    fGENEINIC->CodigoIdioma = QStringLiteral("Ingles");
    EXPECT_EQ(abrir(QStringLiteral("Todo")), nullptr);
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡El informe no está disponible!"}));
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) VALUES ('Ingles', 'Todo', 'All')"),
                  QStringLiteral("DatabaseGeneral")),
              QString());
    ASSERT_NE(abrir(QStringLiteral("All")), nullptr);
    EXPECT_EQ(ventana_->Informe, "Todo");
    EXPECT_EQ(NombreInforme, "Todo");
}

TEST_P(InformePersonalizado, ListItemsAreBoundOneTextEachNeverWrittenIntoTheStatement)
{
    guardar(QStringLiteral("Lista"), QStringLiteral("SELECT Codigo FROM T WHERE Codigo IN ( :*Codigos ) ORDER BY Codigo"));
    TfGENEUINF *v = abrir(QStringLiteral("Lista"));
    ASSERT_NE(v, nullptr);
    const struct
    {
        QString valor;
        QStringList codigos;
    } casos[] = {{"1, 3,", {"1", "3"}}, {"x\") OR (\"1\"=\"1", {}}, {"", {}}};
    for (const auto &caso : casos) {
        poner(QStringLiteral("Codigos"), caso.valor);
        v->pbListar->click();
        EXPECT_EQ(codigos(), caso.codigos) << caso.valor.toStdString();
    }
    EXPECT_EQ(mensajes_.textos(), QStringList());
}

TEST_P(InformePersonalizado, TheLayoutOptionsReachTheListing)
{
    DefinicionInforme columnas;
    columnas.Tablas = {"T"};
    columnas.Columnas = {"T.Codigo", "T.Nombre", "(T.Importe * 2) AS 'Total'"};
    columnas.Ordenacion = {"T.Nombre"};
    columnas.Grupos = {"T.Nombre"};
    columnas.Sumatorios = {"_Expresion AS 'Total'"};
    columnas.anchosColumnas = {60, kAnchoColumnaOculta, 90};
    columnas.opciones.orientacionApaisada = true;
    DefinicionInforme fichas = columnas;
    fichas.opciones.formatoFicha = true;
    fichas.opciones.numeroColumnasFicha = 2;
    fichas.opciones.numeroLineasMemoFicha = 5;
    fichas.opciones.orientacionApaisada = false;
    // The text the designer stores: the expression's title in single quotes.
    const QString sentencia = ConstruirSentenciaSQL(columnas);
    ASSERT_TRUE(sentencia.contains("AS 'Total'"));
    guardar(QStringLiteral("Columnas"), sentencia, columnas);
    guardar(QStringLiteral("Fichas"), sentencia, fichas);

    QTemporaryDir dir;
    impresora_.pdf = dir.filePath(QStringLiteral("informe.pdf"));
    abrir(QStringLiteral("Columnas"))->pbListar->click();
    ASSERT_EQ(impresora_.peticiones.size(), 1);
    const Peticion &c = impresora_.peticiones[0];
    EXPECT_FALSE(c.ficha);
    EXPECT_EQ(c.sumatorios, "Total");
    EXPECT_EQ(c.grupos, "Nombre");
    EXPECT_EQ(c.formatoColumnas, ConstruirFormatoColumnas(columnas.anchosColumnas, columnas.opciones));
    EXPECT_EQ(c.ocultos, QList<bool>({false, true, false}));
    EXPECT_EQ(c.campos, QStringList({"Codigo", "Nombre", "Total"}));
    EXPECT_EQ(c.orientacion, QPageLayout::Landscape);
    QProcess lector;
    lector.start(QStringLiteral("pdftotext"), {impresora_.pdf, QStringLiteral("-")});
    ASSERT_TRUE(lector.waitForFinished());
    const QString texto = QString::fromUtf8(lector.readAllStandardOutput());
    for (const char *visto : {"Columnas", "Bilbao", "Madrid", "Vigo", "41"})
        EXPECT_TRUE(texto.contains(QString::fromUtf8(visto))) << visto << "\n" << texto.toStdString();

    abrir(QStringLiteral("Fichas"))->pbListar->click();
    ASSERT_EQ(impresora_.peticiones.size(), 2);
    const Peticion &f = impresora_.peticiones[1];
    EXPECT_TRUE(f.ficha);
    EXPECT_EQ(f.columnasFicha, 2);
    EXPECT_EQ(f.lineasMemo, 5);
    EXPECT_EQ(f.sumatorios, "Ninguna");
    EXPECT_EQ(f.grupos, "");
    EXPECT_EQ(f.formatoColumnas, "");
    EXPECT_EQ(f.ocultos, QList<bool>({false, false, false}));
    EXPECT_EQ(f.orientacion, QPageLayout::Portrait);
}

// "Listar Solo Totales": the group footers and the grand total are the engine's own sums, a
// NULL amount adding nothing and a group of one row summing that row; the rows stay in
// ClientDataSet1 for the next listing.
TEST_P(InformePersonalizado, TotalsOnlyListTheSumsOfAGroupBy)
{
    for (const char *fila : {"('4', 'Madrid', NULL)", "('5', 'Madrid', 2.25)", "('6', 'Bilbao', 1.5)"})
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO T (Codigo, Nombre, Importe) VALUES %1").arg(QString::fromLatin1(fila))),
                  QString());
    DefinicionInforme definicion;
    definicion.Tablas = {"T"};
    definicion.Columnas = {"T.Nombre", "T.Codigo", "T.Importe"};
    definicion.Ordenacion = {"T.Nombre"};
    definicion.Grupos = {"T.Nombre"};
    definicion.Sumatorios = {"T.Importe"};
    guardar(QStringLiteral("Totales"), ConstruirSentenciaSQL(definicion), definicion);

    QTemporaryDir dir;
    impresora_.pdf = dir.filePath(QStringLiteral("totales.pdf"));
    TfGENEUINF *v = abrir(QStringLiteral("Totales"));
    ASSERT_NE(v, nullptr);
    v->ListarSoloTotales->setChecked(true);
    v->pbListar->click();
    ASSERT_EQ(impresora_.peticiones.size(), 1);
    EXPECT_EQ(codigos().size(), 6);

    QStringList esperadas;
    const plat::QueryResult grupos = db().query(
        QStringLiteral("SELECT Nombre, SUM(Importe) FROM T GROUP BY Nombre ORDER BY Nombre"), {}, plat::SqlOrigin::AsWritten);
    ASSERT_EQ(grupos.rows.size(), 3);
    for (const QVariantList &grupo : grupos.rows)
        esperadas << plat::formatFloat(FormatoNumericoEstandar, grupo.value(1).toDouble());
    esperadas << plat::formatFloat(FormatoNumericoEstandar, valor(QStringLiteral("SELECT SUM(Importe) FROM T")).toDouble());

    QProcess lector;
    lector.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), impresora_.pdf, QStringLiteral("-")});
    ASSERT_TRUE(lector.waitForFinished());
    const QString texto = QString::fromUtf8(lector.readAllStandardOutput());
    // Between the column titles and the page's foot only the sums print, one a line.
    const QStringList lineas = texto.split(u'\n');
    QStringList impresas;
    bool cuerpo = false;
    for (const QString &linea : lineas) {
        if (linea.contains(QStringLiteral("Página")))
            break;
        if (cuerpo && !linea.trimmed().isEmpty())
            impresas << linea.trimmed();
        cuerpo = cuerpo || linea.contains(QStringLiteral("Importe"));
    }
    EXPECT_EQ(impresas, esperadas) << texto.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, InformePersonalizado, ::testing::Bool(), NombreMotor);
