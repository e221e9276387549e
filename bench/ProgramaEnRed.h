#pragma once
// The whole program started as its main starts it (the main window, the start-up form, the
// session services, the forms made after the first paint), with its general and company
// databases on a PostgreSQL server reached at a host and port of the caller's (a delaying
// proxy's), and the actions a user takes in it, each through the forms' own code: opening the
// masters from the menu, moving to the next record, saving a field, adding a project with its
// lines, the Gantt page, the record search, a listing's preview, the SQL console. The benchmark that times them
// over a delayed link and the test that counts their round trips both drive it.
#include "app/FormulariosComunes.h"
#include "app/PROYMENU.h"
#include "app/PreparacionDiferida.h"
#include "app/ServiciosSesion.h"
#include "GENEW/data/modulo/FormulariosMDI.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/GENEBUSA.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "GENEW/reporting/informes/ImprimirListadoProgramable.h"
#include "platform/ui/Lists.h"
#include "GENEW/reporting/GENECSQL.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/data/DBGrid.h"
#include "projects/operarios/Primmodu.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class ProgramaEnRed
{
public:
    // The sample company: operators, projects "1", "2" and "3" of 20, 10 and 20 chapters (each
    // chapter's "Responsable" one of the operators) and more without chapters after them, up
    // to 100; a table of 1,000 rows for the console.
    static constexpr int kOperarios = 10;
    static constexpr int kCapitulos[] = {20, 10, 20};
    static constexpr int kProyectos = 100;
    static constexpr int kFilasConsola = 1000;

    // servidor: "host,port"; sufijo names the databases (gpg_<sufijo>, gpe_<sufijo>).
    ProgramaEnRed(const QString &servidor, const QString &usuario, const QString &sufijo)
    {
        QDir::setCurrent(carpeta_.path());
        escribir(QStringLiteral("DATABASE.TXT"), leer(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT")));
        escribir(QStringLiteral("BASESDATOS.TXT"),
                 QStringLiteral("TipoBaseDatos=SQL Generica\r\nAliasBaseDatosGeneral=GENERAL\r\nAliasBaseDatos=EMP%1\r\n")
                     .arg(sufijo)
                     .toUtf8());
        escribir(QStringLiteral("ALIAS.INI"), QStringLiteral("[GENERAL]\nSERVER NAME=%1\nDATABASE NAME=gpg_%2\nUSER NAME=%3\n"
                                                             "[EMP%2]\nSERVER NAME=%1\nDATABASE NAME=gpe_%2\nUSER NAME=%3\n")
                                                  .arg(servidor, sufijo, usuario)
                                                  .toUtf8());
    }

    ~ProgramaEnRed()
    {
        cerrar();
        QDir::setCurrent(carpetaAnterior_);
    }

    // Starts as main does, up to the main window painted and the work left for after its
    // first paint done. False, with the messages in mensajes(), when the start failed.
    bool arrancar()
    {
        cerrar();
        TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
        crear(fPROYMENU);
        TfGENEINIC::AgruparCreacionesArranque = true;
        TfGENEINIC::DiferirBorradoTemporales = true;
        crear(fGENEINIC);
        if (fGENEINIC->ArranqueFallido)
            return false;
        servicios_.emplace(*fGENEINIC, servicios_sesion::Todos());
        previsualizacion_.emplace(servicios_sesion::Previsualizacion());
        comunes_ = std::make_unique<PreparacionDiferida>(*fPROYMENU);
        comunes_->anadir([] { fGENEINIC->BorrarTemporalesPendientes(); });
        comunes_->anadir([this] { CrearFormulariosComunes(formularios_); });
        fPROYMENU->AntesDeAbrirProgramas = [this] { comunes_->completar(); };
        fPROYMENU->resize(1400, 900);
        fPROYMENU->Show();
        comunes_->anadir([] {
            if (fPROYMENU)
                fPROYMENU->CompletarPreparacion();
            fGENEINIC->TerminarCreacionesArranque();
        });
        return esperar([this] { return !comunes_->pendiente() && !fPROYMENU->PreparacionPendiente(); })
            && !plat::application().terminated() && ModuloDatos;
    }

    // Ends the program as main does: the data modules, the forms in the reverse order of their
    // creation, the connections.
    void cerrar()
    {
        if (formularios_.isEmpty())
            return;
        if (fPROYMENU)
            fPROYMENU->AntesDeAbrirProgramas = nullptr;
        servicios_sesion::CerrarFormulariosAbiertos();
        LiberarMDPrimas();
        LiberarMDProyectos();
        QList<QPointer<plat::DataModule>> modulos;
        for (QObject *componente : plat::application().components())
            if (auto *modulo = qobject_cast<plat::DataModule *>(componente))
                modulos.prepend(modulo);
        for (const QPointer<plat::DataModule> &modulo : modulos)
            if (modulo)
                modulo->Free();
        comunes_.reset();
        previsualizacion_.reset();
        servicios_.reset();
        for (auto it = formularios_.rbegin(); it != formularios_.rend(); ++it)
            (*it)->Free();
        formularios_.clear();
        // A process ends here; the next start in this one makes the shared forms anew.
        fGENEBUSQ = nullptr;
        fGENEBUSA = nullptr;
        fGENECOPI = nullptr;
        fGENEFILT = nullptr;
        fGENEVMEM = nullptr;
        fGENECALC = nullptr;
        fGENECPRO = nullptr;
        fGENEDETA = nullptr;
        plat::Session::defaultSession().closeAll();
        // A session that ended asked the application to end; the next start runs its events.
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    // The sample company written through the program's own statements, the masters opened
    // once first so that their tables exist.
    bool cargarEmpresa()
    {
        abrirProyectos();
        abrirOperarios();
        cerrarVentana(QStringLiteral("fPROYPROY"));
        cerrarVentana(QStringLiteral("fPRESOPER"));
        QStringList sentencias;
        for (int o = 1; o <= kOperarios; ++o)
            sentencias << QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (%1, 'Operario %1')").arg(o);
        for (int p = 0; p < 3; ++p) {
            sentencias << QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, Director, FechaAceptacion, "
                                         "FechaEntrega, Situacion) VALUES ('%1', 'Proyecto %1', 1, "
                                         "'2026-09-01 00:00:00', '2027-06-30 00:00:00', 'Abierto')")
                              .arg(p + 1);
            for (int l = 1; l <= kCapitulos[p]; ++l)
                sentencias << QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Capitulo, Descripcion, "
                                             "FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance, Responsable) "
                                             "VALUES ('%1', %2, '%3', 'Capítulo %2', '2026-09-%4 00:00:00', "
                                             "'2026-10-%4 00:00:00', 40, '', %5)")
                                  .arg(p + 1)
                                  .arg(l)
                                  .arg(l, 4, 10, QLatin1Char('0'))
                                  .arg(1 + l % 28, 2, 10, QLatin1Char('0'))
                                  .arg(1 + l % kOperarios);
        }
        for (int p = 4; p <= kProyectos; ++p)
            sentencias << QStringLiteral("INSERT INTO PROYECT (Codigo, Descripcion, Situacion) "
                                         "VALUES ('P%1', 'Proyecto sin capítulos %1', 'Cerrado')")
                              .arg(p, 3, 10, QLatin1Char('0'));
        sentencias << QStringLiteral("CREATE TABLE FILASCONSOLA AS SELECT g AS Codigo, 'Fila ' || g AS Nombre, "
                                     "g * 1.5 AS Importe FROM generate_series(1, %1) g")
                          .arg(kFilasConsola);
        for (const QString &s : sentencias)
            if (!ModuloDatos->EjecutarSQL(s).isEmpty())
                return false;
        return true;
    }

    // ---- the actions ---------------------------------------------------------------------------

    // "Maestro de Proyectos" from the menu, on its first project (20 chapters), on the chapter
    // page with its grid painted.
    TfPROYPROY *abrirProyectos()
    {
        fPROYMENU->MaestrodeProyectos1->Click();
        auto *v = qobject_cast<TfPROYPROY *>(BuscarFormularioMDI(QStringLiteral("fPROYPROY")));
        if (!v)
            return nullptr;
        v->PageControl1->setActivePage(v->PagCapitulos);
        pintar(*v);
        return v;
    }

    // The navigator's next button, the new record's chapters painted.
    bool siguienteRegistro()
    {
        TfPROYPROY *v = proyectos();
        if (!v)
            return false;
        const QVariant antes = v->Table1->dataSet().fieldByName(QStringLiteral("Codigo")).value();
        v->pbSiguiente->Click();
        pintar(*v);
        return v->Table1->dataSet().fieldByName(QStringLiteral("Codigo")).value() != antes;
    }

    // The project's description edited and saved with the accept button.
    bool grabarCampo(const QString &descripcion)
    {
        TfPROYPROY *v = proyectos();
        if (!v)
            return false;
        plat::DataSet &cabecera = v->Table1->dataSet();
        cabecera.edit();
        cabecera.fieldByName(QStringLiteral("Descripcion")).setAsString(descripcion);
        v->pbConforme->Click();
        pintar(*v);
        return cabecera.state() == plat::DataSetState::Browse
            && cabecera.fieldByName(QStringLiteral("Descripcion")).asString() == descripcion;
    }

    // A new project, then its lines entered one after another, each saved as the save key
    // saves it. True when the lines are in the database.
    bool altaProyectoConLineas(int lineas)
    {
        TfPROYPROY *v = proyectos();
        if (!v)
            return false;
        v->AgregarClick(v);
        const QString codigo = v->Table1->dataSet().fieldByName(QStringLiteral("Codigo")).asString();
        v->DBGrid1Enter(v->DBGrid1);   // entering the chapters saves the project
        plat::DataSet &filas = v->Table2->dataSet();
        for (int l = 1; l <= lineas; ++l) {
            if (filas.state() != plat::DataSetState::Insert)
                filas.append();
            filas.fieldByName(QStringLiteral("Descripcion")).setAsString(QStringLiteral("Línea %1").arg(l));
            v->GrabarDatos(v);
        }
        if (filas.state() != plat::DataSetState::Browse)
            filas.cancel();
        pintar(*v);
        return ModuloDatos->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM LPROYECT WHERE CodigoProyecto = '%1'").arg(codigo))
            == QString::number(lineas);
    }

    // The project master's Gantt page, painted.
    bool paginaGantt()
    {
        TfPROYPROY *v = proyectos();
        if (!v)
            return false;
        v->PageControl1->setActivePage(v->PagGrafico);
        pintar(*v);
        v->PageControl1->setActivePage(v->PagCapitulos);
        return true;
    }

    // The master's record search: the code typed and searched for, its row accepted with Return.
    bool buscarProyecto(const QString &codigo)
    {
        TfPROYPROY *v = proyectos();
        if (!v)
            return false;
        plat::application().OnModalShown = [&codigo](plat::Form &dialogo) {
            auto *busqueda = qobject_cast<TfGENEBUSQ *>(&dialogo);
            if (!busqueda) {
                dialogo.setModalResult(plat::mrCancel);
                return;
            }
            // The code typed over the current record's, Return to search, Return on its row.
            busqueda->DatoABuscar->setText(codigo);
            QTest::keyClick(busqueda->DatoABuscar, Qt::Key_Return);
            plat::DataSet &filas = busqueda->ClientDataSet1->dataSet();
            if (filas.active() && filas.locate(QStringLiteral("Codigo"), codigo))
                QTest::keyClick(busqueda->DBGrid1, Qt::Key_Return);
            else
                busqueda->setModalResult(plat::mrCancel);
        };
        v->Buscar->Click();
        plat::application().OnModalShown = nullptr;
        pintar(*v);
        return v->Table1->dataSet().fieldByName(QStringLiteral("Codigo")).asString() == codigo;
    }

    // "Listado Programable" of the master's menu: the code and description of every project
    // listed to the preview, which is closed once its pages are made. True when it showed them.
    bool previsualizarListado()
    {
        TfPROYPROY *v = proyectos();
        if (!v)
            return false;
        int paginas = 0;
        QTimer turno;   // watches the preview until its pages are made
        QObject::connect(&turno, &QTimer::timeout, [&] {
            if (!fGENEPREV || !fGENELPRO || fGENELPRO->QuickReport->generando())
                return;
            turno.stop();
            paginas = fGENEPREV->NumeroPaginas;
            fGENEPREV->Estado = QStringLiteral("Finalizada");
            fGENEPREV->Close();
        });
        plat::application().OnModalShown = [&turno](plat::Form &dialogo) {
            auto *listado = qobject_cast<TfGENECPRO *>(&dialogo);
            if (!listado)
                return;
            listado->LBSeleccionado->setItems({QStringLiteral("Codigo"), QStringLiteral("Descripcion")});
            listado->Titulo->setText(QStringLiteral("Proyectos"));
            listado->VisualizacionPrevia->setChecked(true);
            turno.start(0);
            listado->pbConformeClick(listado->pbConforme);
            dialogo.Close();
        };
        v->ListadoProgramable1->Click();
        plat::application().OnModalShown = nullptr;
        return paginas > 0;
    }

    // "Maestro de Operarios" from the menu, painted.
    bool abrirOperarios()
    {
        fPROYMENU->MaestrodeOperarios1->Click();
        plat::Form *v = BuscarFormularioMDI(QStringLiteral("fPRESOPER"));
        if (v)
            pintar(*v);
        return v;
    }

    // "Consultas SQL" from the menu, painted.
    bool abrirConsultas()
    {
        fPROYMENU->ConsultasSQL1->Click();
        plat::Form *v = BuscarFormularioMDI(QStringLiteral("fGENECSQL"));
        if (v)
            pintar(*v);
        return v;
    }

    // F9 in the console on a SELECT of the 1,000-row table, the grid's first screen painted.
    bool consolaMilFilas()
    {
        auto *c = qobject_cast<TfGENECSQL *>(BuscarFormularioMDI(QStringLiteral("fGENECSQL")));
        if (!c)
            return false;
        c->SentenciaSQL->setText(QStringLiteral("SELECT * FROM FILASCONSOLA"));
        QTest::keyClick(c->SentenciaSQL, Qt::Key_F9);
        pintar(*c);
        return c->QryConsultasSQL->query().active();
    }

    TfPROYPROY *proyectos() const { return qobject_cast<TfPROYPROY *>(BuscarFormularioMDI(QStringLiteral("fPROYPROY"))); }
    QString mensajes() const { return mensajes_.textos().join(u'\n'); }

    ProgramaEnRed(const ProgramaEnRed &) = delete;
    ProgramaEnRed &operator=(const ProgramaEnRed &) = delete;

private:
    template<class F>
    void crear(F *&global)
    {
        global = plat::createForm<F>();
        formularios_ << global;
    }

    static bool esperar(const std::function<bool()> &condicion, int milisegundos = 20000)
    {
        QElapsedTimer reloj;
        reloj.start();
        while (!condicion() && reloj.elapsed() < milisegundos)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condicion();
    }

    // The window painted as the screen shows it, with what its paint asks for.
    static void pintar(QWidget &ventana)
    {
        QCoreApplication::processEvents();
        ventana.grab();
    }

public:
    // The window of that name closed, when it is open.
    static void cerrarVentana(const QString &nombre)
    {
        if (plat::Form *v = BuscarFormularioMDI(nombre)) {
            v->Close();
            plat::application().processMessages();
        }
    }

private:
    static QByteArray leer(const QString &ruta)
    {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void escribir(const QString &nombre, const QByteArray &contenido) const
    {
        QFile f(carpeta_.filePath(nombre));
        if (f.open(QIODevice::WriteOnly))
            f.write(contenido);
    }

    QTemporaryDir carpeta_;
    QString carpetaAnterior_ = QDir::currentPath();
    SalidaMensajesGrabada mensajes_;
    SalidaMensajesInstalada salida_{mensajes_};
    QList<plat::Form *> formularios_;   // made by the start, freed by cerrar
    ImpresionListadoProgramableInstalada impresionListado_;
    std::optional<ServiciosSesionInstalados> servicios_;
    std::optional<TfGENEPREV::ServiciosInstalados> previsualizacion_;
    std::unique_ptr<PreparacionDiferida> comunes_;
};
