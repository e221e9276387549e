// The layout editor on SQLite and PostgreSQL: checks, continuous entry, failures from engine
// triggers, the company choice and help, keys, printers, the text file tools, the simulation
// through the print engine, and its opening from a layout selector.
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/reporting/impresos/GENEIMPR.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Keys.h"
#include "tests/data/MaestroFixture.h"
#include "tests/reporting/impresos/MotorPrueba.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QTest>
#include <QTextItem>

namespace {

// What a page draws: its texts and how many pictures.
class MotorRecuento : public QPaintEngine
{
public:
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { ++imagenes; }
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override { ++imagenes; }
    void drawTextItem(const QPointF &, const QTextItem &t) override { textos << t.text(); }
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    Type type() const override { return User; }
    QStringList textos;
    int imagenes = 0;
};

class PaginaRecuento : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &motor; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: case PdmHeight: return 2000;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 1000;
        }
    }
    mutable MotorRecuento motor;
};

class EditorImpresos : public MaestroFixture
{
protected:
    TfGENEIMPR &abrir()
    {
        TfGENEIMPR &f = abrirVentana<TfGENEIMPR>();
        f.Table1->table().first();
        return f;
    }
    TfGENEIMPR &ventana() { return *qobject_cast<TfGENEIMPR *>(ventana_.data()); }
    plat::TableDataSet &tabla() { return ventana().Table1->table(); }

    void impreso(const QString &codigo, const QString &descripcion, const QString &instrucciones = QString(),
                 const QString &impresora = QStringLiteral("Predeterminada"))
    {
        ASSERT_EQ(sql(QStringLiteral("INSERT INTO IMPRESO (Codigo, Descripcion, TipoDocumento, Modo, Instrucciones, "
                                     "Formato, ImpresoraPorDefecto) VALUES (%1, %2, 'Albaran', 'Grafico', %3, 'A4', %4)")
                          .arg(Entrecomillar(codigo), Entrecomillar(descripcion), Entrecomillar(instrucciones),
                               Entrecomillar(impresora))),
                  QString());
    }
    QString campo(const QString &codigo, const QString &nombre)
    {
        return sql(QStringLiteral("SELECT %1 FROM IMPRESO WHERE Codigo = '%2'").arg(nombre, codigo));
    }
    int cuantos() { return sql("SELECT COUNT(*) FROM IMPRESO").toInt(); }
    void pulsar(int tecla) { ventana().FormKeyDown(&ventana(), tecla, {}); }
    QString valor(const char *nombre) { return tabla().fieldByName(QString::fromLatin1(nombre)).asString(); }

    // The window made once (which makes the table), then two layouts.
    void conDosImpresos()
    {
        abrir();
        delete ventana_.data();
        impreso("A", "Albarán");
        impreso("F", "Factura");
        mensajes_.limpiar();
    }
    // Types into the key of a new record and leaves it towards destino.
    void salirDeClave(const QString &codigo, QWidget *destino)
    {
        TfGENEIMPR &f = ventana();
        f.EditCodigo->setFocus();
        f.EditCodigo->selectAll();
        QTest::keyClicks(f.EditCodigo, codigo);
        destino->setFocus();
        QCoreApplication::processEvents();
    }
};

// ---- new records and checks ------------------------------------------------------------------

TEST_P(EditorImpresos, ANewLayoutHasItsDefaultsAsciiGoesWithoutFormatAndSavingStartsTheNext)
{
    conDosImpresos();
    TfGENEIMPR &f = abrir();
    EXPECT_EQ(f.EditTipoDocumento->items().size(), 54);
    EXPECT_EQ(f.EditTipoDocumento->items().value(42), "Otros");
    EXPECT_FALSE(f.CopiarRegistrosaOtrasEmpresas1->visible());   // no company choice
    f.AgregarClick(&f);
    EXPECT_EQ(QStringList({valor("TipoDocumento"), valor("Modo"), valor("Formato"), valor("ImpresoraPorDefecto")}),
              QStringList({"Otro", "Grafico", "A4", "Predeterminada"}));
    tabla().fieldByName("Codigo").setAsString("N1");
    tabla().fieldByName("Modo").setAsString("ASCII");
    f.ValidacionWinControl(f.EditModo);   // leaving the mode
    EXPECT_EQ(valor("Formato"), "Sin Formato");
    tabla().fieldByName("Formato").setAsString("A5");
    f.pbConformeClick(f.pbConforme);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(campo("N1", "Formato"), "Sin Formato");
    EXPECT_EQ(campo("N1", "TipoDocumento"), "Otro");
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);   // the next new layout
    EXPECT_EQ(valor("Codigo"), "");
}

TEST_P(EditorImpresos, ABlankOrExistingCodeIsRefusedAndANewOneLeavingTowardsConformeIsSavedOnce)
{
    conDosImpresos();
    TfGENEIMPR &f = abrir();
    f.AgregarClick(&f);
    f.pbConformeClick(f.pbConforme);
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡No es posible crear registros con el código en blanco!",
                                               "¡ El registro no ha sido grabado !"}));
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);
    f.pbCancelarClick(&f);
    mensajes_.limpiar();
    // Cancelling is never checked.
    f.EditDescripcion->setFocus();
    tabla().edit();
    tabla().fieldByName("Codigo").setAsString("");
    f.pbCancelar->setFocus();
    EXPECT_TRUE(f.ValidarDatos(nullptr));
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());
    f.EditDescripcion->setFocus();
    EXPECT_FALSE(f.ValidarDatos(nullptr));
    f.pbCancelarClick(&f);
    mensajes_.limpiar();

    f.AgregarClick(&f);
    salirDeClave("A", f.EditDescripcion);
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡ Ya existe el registro !"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.EditCodigo);
    mensajes_.limpiar();

    const int antes = cuantos();
    salirDeClave("NUEVO", f.pbConforme);
    f.pbConformeClick(f.pbConforme);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(cuantos(), antes + 1);
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);

    salirDeClave("F", f.pbConforme);
    f.pbConformeClick(f.pbConforme);
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡ El registro no ha sido grabado !"}));
    EXPECT_EQ(cuantos(), antes + 1);
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);

    // A save on leaving the key that no click followed does not answer a later click.
    mensajes_.limpiar();
    salirDeClave("G", f.pbConforme);
    salirDeClave("H", f.EditDescripcion);
    f.pbConformeClick(f.pbConforme);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(cuantos(), antes + 3);
}

TEST_P(EditorImpresos, FailingEditsAndDeletesKeepTheRecordAndNavigationTellsTheEnds)
{
    conDosImpresos();
    TfGENEIMPR &f = abrir();
    rechazar("IMPRESO", "UPDATE");
    tabla().edit();
    tabla().fieldByName("Descripcion").setAsString("Otra");
    f.pbConformeClick(f.pbConforme);
    EXPECT_EQ(mensajes_.textos(),
              QStringList({"¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario.",
                           "¡ El registro no ha sido grabado !"}));
    EXPECT_EQ(campo("A", "Descripcion"), "Albarán");
    EXPECT_EQ(tabla().state(), plat::DataSetState::Edit);
    EXPECT_EQ(valor("Descripcion"), "Otra");
    f.pbCancelarClick(&f);

    mensajes_.limpiar();
    mensajes_.programarRespuestas({"NO"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(cuantos(), 2);
    mensajes_.programarRespuestas({"SI"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(cuantos(), 1);
    rechazar("IMPRESO", "DELETE");
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    f.Eliminar1Click(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList({"¿ Está seguro de querer eliminar el registro ?",
                                               "¡ Este registro no puede eliminarse !"}));
    EXPECT_EQ(cuantos(), 1);

    mensajes_.limpiar();
    f.pbPrimeroClick(&f);
    f.pbAnteriorClick(&f);
    f.pbUltimoClick(&f);
    f.pbSiguienteClick(&f);
    EXPECT_EQ(mensajes_.textos(), QStringList({"Está Vd. en el primer registro", "Está Vd. en el último registro"}));

    // Closing while editing asks the common question.
    mensajes_.limpiar();
    mensajes_.programarRespuestas({"SI"});
    tabla().edit();
    f.Close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(mensajes_.textos().value(0).startsWith("Hay registros de Configuración de Impresos"));
    EXPECT_TRUE(ventana_.isNull());
}

TEST_P(EditorImpresos, ControlsFollowTheStateAndARefusedProcessLeavesEverythingAsItIs)
{
    conDosImpresos();
    TfGENEIMPR &f = abrir();
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
        for (QWidget *w : {static_cast<QWidget *>(f.pbEliminar), static_cast<QWidget *>(f.pbAgregar),
                           static_cast<QWidget *>(f.pbRefrescar)})
            EXPECT_EQ(w->isEnabled(), !c.editando) << w->objectName().toStdString();
        for (plat::MenuItem *m : {f.Eliminar1, f.Agregar, f.EliminacionMultiple1, f.Buscar, f.FiltrarRegistros1,
                                  f.CopiarRegistrosaOtrasEmpresas1, f.Cerrar1})
            EXPECT_EQ(m->enabled(), !c.editando) << m->objectName().toStdString();
        EXPECT_TRUE(f.DocumentacionElectronica1->enabled());
        EXPECT_EQ(f.EditCodigo->isReadOnly(), !c.claveEscribible);
    }
    f.pbCancelarClick(&f);
    EXPECT_EQ(f.Ficha->Find("Listar Ficha Actual"), nullptr);
    delete ventana_.data();

    ASSERT_EQ(sql("DELETE FROM USUARIO WHERE Codigo = 'ADMIN'", "DatabaseGeneral"), QString());
    ASSERT_EQ(sql("INSERT INTO USUARIO (Codigo, Nombre, Categoria, Configuracion) VALUES ('ADMIN', 'ADMIN', 'Normal', "
                  "'ProcesosNoAutorizados=Modificar Impresos\r\n')",
                  "DatabaseGeneral"),
              QString());
    crearModulo();
    TfGENEIMPR &soloLectura = abrir();
    soloLectura.EditDescripcion->setFocus();
    QTest::keyClicks(soloLectura.EditDescripcion, "X");
    soloLectura.pbConformeClick(soloLectura.pbConforme);
    EXPECT_EQ(campo("A", "Descripcion"), "Albarán");
    EXPECT_EQ(tabla().state(), plat::DataSetState::Browse);
}

// ---- company, help and keys ------------------------------------------------------------------

TEST_P(EditorImpresos, TheCompanyChoiceNamesTheWindowAndHelpLooksUpItsCaption)
{
    conDosImpresos();
    ASSERT_TRUE(form_->CrearBaseDatosEmpresa(2));
    sql("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Obras del Norte', 'EMP2')", "DatabaseGeneral");
    std::unique_ptr<TfGENEBUSQ> busqueda(plat::createForm<TfGENEBUSQ>());
    fGENEBUSQ = busqueda.get();
    const auto limpiar = qScopeGuard([this] {
        fGENEBUSQ = nullptr;
        form_->SeleccionEmpresaActiva = false;
        plat::application().OnModalShown = nullptr;
    });
    form_->SeleccionEmpresaActiva = true;
    int preguntas = 0;
    plat::application().OnModalShown = [&](plat::Form &b) {
        ++preguntas;
        static_cast<TfGENEBUSQ &>(b).pbCancelar->click();
    };
    abrirVentana<TfGENEIMPR>();
    QCoreApplication::processEvents();
    EXPECT_EQ(preguntas, 1);
    EXPECT_TRUE(ventana_.isNull()) << "no company chosen: the window closes";

    plat::application().OnModalShown = [&](plat::Form &b) {
        ++preguntas;
        auto &f = static_cast<TfGENEBUSQ &>(b);
        QTest::keyClicks(f.DatoABuscar, "2");
        QTest::keyClick(f.DatoABuscar, Qt::Key_Return);
        QTest::keyClick(f.DBGrid1, Qt::Key_Return);
    };
    TfGENEIMPR &f = abrirVentana<TfGENEIMPR>();
    EXPECT_EQ(f.caption(), "EMP2: Configuración de Impresos");
    EXPECT_TRUE(f.CopiarRegistrosaOtrasEmpresas1->visible());
    form_->Configuracion.mapaNombres =
        MapaNombres({"Configuración de Impresos=77", "EMP2: Configuración de Impresos=78"});
    QStringList abiertas;
    const AperturaURLInstalada url([&](const QUrl &u) {
        abiertas << u.fileName();
        return true;
    });
    pulsar(plat::VK_F1);
    f.Ayuda1Click(&f);
    EXPECT_EQ(abiertas, QStringList({"77.html", "78.html"}));
    delete ventana_.data();

    ModoImpresos = kModoContexto;
    preguntas = 0;
    TfGENEIMPR &contexto = abrirVentana<TfGENEIMPR>();
    EXPECT_EQ(preguntas, 0);
    EXPECT_EQ(contexto.caption(), "Configuración de Impresos");
    EXPECT_EQ(contexto.formStyle(), plat::fsNormal);
    ModoImpresos.clear();
}

TEST_P(EditorImpresos, EnterMovesOnExceptInTheTextAndNoKeyReachesTheCommonHandler)
{
    conDosImpresos();
    TfGENEIMPR &f = abrir();
    QStringList comunes;
    form_->PuntosEntrada.LanzarMensajeria = [&](const QString &) { comunes << "mensajeria"; };
    f.EditDescripcion->setFocus();
    QTest::keyClick(f.EditDescripcion, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), f.EditDescripcion);
    f.EditInstrucciones->setFocus();
    QTest::keyClicks(f.EditInstrucciones, "[CABECERA]");
    QTest::keyClick(f.EditInstrucciones, Qt::Key_Return);
    QTest::keyClicks(f.EditInstrucciones, "Text=1;1;0;Hola");
    EXPECT_EQ(QApplication::focusWidget(), f.EditInstrucciones);
    EXPECT_EQ(f.EditInstrucciones->text(), "[CABECERA]\r\nText=1;1;0;Hola");
    QTest::keyClick(f.EditInstrucciones, Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(comunes.isEmpty());
    form_->PuntosEntrada.LanzarMensajeria = nullptr;
}

// ---- printers and the text file tools --------------------------------------------------------

TEST_P(EditorImpresos, PrintersAreListedAndAStoredPrinterNotInstalledSurvivesASave)
{
    conDosImpresos();
    impreso("P", "Con impresora ajena", QString(), "Oficina-2");
    gptest::ImpresorasPrueba impresoras(dir_.path());
    ServiciosImpresion servicios;
    servicios.impresoras = &impresoras;
    const ServiciosImpresionInstalados instalados(servicios);
    TfGENEIMPR &f = abrir();
    EXPECT_EQ(f.EditImpresoraPorDefecto->items(), QStringList({"Predeterminada", "Oficina", "Matricial"}));
    ASSERT_TRUE(tabla().locate("Codigo", "P"));
    EXPECT_EQ(f.EditImpresoraPorDefecto->placeholderText(), "Oficina-2");
    tabla().edit();
    tabla().fieldByName("Descripcion").setAsString("Cambiada");
    f.pbConformeClick(f.pbConforme);
    EXPECT_EQ(campo("P", "Descripcion"), "Cambiada");
    EXPECT_EQ(campo("P", "ImpresoraPorDefecto"), "Oficina-2");
}

TEST_P(EditorImpresos, TheTextGoesToAndFromFilesUnchangedAndTheFontStaysOnScreen)
{
    conDosImpresos();
    TfGENEIMPR &f = abrir();
    const QByteArray utf8 = "[CABECERA]\r\nText=10;10;0;Descripción\r\n[LINEAS]\r\nCamp=10;0;0;Cantidad";
    const QString entrada = dir_.file("entrada.txt"), salida = dir_.file("salida.txt"), ansi = dir_.file("ansi.txt");
    for (const auto &[fichero, bytes] : {std::pair{entrada, utf8}, std::pair{ansi, QByteArray("Text=1;1;0;Cami\xf3n")}}) {
        QFile fh(fichero);
        ASSERT_TRUE(fh.open(QIODevice::WriteOnly));
        fh.write(bytes);
    }
    QStringList titulos;
    QString elegido;
    plat::setDialogScript([&](QObject *d) {
        if (auto *fichero = qobject_cast<plat::OpenDialog *>(d)) {
            titulos << fichero->Title + "|" + fichero->Filter;
            fichero->FileName = elegido;
            return true;
        }
        if (auto *fuente = qobject_cast<plat::FontDialog *>(d)) {
            fuente->Font = QFont("Courier", 17);
            return true;
        }
        return false;
    });
    const auto sinGuion = qScopeGuard([] { plat::setDialogScript(nullptr); });

    ModuloDatos->OpenDialog1->Filter = "Impresos|*.imp";
    elegido = entrada;
    f.pbImportar->click();   // browsing: the data layer refuses, nothing changes
    EXPECT_EQ(mensajes_.textos(), QStringList({"¡ Debe estar en modo edición !"}));
    EXPECT_EQ(campo("A", "Instrucciones"), "");
    tabla().edit();
    f.pbImportar->click();
    f.pbConformeClick(f.pbConforme);
    elegido = salida;
    f.pbExportar->click();
    QFile exportado(salida);
    ASSERT_TRUE(exportado.open(QIODevice::ReadOnly));
    EXPECT_EQ(exportado.readAll(), utf8);
    EXPECT_EQ(titulos, QStringList({"Importar desde un Archivo de Texto|", "Importar desde un Archivo de Texto|",
                                    "Exportar a un Archivo de Texto|"}));
    EXPECT_EQ(ModuloDatos->OpenDialog1->Filter, "Impresos|*.imp");   // the module's own comes back

    elegido = ansi;
    tabla().edit();
    f.pbImportar->click();
    EXPECT_EQ(valor("Instrucciones"), "Text=1;1;0;Camión");
    f.pbCancelarClick(&f);

    const QFont descripcion = f.EditDescripcion->font();
    f.pbCambiarFont->click();
    EXPECT_EQ(f.EditInstrucciones->font().pointSize(), 17);
    EXPECT_EQ(f.EditDescripcion->font(), descripcion);
}

// ---- simulation ------------------------------------------------------------------------------

TEST_P(EditorImpresos, SimulationPreviewsFieldNamesThroughTheEngineAndDropsItsTables)
{
    conDosImpresos();
    ASSERT_EQ(sql("UPDATE IMPRESO SET Instrucciones = '[CABECERA]\r\nText=10;10;0;Cliente\r\nCamp=40;10;0;NombreCliente\r\n"
                  "Graf=10;30;20;20;LOGO.PNG\r\n[LINEAS]\r\nCamp=10;0;0;Cantidad' WHERE Codigo = 'A'"),
              QString());
    QImage logo(20, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(dir_.file("LOGO.PNG")));
    TfGENEIMPR &f = abrir();

    QStringList peticiones, textos, tablas;
    int imagenes = 0;
    ServiciosImpresion servicios;
    servicios.vistaPrevia = [&](TfGENELIMP &m) {
        peticiones << FormularioLlamanteImpreso + "|" + (VistaPreviaImpreso ? "vista" : "impresora") + "|"
                + CodigoImpresoPeticion;
        for (plat::TableComponent *t : {m.Temporal, m.LTemporal}) {
            QStringList campos;
            for (int i = 0; i < t->table().fieldCount(); ++i) {
                const plat::Field &c = t->table().field(i);
                campos << c.fieldName() + ":" + NombreTipoCampo(c.dataType());
            }
            tablas << t->table().tableName();
            peticiones << campos.join(',') + " filas " + QString::number(t->table().recordCount());
        }
        for (int n = 1; n <= m.paginas().cuenta(); ++n) {
            PaginaRecuento pagina;
            QPainter pintor(&pagina);
            DibujarPagina(pintor, m.paginas().pagina(n));
            pintor.end();
            textos << pagina.motor.textos;
            imagenes += pagina.motor.imagenes;
        }
    };
    const ServiciosImpresionInstalados instalados(servicios);
    pulsar(plat::VK_F9);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    ASSERT_EQ(peticiones.size(), 3);
    EXPECT_EQ(peticiones[0], "fGENEIMPR|vista|A");
    EXPECT_EQ(peticiones[1], "CodigoTemporal:ftInteger filas 1");
    EXPECT_EQ(peticiones[2], "CodigoTemporal:ftInteger,Linea:ftSmallint,LineaMemo:ftSmallint filas 1");
    EXPECT_TRUE(textos.contains("Cliente")) << textos.join('|').toStdString();
    EXPECT_TRUE(textos.contains("N.Cliente")) << textos.join('|').toStdString();
    EXPECT_TRUE(textos.contains("Cantidad")) << textos.join('|').toStdString();
    EXPECT_EQ(imagenes, 0);
    for (const QString &t : tablas)
        EXPECT_FALSE(form_->Database().tableExists(t)) << t.toStdString();

    // A new layout is saved, then previewed, while the next new one waits.
    peticiones.clear();
    f.AgregarClick(&f);
    tabla().fieldByName("Codigo").setAsString("NUEVO");
    tabla().fieldByName("Instrucciones").setAsString("[CABECERA]\r\nText=1;1;0;Nuevo");
    pulsar(plat::VK_F9);
    EXPECT_TRUE(mensajes_.mensajes().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    ASSERT_FALSE(peticiones.isEmpty());
    EXPECT_EQ(peticiones[0], "fGENEIMPR|vista|NUEVO");
    EXPECT_EQ(tabla().state(), plat::DataSetState::Insert);
}

// ---- opening from a layout selector ----------------------------------------------------------

TEST_P(EditorImpresos, CtrlPOnALayoutSelectorOpensTheEditorModallyOnItsLayout)
{
    conDosImpresos();
    impreso("12", "Doce");
    auto *selector = new plat::Form(marco_);
    const auto liberarSelector = qScopeGuard([selector] { delete selector; });
    selector->setKeyPreview(true);
    selector->OnKeyDown = [](QObject *s, int &k, plat::ShiftState sh) { fGENEINIC->ProcesarTeclaFormulario(s, k, sh); };
    auto *formato = new plat::Edit(selector);
    formato->setObjectName("EditFormatoImpreso");
    formato->setText("12");
    selector->Show();
    QApplication::setActiveWindow(selector);
    formato->setFocus();
    const EdicionImpresosInstalada edicion;
    form_->SeleccionEmpresaActiva = true;
    const auto sinEleccion = qScopeGuard([this] {
        form_->SeleccionEmpresaActiva = false;
        plat::application().OnModalShown = nullptr;
    });

    QStringList vistos;
    QPointer<TfGENEIMPR> editor;
    plat::application().OnModalShown = [&](plat::Form &mostrado) {
        editor = qobject_cast<TfGENEIMPR *>(&mostrado);
        vistos << (editor ? editor->Table1->table().fieldByName("Codigo").asString() + "|" + editor->caption()
                          : mostrado.objectName());
        mostrado.Close();
    };
    QTest::keyClick(formato, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(vistos, QStringList({"12|Configuración de Impresos"}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(editor.isNull());
    EXPECT_TRUE(ModoImpresos.isEmpty());

    ASSERT_EQ(sql("DELETE FROM USUARIO WHERE Codigo = 'ADMIN'", "DatabaseGeneral"), QString());
    ASSERT_EQ(sql("INSERT INTO USUARIO (Codigo, Nombre, Categoria, ProgramasNoAccesibles) VALUES ('ADMIN', 'ADMIN', "
                  "'Normal', 'Configuración de Impresos\r\n')",
                  "DatabaseGeneral"),
              QString());
    crearModulo();
    vistos.clear();
    formato->setFocus();
    QTest::keyClick(formato, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(vistos.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, EditorImpresos, ::testing::Values(false, true), NombreMotor);

} // namespace
