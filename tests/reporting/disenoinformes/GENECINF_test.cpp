#include "GENEW/reporting/GENECINF.h"

#include "GENEW/data/GENECOPI.h"
#include "GENEW/reporting/GENEUINF.h"
#include "GENEW/data/SalidaInforme.h"
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/report/PreparedReport.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "tests/data/ModuloFixture.h"
#include "tests/reporting/BotonesConIcono.h"

#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A started program (on each engine) with an administrator, the designer open and the
// selection dialog scripted: each call takes the next answer and records its title.
class Disenador : public ModuloMotorTest
{
protected:
    void SetUp() override
    {
        marco_ = new plat::Form();
        marco_->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco_);
        marco_->Show();
        ModuloMotorTest::SetUp();
        if (IsSkipped())
            return;
        sql(QStringLiteral("INSERT INTO USUARIO (Codigo, Nombre, Categoria) VALUES ('ADMIN', 'Admin', 'Administrador')"),
            QStringLiteral("DatabaseGeneral"));
        sql(QStringLiteral("INSERT INTO USUARIO (Codigo, Nombre, Categoria) VALUES ('JUAN', 'Juan', 'Normal')"),
            QStringLiteral("DatabaseGeneral"));
        fGENEINIC->UsuarioActual = QStringLiteral("ADMIN");
        fGENEINIC->PuntosEntrada.SeleccionarDeLista = [this](const QString &lista, const QString &opciones) {
            ofrecidas_ << lista;
            titulos_ << LeerValorDeLista(QStringLiteral("Titulo"), opciones);
            return elecciones_.isEmpty() ? QString() : elecciones_.takeFirst();
        };
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        if (d_)
            d_->Free();
        plat::application().OnModalShown = nullptr;
        plat::setDialogScript(nullptr);
        ModuloMotorTest::TearDown();
        plat::application().setMainForm(nullptr);
        delete marco_;
    }

    TfGENECINF &abrir()
    {
        if (d_)
            d_->Free();
        d_ = plat::createForm<TfGENECINF>();
        return *d_;
    }

    QString valor(const QString &consulta)
    {
        return fGENEINIC->Database().scalar(consulta, {}, plat::SqlOrigin::AsWritten).toString();
    }

    QStringList informes()
    {
        return lineas(sql(QStringLiteral("SELECT Descripcion FROM FILTRO WHERE NombreTabla = 'GeneradorInformes' ORDER BY Descripcion")));
    }

    static QStringList lineas(const QString &texto) { return texto.split(kCrLf, Qt::SkipEmptyParts); }

    QString instrucciones(const QString &nombre)
    {
        return valor(QStringLiteral("SELECT Instrucciones FROM FILTRO WHERE NombreTabla = 'GeneradorInformes' AND Descripcion = '%1'")
                         .arg(QString(nombre).replace(u'\'', QStringLiteral("''"))));
    }

    // Presses a list's button with the selections and prompt answers scripted.
    void pulsar(const QString &boton, const QStringList &elecciones, const QStringList &respuestas = {})
    {
        elecciones_ = elecciones;
        mensajes_.programarRespuestas(respuestas);
        auto *b = d_->findChild<plat::SpeedButton *>(boton);
        ASSERT_TRUE(b) << boton.toStdString();
        b->click();
    }

    // The darkest pixel of a list's row: the colour its text is drawn in (its edges are blends
    // towards the white background).
    static QColor tinta(plat::ListBox *lista, int fila)
    {
        lista->resize(300, 200);
        lista->doItemsLayout();
        const QImage imagen = lista->viewport()->grab().toImage();
        const QRect r = lista->visualItemRect(lista->item(fila));
        QColor oscuro = Qt::white;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = imagen.pixelColor(x, y);
                if (c.red() + c.green() + c.blue() < oscuro.red() + oscuro.green() + oscuro.blue())
                    oscuro = c;
            }
        return oscuro;
    }

    void seleccionar(plat::ListBox *lista, const QString &texto)
    {
        lista->setCurrentRow(lista->items().indexOf(texto));
        ASSERT_GE(lista->currentRow(), 0) << texto.toStdString();
    }

    // A report of the two project tables: a link, a group on the chapter and a sum of the amount.
    void componer()
    {
        pulsar("pbAgregarLBTablas", {"LPROYECT\r\nPROYECT\r\n"});
        pulsar("pbAgregarLBColumnas", {"LPROYECT.Capitulo\r\nLPROYECT.Descripcion\r\nLPROYECT.Importe\r\n"});
        pulsar("pbAgregarLBVinculos", {"LPROYECT.CodigoProyecto", "PROYECT.Codigo"});
        pulsar("pbAgregarLBGrupos", {"LPROYECT.Capitulo"});
        pulsar("pbAgregarLBSumatorios", {"LPROYECT.Importe"});
        pulsar("pbAgregarLBOrdenacion", {"LPROYECT.Capitulo"});
    }

    plat::Form *marco_ = nullptr;
    TfGENECINF *d_ = nullptr;
    QStringList elecciones_, ofrecidas_, titulos_;
};

} // namespace

TEST_P(Disenador, ListsEditedThroughTheirDialogsWithTheirReferences)
{
    TfGENECINF &d = abrir();
    EXPECT_EQ(d.edNombreInforme->text(), "");
    pulsar("pbAgregarLBTablas", {"LPROYECT\r\nPROYECT\r\n"});
    EXPECT_EQ(titulos_.last(), "Seleccion de Tablas");
    EXPECT_TRUE(ofrecidas_.last().contains("CLIENTE\r\n"));
    EXPECT_FALSE(ofrecidas_.last().contains("USUARIO"));   // a table of the general database
    pulsar("pbAgregarLBTablas", {"PROYECT\r\n"});
    EXPECT_EQ(d.LBTablas->items(), QStringList({"LPROYECT", "PROYECT"}));

    pulsar("pbAgregarLBColumnas", {"_Expresion\r\nPROYECT.Codigo\r\nLPROYECT.Importe\r\nLPROYECT.FechaInicio\r\n"}, {""});
    EXPECT_TRUE(ofrecidas_.last().startsWith("_Expresion\r\n_Expresion_GrupoAnalisis\r\nLPROYECT.CodigoProyecto\r\n"));
    pulsar("pbAgregarLBColumnas", {"PROYECT.Codigo\r\n"});
    EXPECT_EQ(d.Definicion.Columnas, QStringList({"PROYECT.Codigo", "LPROYECT.Importe", "LPROYECT.FechaInicio"}));

    // Restrictions: each relation and value kind.
    const struct
    {
        QStringList elecciones, respuestas;
        QString item;
    } restricciones[] = {
        {{"LPROYECT.Importe", "Mayor que", "_Una variable"}, {"Importe Minimo"}, "LPROYECT.Importe > :#ImporteMinimo"},
        {{"LPROYECT.FechaInicio", "Mayor o igual que", "_Una variable"}, {"Desde"}, "LPROYECT.FechaInicio >= :&Desde"},
        {{"PROYECT.Codigo", "Igual a", "_Una variable"}, {"P"}, "PROYECT.Codigo = :$P"},
        {{"PROYECT.Codigo", "Incluido en", "_Una variable multiple"}, {"Lista"}, "PROYECT.Codigo IN ( :*Lista )"},
        {{"PROYECT.Codigo", "No incluido en", "_Una constante multiple"}, {"a , b,"}, "PROYECT.Codigo NOT IN ('a','b')"},
        {{"PROYECT.NombreCliente", "Distinto de", "_Una constante"}, {"O'Brien"}, "PROYECT.NombreCliente <> 'O''Brien'"},
        {{"PROYECT.Descripcion", "Igual a", "PROYECT.NombreCliente"}, {}, "PROYECT.Descripcion = PROYECT.NombreCliente"},
    };
    for (const auto &r : restricciones) {
        pulsar("pbAgregarLBRestricciones", r.elecciones, r.respuestas);
        EXPECT_EQ(d.Definicion.Restricciones.last(), r.item);
    }
    EXPECT_EQ(titulos_.mid(titulos_.size() - 3),
              QStringList({"Seleccion de Campo (Parte A)", "Seleccion de Relación", "Seleccion de Campo (Parte B)"}));
    EXPECT_TRUE(ofrecidas_.last().startsWith("_Una constante\r\n_Una variable*\r\n"));
    const int antes = int(d.Definicion.Restricciones.size());
    pulsar("pbAgregarLBRestricciones", {"PROYECT.Codigo", ""});   // the relation dialog cancelled
    EXPECT_EQ(d.Definicion.Restricciones.size(), antes);

    pulsar("pbAgregarLBVinculos", {"LPROYECT.CodigoProyecto", "PROYECT.Codigo"});
    pulsar("pbAgregarLBVinculos", {"PROYECT.NombreCliente", "Una constante"}, {"O'Brien"});
    EXPECT_EQ(d.Definicion.Vinculos, QStringList({"LPROYECT.CodigoProyecto = PROYECT.Codigo", "PROYECT.NombreCliente = 'O''Brien'"}));

    // A title edit reaches ordering, groups and sums; a double click toggles DESC.
    pulsar("pbAgregarLBOrdenacion", {"LPROYECT.Importe\r\n"});
    pulsar("pbAgregarLBSumatorios", {"LPROYECT.Importe\r\n"});
    EXPECT_TRUE(ofrecidas_.last() == "LPROYECT.Importe\r\n");   // the only float column
    seleccionar(d.LBOrdenacion, "LPROYECT.Importe");
    d.LBOrdenacionDblClick(d.LBOrdenacion);
    EXPECT_EQ(d.Definicion.Ordenacion, QStringList({"LPROYECT.Importe DESC"}));
    EXPECT_TRUE(d.MemoSentenciaSQL->text().contains("ORDER BY LPROYECT.Importe DESC"));
    seleccionar(d.LBColumnas, "LPROYECT.Importe");
    mensajes_.programarRespuestas({"Total"});
    d.LBColumnasDblClick(d.LBColumnas);
    EXPECT_EQ(mensajes_.mensajes().last().texto, "Introduzca el Título para la columna Importe");
    EXPECT_EQ(d.Definicion.Ordenacion, QStringList({"LPROYECT.Importe AS 'Total' DESC"}));
    EXPECT_EQ(d.Definicion.Sumatorios, QStringList({"LPROYECT.Importe AS 'Total'"}));
    seleccionar(d.LBColumnas, "PROYECT.Codigo");
    mensajes_.programarRespuestas({"Codigo"});
    d.LBColumnasDblClick(d.LBColumnas);
    EXPECT_EQ(d.Definicion.Columnas.first(), "PROYECT.Codigo");

    // Deleting a column asks and takes its ordering and sums; deleting table PROYECT its link.
    seleccionar(d.LBColumnas, "LPROYECT.Importe AS 'Total'");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    d.pbEliminarLBClick(d.findChild<QObject *>("pbEliminarLBColumnas"));
    EXPECT_EQ(mensajes_.textos(), QStringList({"Esta acción eliminará todas las referencias del informe a la columna "
                                               "LPROYECT.Importe. ¿Está seguro de continuar?"}));
    EXPECT_EQ(d.Definicion.Columnas.size(), 3);
    mensajes_.programarRespuestas({"SI"});
    d.pbEliminarLBClick(d.findChild<QObject *>("pbEliminarLBColumnas"));
    EXPECT_EQ(d.Definicion.Columnas, QStringList({"PROYECT.Codigo", "LPROYECT.FechaInicio"}));
    EXPECT_TRUE(d.Definicion.Ordenacion.isEmpty());
    EXPECT_TRUE(d.Definicion.Sumatorios.isEmpty());
    EXPECT_EQ(d.LBColumnas->currentRow(), 0);

    seleccionar(d.LBTablas, "PROYECT");
    d.LBTablas->setFocus();
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    d.EliminarElementoListaClick(d.EliminarElementoLista1);
    EXPECT_EQ(mensajes_.textos().value(0), "Esta acción eliminará todas las referencias del informe a la tabla PROYECT. "
                                           "¿Está seguro de continuar?");
    EXPECT_EQ(d.Definicion.Tablas, QStringList({"LPROYECT"}));
    EXPECT_EQ(d.Definicion.Columnas, QStringList({"LPROYECT.FechaInicio"}));
    EXPECT_TRUE(d.Definicion.Vinculos.isEmpty());
    EXPECT_EQ(d.Definicion.Restricciones, QStringList({"LPROYECT.Importe > :#ImporteMinimo", "LPROYECT.FechaInicio >= :&Desde"}));
    EXPECT_EQ(d.MemoSentenciaSQL->text(), "SELECT LPROYECT.FechaInicio\r\nFROM LPROYECT\r\n"
                                          "WHERE LPROYECT.Importe > :#ImporteMinimo AND LPROYECT.FechaInicio >= :&Desde\r\n");

    // The pop-up's entries in their order; up and down on the focused list.
    QStringList entradas;
    for (plat::MenuItem *m : {d.SubirElementoLista1, d.BajarElementoLista1, d.AgregarElementoLista1, d.EliminarElementoLista1})
        entradas << m->caption();
    EXPECT_EQ(entradas, QStringList({"Subir el elemento seleccionado de la lista", "Bajar el elemento seleccionado de la lista",
                                     "Agregar un elemento a la lista", "Eliminar el elemento seleccionado de la lista"}));
    seleccionar(d.LBRestricciones, "LPROYECT.FechaInicio >= :&Desde");
    d.LBRestricciones->setFocus();
    d.SubirElementoListaClick(d.SubirElementoLista1);
    EXPECT_EQ(d.Definicion.Restricciones.first(), "LPROYECT.FechaInicio >= :&Desde");
    EXPECT_EQ(d.LBRestricciones->currentRow(), 0);
    d.SubirElementoListaClick(d.SubirElementoLista1);   // nothing above the first
    EXPECT_EQ(d.Definicion.Restricciones.first(), "LPROYECT.FechaInicio >= :&Desde");
}

TEST_P(Disenador, GroupsHideTheirGridColumnAndTheGridReordersAndFitsTheColumns)
{
    TfGENECINF &d = abrir();
    componer();
    plat::StringGrid &g = *d.SGFormatoColumnas;
    ASSERT_EQ(g.colCount(), 3);
    d.LBColumnas->setCurrentRow(-1);
    EXPECT_GE(tinta(d.LBColumnas, 0).red(), 0xA0);   // the group, silver
    EXPECT_LT(tinta(d.LBColumnas, 1).red(), 0x40);
    d.LBOrdenacion->setCurrentRow(-1);
    EXPECT_LT(tinta(d.LBOrdenacion, 0).blue(), 0x40);
    d.LBOrdenacion->setCurrentRow(0);
    d.LBOrdenacionDblClick(d.LBOrdenacion);
    d.LBOrdenacion->setCurrentRow(-1);
    const QColor desc = tinta(d.LBOrdenacion, 0);   // " DESC", blue
    EXPECT_GT(desc.blue(), 0xC0);
    EXPECT_LT(desc.red(), 0x40);
    EXPECT_EQ(g.colWidth(0), -1);   // the group prints in its header
    EXPECT_EQ(g.cell(0, 0), "Capitulo");
    EXPECT_EQ(g.cell(2, 1), "LPROYECT.Importe");
    const int anchoDescripcion = QFontMetrics(g.font()).horizontalAdvance("Descripcion") + 8;
    EXPECT_EQ(g.colWidth(1), anchoDescripcion);

    // The column list follows a moved grid column.
    g.moveColumn(2, 1);
    EXPECT_EQ(d.LBColumnas->items(), QStringList({"LPROYECT.Capitulo", "LPROYECT.Importe", "LPROYECT.Descripcion"}));
    EXPECT_TRUE(d.MemoSentenciaSQL->text().startsWith("SELECT LPROYECT.Capitulo, LPROYECT.Importe, LPROYECT.Descripcion\r\n"));

    // Removing the group gives the column its title's width again.
    seleccionar(d.LBGrupos, "LPROYECT.Capitulo");
    d.pbEliminarLBClick(d.findChild<QObject *>("pbEliminarLBGrupos"));
    EXPECT_EQ(g.colWidth(0), QFontMetrics(g.font()).horizontalAdvance("Capitulo") + 8);

    // Auto-fit: a cancelled or unusable answer changes nothing; 190 portrait fills 570 pixels.
    g.setColWidth(1, -1);
    QList<int> antes;
    for (int c = 0; c < g.colCount(); ++c)
        antes << g.colWidth(c);
    for (const QString respuesta : {"", "cero", "0"}) {
        mensajes_.programarRespuestas({respuesta});
        d.pbAutoajusteClick(d.pbAutoajuste);
        QList<int> ahora;
        for (int c = 0; c < g.colCount(); ++c)
            ahora << g.colWidth(c);
        EXPECT_EQ(ahora, antes) << respuesta.toStdString();
    }
    mensajes_.limpiar();
    d.pbAutoajusteClick(d.pbAutoajuste);   // the proposed answer
    EXPECT_EQ(mensajes_.mensajes().value(0).respuestaPropuesta, "190");
    EXPECT_EQ(g.colWidth(1), -1);
    EXPECT_EQ(g.colWidth(0) + 1 + g.colWidth(2), 570);
    d.OrientacionApaisada->click();
    mensajes_.limpiar();
    mensajes_.programarRespuestas({""});
    d.pbAutoajusteClick(d.pbAutoajuste);
    EXPECT_EQ(mensajes_.mensajes().value(0).respuestaPropuesta, "277");
}

TEST_P(Disenador, TheStatementPaneShowsEveryChangeAndTheToolBarShowsPictures)
{
    TfGENECINF &d = abrir();
    d.resize(1100, 700);
    d.Show();
    const auto lineasSentencia = [&d] {
        QStringList l = d.MemoSentenciaSQL->text().split(kCrLf, Qt::SkipEmptyParts);
        for (QString &linea : l)
            linea = linea.simplified();
        return l;
    };
    const auto pagina = [&d] { return d.WebBrowser1->toPlainText().simplified(); };
    // Each change of the lists rewrites the page, which is read again every time.
    pulsar("pbAgregarLBTablas", {"LPROYECT\r\n"});
    EXPECT_TRUE(pagina().contains("FROM LPROYECT")) << pagina().toStdString();
    componer();
    mensajes_.limpiar();
    d.pbValidarInformeClick(d.pbValidarInforme);
    ASSERT_FALSE(lineasSentencia().isEmpty());
    for (const QString &linea : lineasSentencia())
        EXPECT_TRUE(pagina().contains(linea)) << linea.toStdString() << " not in: " << pagina().toStdString();
    EXPECT_TRUE(pagina().contains("PROYECT.Codigo")) << pagina().toStdString();
    gptest::GuardarCaptura(d, QStringLiteral("disenador-sentencia"));

    gptest::ComprobarBotonesConIcono(*d.PanelBotones);
    EXPECT_EQ(d.pbValidarInforme->hint(), "Validar el Informe actual");
}

TEST_P(Disenador, AnalysisGroupColumnReadsTheGroupOfARecordWithATwoColumnKey)
{
    sql("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('P1', 'Uno')");
    sql("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo) VALUES ('P1', 1, 'A')");
    sql("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo) VALUES ('P1', 2, 'B')");
    sql("INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('N', 'Norte', 'Zona')");
    sql("INSERT INTO GRANALIS (Codigo, Descripcion, CategoriaGrupo) VALUES ('S', 'Sur', 'Zona')");
    sql("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('LPROYECT', 'P1|2', 'S')");
    sql("INSERT INTO GRANTAB (NombreTabla, ClaveTabla, GrupoAnalisis) VALUES ('LPROYECT', 'P1|1', 'N')");
    TfGENECINF &d = abrir();
    pulsar("pbAgregarLBTablas", {"LPROYECT\r\n"});
    pulsar("pbAgregarLBColumnas", {"LPROYECT.Linea\r\n_Expresion_GrupoAnalisis\r\n", "LPROYECT\r\n"}, {"Zona"});
    EXPECT_EQ(titulos_.last(), "Seleccion de Tabla con G.Análisis");
    ASSERT_EQ(d.Definicion.Columnas.size(), 2);
    EXPECT_EQ(d.SGFormatoColumnas->cell(1, 0), "Zona");
    pulsar("pbAgregarLBOrdenacion", {"LPROYECT.Linea\r\n"});
    EXPECT_EQ(sql(d.MemoSentenciaSQL->text()), "1|Norte\r\n2|Sur");
}

TEST_P(Disenador, ReportsSavedLoadedAndDeletedInFiltro)
{
    TfGENECINF &d = abrir();
    mensajes_.programarRespuestas({"Ventas"});
    d.pbNuevoClick(d.pbNuevo);
    EXPECT_EQ(informes(), QStringList({"Ventas"}));
    EXPECT_FALSE(d.InformeModificado());
    componer();
    EXPECT_TRUE(d.InformeModificado());
    d.SGFormatoColumnasMouseUp(d.SGFormatoColumnas);   // the widths become the report's
    d.SepararPorPaginas->setChecked(true);
    d.pbGuardarClick(d.pbGuardar);
    EXPECT_FALSE(d.InformeModificado());
    const QString guardadas = instrucciones("Ventas");
    const QStringList claves = {"ListaTablas", "ListaColumnas", "ListaRestricciones", "ListaOrdenacion", "ListaVinculos",
                                "ListaGrupos", "ListaSumatorios", "FormatoColumnas", "Opciones", "UsuariosAutorizados",
                                "AplicacionesContenedoras"};
    QStringList leidas;
    for (const QString &linea : guardadas.split(kCrLf))
        leidas << linea.section(u'=', 0, 0);
    EXPECT_EQ(leidas, claves);
    EXPECT_FALSE(guardadas.endsWith(kCrLf));
    EXPECT_TRUE(guardadas.contains("\r\nListaVinculos=LPROYECT.CodigoProyecto = PROYECT.Codigo\r\n"));
    EXPECT_TRUE(guardadas.contains("\r\nOpciones=FormatoColumnar,SepararPorPaginas,\r\n"));
    EXPECT_TRUE(guardadas.contains("\r\nFormatoColumnas=-1|")) << guardadas.toStdString();
    EXPECT_EQ(valor("SELECT Filtro FROM FILTRO WHERE Descripcion = 'Ventas'"), d.MemoSentenciaSQL->text());

    // Loaded again in a new window: the same report, the same widths, nothing modified.
    const QString sentencia = d.MemoSentenciaSQL->text();
    const int anchoDescripcion = d.SGFormatoColumnas->colWidth(1);
    TfGENECINF &otra = abrir();
    EXPECT_EQ(otra.edNombreInforme->text(), "Ventas");
    EXPECT_EQ(otra.MemoSentenciaSQL->text(), sentencia);
    EXPECT_EQ(otra.SGFormatoColumnas->colWidth(0), -1);
    EXPECT_EQ(otra.SGFormatoColumnas->colWidth(1), anchoDescripcion);
    EXPECT_TRUE(otra.SepararPorPaginas->isChecked());
    EXPECT_FALSE(otra.InformeModificado());
    EXPECT_EQ(otra.ConstruirInstrucciones(), guardadas);

    // New: an existing name warns and changes nothing; an apostrophe is a name like any other.
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"Ventas"});
    otra.pbNuevoClick(otra.pbNuevo);
    EXPECT_EQ(mensajes_.textos().last(), "¡El nombre del informe indicado ya existe!");
    EXPECT_EQ(otra.edNombreInforme->text(), "Ventas");
    mensajes_.programarRespuestas({"Informe d'Ana"});
    otra.pbNuevoClick(otra.pbNuevo);
    EXPECT_EQ(informes(), QStringList({"Informe d'Ana", "Ventas"}));
    EXPECT_TRUE(otra.Definicion.Columnas.isEmpty());
    pulsar("pbAgregarLBTablas", {"CLIENTE\r\n"});
    pulsar("pbAgregarLBColumnas", {"CLIENTE.Nombre\r\n"});
    otra.pbGuardarClick(otra.pbGuardar);
    otra.CargarInforme("Ventas");
    otra.CargarInforme("Informe d'Ana");
    EXPECT_EQ(otra.Definicion.Tablas, QStringList({"CLIENTE"}));

    // Save as: under the new name, which is then the current one.
    mensajes_.programarRespuestas({"Copia"});
    otra.pbGuardarComoClick(otra.pbGuardarComo);
    EXPECT_EQ(otra.edNombreInforme->text(), "Copia");
    EXPECT_EQ(informes(), QStringList({"Copia", "Informe d'Ana", "Ventas"}));

    // Deleting: the previous name, or the first when none is before it; the last one leaves
    // an empty window.
    mensajes_.programarRespuestas({"NO"});
    otra.pbEliminarClick(otra.pbEliminar);
    EXPECT_EQ(informes().size(), 3);
    otra.CargarInforme("Informe d'Ana");
    mensajes_.programarRespuestas({"SI"});
    otra.pbEliminarClick(otra.pbEliminar);
    EXPECT_EQ(otra.edNombreInforme->text(), "Copia");
    mensajes_.programarRespuestas({"SI"});
    otra.pbEliminarClick(otra.pbEliminar);
    EXPECT_EQ(otra.edNombreInforme->text(), "Ventas");
    mensajes_.programarRespuestas({"SI"});
    otra.pbEliminarClick(otra.pbEliminar);
    EXPECT_EQ(otra.edNombreInforme->text(), "");
    EXPECT_TRUE(otra.Definicion.Tablas.isEmpty());
    EXPECT_TRUE(informes().isEmpty());
}

TEST_P(Disenador, AFailedSaveKeepsTheStoredReportAndSaysWhy)
{
    TfGENECINF &d = abrir();
    mensajes_.programarRespuestas({"Ventas"});
    d.pbNuevoClick(d.pbNuevo);
    pulsar("pbAgregarLBTablas", {"PROYECT\r\n"});
    pulsar("pbAgregarLBColumnas", {"PROYECT.Codigo\r\n"});
    d.pbGuardarClick(d.pbGuardar);
    const QString guardadas = instrucciones("Ventas");

    // A statement that fails its trial run: "NO" stores nothing.
    pulsar("pbAgregarLBColumnas", {"_Expresion\r\n"}, {"NoExiste + 1", "Malo"});
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    EXPECT_FALSE(d.GuardarInforme("Ventas", QString()));
    EXPECT_EQ(mensajes_.textos(), QStringList({"El informe contiene errores. ¿Desea continuar con la grabación?"}));
    EXPECT_EQ(instrucciones("Ventas"), guardadas);

    // The engine refuses the new row: the old one stays.
    if (GetParam()) {
        sql("CREATE FUNCTION gp_rechazo() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'rechazado'; END $$ LANGUAGE plpgsql");
        sql("CREATE TRIGGER rechazo BEFORE INSERT ON FILTRO FOR EACH ROW EXECUTE FUNCTION gp_rechazo()");
    } else {
        sql("CREATE TRIGGER rechazo BEFORE INSERT ON FILTRO BEGIN SELECT RAISE(ABORT, 'rechazado'); END");
    }
    mensajes_.limpiar();
    EXPECT_FALSE(d.GuardarInforme("Ventas", QStringLiteral("Nuevo")));
    ASSERT_FALSE(mensajes_.textos().isEmpty());
    EXPECT_TRUE(mensajes_.textos().last().startsWith("¡No ha sido posible grabar el registro!. Motivo: "));
    EXPECT_TRUE(mensajes_.textos().last().contains("rechazado")) << mensajes_.textos().last().toStdString();
    EXPECT_EQ(instrucciones("Ventas"), guardadas);
    EXPECT_TRUE(d.InformeModificado());
}

TEST_P(Disenador, ExportedReportImportsUnderANewNameByteForByte)
{
    QTemporaryDir dir;
    const QString fichero = dir.filePath("INFORME.TXT");
    QStringList titulos;
    plat::setDialogScript([&](QObject *dialogo) {
        titulos << dialogo->property("Title").toString();
        static_cast<plat::OpenDialog *>(dialogo)->FileName = fichero;
        return true;
    });
    TfGENECINF &d = abrir();
    mensajes_.programarRespuestas({"Ventas"});
    d.pbNuevoClick(d.pbNuevo);
    componer();
    pulsar("pbAgregarLBRestricciones", {"PROYECT.NombreCliente", "Distinto de", "_Una constante"}, {"O'Brien, Sr."});
    mensajes_.programarRespuestas({"SI"});
    d.pbExportarClick(d.pbExportar);
    ASSERT_TRUE(QFile::exists(fichero));
    QFile f(fichero);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    EXPECT_TRUE(bytes.startsWith("NombreTabla=GeneradorInformes\r\nDescripcion=Ventas\r\nFiltro=SELECT "));
    EXPECT_TRUE(bytes.contains("\xC2\xB7ListaColumnas=LPROYECT.Capitulo,"));

    mensajes_.programarRespuestas({"NO", "Ventas 2"});
    d.pbImportarClick(d.pbImportar);
    EXPECT_EQ(titulos, QStringList({"Exportar a un Archivo de Texto", "Importar desde un Archivo de Texto"}));
    EXPECT_EQ(d.edNombreInforme->text(), "Ventas 2");
    for (const char *campo : {"Filtro", "Instrucciones"})
        EXPECT_EQ(valor(QStringLiteral("SELECT %1 FROM FILTRO WHERE Descripcion = 'Ventas 2'").arg(campo)),
                  valor(QStringLiteral("SELECT %1 FROM FILTRO WHERE Descripcion = 'Ventas'").arg(campo)))
            << campo;

    // A Windows-1252 file with a key missing; then a name that exists.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("NombreTabla=GeneradorInformes\r\nDescripcion=Espa\xF1" "a\r\nInstrucciones=ListaTablas=CLIENTE\xB7ListaColumnas=CLIENTE.Nombre\r\n");
    f.close();
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    d.pbImportarClick(d.pbImportar);
    EXPECT_EQ(mensajes_.mensajes().last().respuestaPropuesta, "España");
    EXPECT_EQ(d.Definicion.Columnas, QStringList({"CLIENTE.Nombre"}));
    EXPECT_EQ(valor("SELECT Filtro FROM FILTRO WHERE Descripcion = 'España'"), "");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO", "Ventas"});
    d.pbImportarClick(d.pbImportar);
    EXPECT_TRUE(mensajes_.textos().last().startsWith("¡No ha sido posible grabar el registro!. Motivo: "));
    EXPECT_EQ(informes(), QStringList({"España", "Ventas", "Ventas 2"}));
}

TEST_P(Disenador, RightsChosenAndCopiedToTheChosenReportsOnly)
{
    TfGENECINF &d = abrir();
    for (const QString nombre : {"A", "B", "C"}) {
        mensajes_.programarRespuestas({nombre});
        d.pbNuevoClick(d.pbNuevo);
        pulsar("pbAgregarLBTablas", {"CLIENTE\r\n"});
        pulsar("pbAgregarLBColumnas", {"CLIENTE.Nombre\r\n"});
        d.pbGuardarClick(d.pbGuardar);
    }
    ASSERT_EQ(informes(), QStringList({"A", "B", "C"}));
    const QString instruccionesC = instrucciones("C");
    fGENEINIC->Configuracion.mapaNombres = MapaNombres::deTexto("p GESTION 100\r\np ALMACEN 300\r\n");
    d.Definicion.usuariosAutorizados = "JUAN,";
    pulsar("pbRestringirAUsuarios", {"ADMIN - Administrador\r\n"});
    EXPECT_TRUE(ofrecidas_.last().contains("\r\nJUAN - Juan*\r\n")) << ofrecidas_.last().toStdString();
    EXPECT_EQ(ofrecidas_.last().count(u'*'), 1);
    EXPECT_EQ(d.Definicion.usuariosAutorizados, "ADMIN,");
    EXPECT_EQ(mensajes_.textos().last(), "Recuerde que los cambios realizados no serán efectivos hasta que las aplicaciones "
                                         "de los usuarios afectados sean cerradas y abiertas de nuevo");
    pulsar("pbPersonalizarMenu", {"ALMACEN\r\nGESTION\r\n"});
    EXPECT_EQ(ofrecidas_.last(), "GESTION\r\nALMACEN\r\n");
    EXPECT_EQ(d.Definicion.aplicacionesContenedoras, "ALMACEN,GESTION,");
    EXPECT_TRUE(d.InformeModificado());

    pulsar("pbCopiarConfiguracion", {"A\r\nB\r\n"}, {"SI"});
    EXPECT_EQ(ofrecidas_.last(), "A\r\nB\r\nC\r\n") << ofrecidas_.last().toStdString();
    for (const QString nombre : {"A", "B"}) {
        const QString texto = instrucciones(nombre);
        EXPECT_TRUE(texto.endsWith("\r\nUsuariosAutorizados=ADMIN,\r\nAplicacionesContenedoras=ALMACEN,GESTION,")) << texto.toStdString();
        EXPECT_EQ(texto.section("\r\nUsuariosAutorizados=", 0, 0), instruccionesC.section("\r\nUsuariosAutorizados=", 0, 0));
    }
    EXPECT_EQ(instrucciones("C"), instruccionesC);   // the current report is saved by the user
}

TEST_P(Disenador, CopyToOtherCompaniesTakesTheReportsAndNoOtherFiltroRow)
{
    sql("INSERT INTO EMPRESA (Codigo, Nombre) VALUES (2, 'Filial')", "DatabaseGeneral");
    ASSERT_TRUE(fGENEINIC->CrearBaseDatosEmpresa(2));
    sql("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) VALUES ('SQL', 'Consulta', 'SELECT 1', '')");
    TfGENECINF &d = abrir();
    mensajes_.programarRespuestas({"Ventas"});
    d.pbNuevoClick(d.pbNuevo);
    auto copia = std::make_unique<TfGENECOPI>();
    copia->afterConstruction();
    fGENECOPI = copia.get();
    plat::application().OnModalShown = [](plat::Form &f) {
        auto &c = static_cast<TfGENECOPI &>(f);
        c.ListaEmpresas->setSelected(0, true);
        c.setModalResult(plat::mrOk);
    };
    mensajes_.programarRespuestas({"SI", "SI"});
    d.pbCopiarAOtrasEmpresasClick(d.pbCopiarAOtrasEmpresas);
    fGENECOPI = nullptr;
    plat::TableDataSet t;
    DataSetAbribleDe<plat::TableDataSet> abrible(t);
    fGENEINIC->AsignarBaseDatos(abrible, 2);
    const plat::QueryResult r = t.connection()->query("SELECT NombreTabla, Descripcion FROM FILTRO ORDER BY Descripcion");
    QStringList filas;
    for (const auto &row : r.rows)
        filas << row[0].toString() + u'/' + row[1].toString();
    EXPECT_EQ(filas, QStringList({"GeneradorInformes/Ventas"}));
}

TEST_P(Disenador, PrintSavesAModifiedReportFirstAndOpensOneRunnerOnIt)
{
    TfGENECINF &d = abrir();
    mensajes_.programarRespuestas({"Ventas"});
    d.pbNuevoClick(d.pbNuevo);
    componer();
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    d.pbImprimirClick(d.pbImprimir);
    EXPECT_EQ(mensajes_.textos(), QStringList({"El informe debe ser guardado antes de imprimir. ¿Desea continuar?"}));
    EXPECT_EQ(fGENEUINF, nullptr);
    mensajes_.programarRespuestas({"SI"});
    d.pbImprimirClick(d.pbImprimir);
    ASSERT_NE(fGENEUINF, nullptr);
    EXPECT_EQ(fGENEUINF->Informe, "Ventas");
    EXPECT_FALSE(d.InformeModificado());
    const QPointer<TfGENEUINF> primero = fGENEUINF;
    d.pbImprimirClick(d.pbImprimir);   // saved: no question, the open runner replaced
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(primero.isNull());
    ASSERT_NE(fGENEUINF, nullptr);
    EXPECT_NE(fGENEUINF, primero.data());
    fGENEUINF->Close();
}

namespace {

// The printer of the end-to-end case: the listing's pages into a PDF file.
class ImpresoraPdf : public ServicioImpresorasInforme
{
public:
    explicit ImpresoraPdf(QString fichero) : fichero_(std::move(fichero)) {}
    QStringList nombres() const override { return {QStringLiteral("PDF")}; }
    void imprimir(plat::PreparedReport &informe) override
    {
        auto &listado = dynamic_cast<Informe &>(informe);
        escrito = escribirPdf(listado.impresora()->paginas(), fichero_, listado.paper(), listado.orientation());
    }
    bool escrito = false;

private:
    QString fichero_;
};

} // namespace

TEST_P(Disenador, AReportComposedInTheWindowPrintsItsGroupsAndSumsThroughTheRunner)
{
    sql("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('P1', 'Uno')");
    sql("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('P2', 'Dos')");
    const struct
    {
        const char *proyecto, *capitulo, *descripcion;
        int linea, importe;
    } lineas[] = {{"P1", "Cimientos", "Zanjas", 1, 120}, {"P1", "Cimientos", "Hormigón", 2, 230},
                  {"P1", "Estructura", "Pilares", 3, 75}, {"P2", "Cimientos", "Otro", 1, 999}};
    for (const auto &l : lineas)
        sql(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, Importe) VALUES ('%1', %2, '%3', '%4', %5)")
                .arg(l.proyecto).arg(l.linea).arg(l.capitulo, l.descripcion).arg(l.importe));
    QTemporaryDir dir;
    ImpresoraPdf impresora(dir.filePath("informe.pdf"));
    ServicioImpresorasInstalado instalada(impresora);
    plat::setDialogScript([](QObject *dialogo) { return qobject_cast<plat::PrintDialog *>(dialogo) != nullptr; });

    TfGENECINF &d = abrir();
    mensajes_.programarRespuestas({"Capítulos"});
    d.pbNuevoClick(d.pbNuevo);
    componer();
    pulsar("pbAgregarLBRestricciones", {"PROYECT.Codigo", "Igual a", "_Una variable"}, {"Proyecto"});
    mensajes_.programarRespuestas({"SI"});
    d.pbImprimirClick(d.pbImprimir);
    ASSERT_NE(fGENEUINF, nullptr);
    ASSERT_EQ(fGENEUINF->ValoresVariables.size(), 1);
    fGENEUINF->ValoresVariables[0]->setText("P1");
    fGENEUINF->VisualizacionPrevia->setChecked(false);
    mensajes_.limpiar();
    fGENEUINF->pbListar->click();
    ASSERT_TRUE(impresora.escrito) << mensajes_.textos().join("\n").toStdString();
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", dir.filePath("informe.pdf"), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString texto = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(texto.contains("Cimientos")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("Estructura"));
    EXPECT_TRUE(texto.contains("350")) << texto.toStdString();   // the group's sum: 120 + 230
    EXPECT_TRUE(texto.contains("425"));                          // the total of P1
    EXPECT_FALSE(texto.contains("Otro"));                        // P2 left out by the variable
    fGENEUINF->Close();
}

INSTANTIATE_TEST_SUITE_P(Motores, Disenador, ::testing::Bool(), NombreMotor);
