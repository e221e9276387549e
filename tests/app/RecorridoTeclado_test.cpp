// The keyboard walk: every window the main menu reaches, opened from its entry and driven by
// keys only, as a new user drives it, on SQLite and on PostgreSQL. In a window with a record of
// the framework it:
// - opens on a record another program wrote with only its key (its dates hold the zero date);
// - adds two records: F5; every field in Tab order, page by page, takes a value of its kind,
//   then one it must refuse, then the value again (a look-up takes the first code F2 offers);
//   every list is opened with Alt+Down and closed with Esc, then chosen with the arrows; a
//   one-line field takes a pasted line break; every grid gets two lines column by column, one
//   of them with Ctrl+T; every focused button is pressed with Return; the save is Return on its
//   button;
// - inserts in the middle of each grid and leaves with Esc;
// - leaves a typed value unsaved at the close and at a company change, and saves one while
//   another program holds the record;
// - closes right after a save.
// Other windows have their controls walked in Tab order. Every dialog a window's menu opens is
// walked too (its focus, its lists, Return on its buttons, Esc). After each step what was typed
// is stored, still on screen in edit, or the user was asked; no message names a component,
// shows a statement or the driver's English; the program lives. The output lists, per window,
// each step and what held.
#include "tests/app/SesionFixture.h"
#include "tests/platform/engine/OtherProgramFixture.h"
#include "tests/support/TecladoUsuario.h"
#include "tests/support/ValoresCampo.h"

#include "app/FormulariosComunes.h"
#include "GENEW/data/modulo/FormulariosMDI.h"
#include "GENEW/data/ventanas/GENEBUSQ.h"
#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENECOPI.h"
#include "GENEW/data/ventanas/GENECPRO.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEFILT.h"
#include "GENEW/data/ventanas/GENEVMEM.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSource.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <iostream>
#include <set>
#include <span>

namespace {

using gptest::asentar;
using gptest::ClaseCampo;
using gptest::deFoco;
using gptest::foco;
using gptest::listaAbierta;
using gptest::listaDe;
using gptest::pulsar;
using gptest::reactivar;
using gptest::reescribir;
using gptest::siguiente;
using gptest::tabularHasta;
using gptest::teclear;
using gptest::textoDeControl;
using gptest::textosVisibles;

constexpr int kEsperaBloqueo = 400;   // ms the program waits for a held record
const QString kTextoPredefinido = QStringLiteral("Hola a todos");

// ---- the report ------------------------------------------------------------------------------

// Per window, each step and what held, printed as the walk goes; a check that fails also
// fails the test.
class Informe
{
public:
    void ventana(const QString &nombre)
    {
        ventana_ = nombre;
        std::cout << "ventana " << nombre.toStdString() << std::endl;
    }
    void paso(const QString &nombre) { paso_ = nombre; }
    bool comprobar(bool bien, const QString &que)
    {
        linea(QStringLiteral("  %1 %2: %3").arg(bien ? QStringLiteral("bien ") : QStringLiteral("FALLO"), paso_, que));
        if (!bien)
            ADD_FAILURE() << ventana_.toStdString() << " / " << paso_.toStdString() << ": " << que.toStdString();
        return bien;
    }
    void nota(const QString &texto) { linea(QStringLiteral("        %1: %2").arg(paso_, texto)); }

private:
    static void linea(QString texto)
    {
        std::cout << texto.replace(u'\n', u'⏎').replace(u'\t', u'⇥').toStdString() << std::endl;
    }
    QString ventana_, paso_;
};

// ---- checks on what the user reads -------------------------------------------------------------

// Adds the names of the components of every open form that read as a program's, not a
// person's: with a digit or a capital inside ("Table1", "DBEdit3", "IncidenciasCalendario").
void anotarNombresInternos(std::set<QString> &nombres)
{
    static const QRegularExpression interno(QStringLiteral("^.+([0-9]|[a-z][A-Z])"));
    for (plat::Form *f : plat::application().forms())
        for (const QObject *o : f->findChildren<QObject *>())
            if (o->objectName().size() >= 4 && interno.match(o->objectName()).hasMatch())
                nombres.insert(o->objectName());
}

// What is wrong with a text a message box shows; empty when nothing is.
QString faltaDeTexto(const QString &texto, const std::set<QString> &internos)
{
    static const QRegularExpression sql(QStringLiteral("\\b(SELECT|INSERT INTO|UPDATE|DELETE FROM|WHERE|VALUES)\\b"));
    static const QRegularExpression ingles(
        QStringLiteral("\\b(the|is|not|could|unable|failed|database|locked|violates|duplicate|constraint|timeout|"
                       "statement|canceling|relation|syntax|denied|column|query|exists?|must|cannot|record|driver|"
                       "connection|server|table)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString &nombre : internos)
        if (QRegularExpression(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(nombre))).match(texto).hasMatch())
            return QStringLiteral("nombra el componente %1").arg(nombre);
    if (const auto m = sql.match(texto); m.hasMatch())
        return QStringLiteral("muestra una sentencia (%1)").arg(m.captured());
    if (const auto m = ingles.match(texto); m.hasMatch())
        return QStringLiteral("muestra texto del motor en inglés (%1)").arg(m.captured());
    return {};
}

// ---- the walk --------------------------------------------------------------------------------

bool enEdicion(const plat::DataSet &ds)
{
    return ds.state() == plat::DataSetState::Edit || ds.state() == plat::DataSetState::Insert;
}

// A value the walk typed into a field of the record, to be found on screen and stored.
struct Tecleado
{
    QString campo;
    ClaseCampo clase;
    QString texto;
};

class RecorridoTeclado : public SesionFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        SesionFixture::SetUp();
        if (GetParam() && !configurarPostgreSQL())
            GTEST_SKIP() << "no PostgreSQL test server";
        sesion_.setLockWait(kEsperaBloqueo);
        general({QStringLiteral("INSERT INTO EMPRESA (Codigo, Nombre, Abreviatura) VALUES (2, 'Segunda Empresa', 'SEG')"),
                 QStringLiteral("UPDATE USUARIO SET Empresas = '1\r\n2' WHERE Codigo = 'ADMIN'")});
        TfPROYMENU &v = mostrar();
        v.FormActivate(&v);
        CrearFormulariosComunes(comunes_);
        QApplication::setActiveWindow(&v);
        ASSERT_EQ(ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO TEXTO (Codigo, Descripcion, Texto) VALUES "
                                                          "('HOLA', 'Saludo', '%1')")
                                               .arg(kTextoPredefinido)),
                  QString());
        plat::application().OnModalShown = [this](plat::Form &d) { responderDialogo(d); };
        plat::setDialogScript([this](QObject *dialogo) {
            informe_.nota(QStringLiteral("diálogo del sistema %1, cancelado").arg(dialogo->metaObject()->className()));
            return false;
        });
        cuadro_.emplace([this](const QString &texto) { cuadros_ << texto; });
        url_.emplace([this](const QUrl &u) {
            informe_.nota(QStringLiteral("abre %1").arg(u.fileName()));
            return true;
        });
        programa_.emplace(ganchoEjecutarPrograma(), [this](const QString &linea, const QString &) {
            informe_.nota(QStringLiteral("ejecuta %1").arg(linea.section(u' ', 0, 0)));
        });
        // A modal window of Qt's own that no hook answers would wait for a person: it is
        // closed and named.
        vigia_.setInterval(1000);
        QObject::connect(&vigia_, &QTimer::timeout, [this] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                informe_.comprobar(false, QStringLiteral("un diálogo sin respuesta (%1) espera").arg(d->windowTitle()));
                d->reject();
            }
        });
        vigia_.start();
    }

    void TearDown() override
    {
        vigia_.stop();
        plat::application().OnModalShown = nullptr;
        plat::setDialogScript(nullptr);
        otro_.reset();
        if (ventana_)
            for (int i = ventana_->mdiChildCount() - 1; i >= 0; --i)
                delete ventana_->mdiChild(i);
        for (plat::Form *f : comunes_)
            delete f;
        // The shared forms' globals, for the next start.
        fGENEBUSQ = nullptr;
        fGENECOPI = nullptr;
        fGENEFILT = nullptr;
        fGENEVMEM = nullptr;
        fGENECALC = nullptr;
        fGENECPRO = nullptr;
        fGENEDETA = nullptr;
        programa_.reset();
        url_.reset();
        cuadro_.reset();
        SesionFixture::TearDown();
    }

    // ---- messages and dialogs ----------------------------------------------------------------

    // Every message since the mark, checked as the user reads it.
    struct Leidos
    {
        QStringList textos;
        bool pregunta = false;
    };
    void marcar()
    {
        anotarNombresInternos(internos_);
        desdeMensaje_ = int(mensajes_.mensajes().size());
        desdeCuadro_ = int(cuadros_.size());
    }
    Leidos leer()
    {
        Leidos l;
        anotarNombresInternos(internos_);
        for (int i = desdeMensaje_; i < mensajes_.mensajes().size(); ++i) {
            const auto &m = mensajes_.mensajes()[i];
            l.textos << m.texto;
            l.pregunta = l.pregunta || m.tipo == QLatin1String("C");
        }
        l.textos += cuadros_.mid(desdeCuadro_);
        for (const QString &t : l.textos) {
            informe_.nota(QStringLiteral("«%1»").arg(t.left(160)));
            const QString falta = faltaDeTexto(t, internos_);
            informe_.comprobar(falta.isEmpty(), falta.isEmpty() ? QStringLiteral("mensaje legible") : falta);
        }
        marcar();
        return l;
    }

    bool vivo() const
    {
        return fPROYMENU && fGENEINIC && ModuloDatos && !plat::application().terminated();
    }

    // A modal window: a step's own answer, else walked and closed.
    void responderDialogo(plat::Form &d)
    {
        informe_.nota(QStringLiteral("diálogo %1 «%2»").arg(d.objectName(), d.caption()));
        const QPointer<plat::Form> dialogo(&d);
        reactivar();
        try {
            if (auto respuesta = std::exchange(respuesta_, nullptr))
                respuesta(d);
            else
                recorrerDialogo(d);
        } catch (const std::exception &e) {
            informe_.comprobar(false, QStringLiteral("el diálogo %1 responde sin excepciones (%2)")
                                          .arg(d.caption(), QString::fromUtf8(e.what())));
        }
        // A dialog the walk could not close would wait for a person.
        if (dialogo && dialogo->isShownModal() && dialogo->modalResult() == plat::mrNone)
            dialogo->setModalResult(plat::mrCancel);
    }

    void recorrerDialogo(plat::Form &d)
    {
        const QPointer<plat::Form> dialogo(&d);
        informe_.comprobar(foco() && d.isAncestorOf(foco()),
                           QStringLiteral("%1 se abre con el foco en un control").arg(d.caption()));
        std::set<QWidget *> vistos;
        for (int i = 0; i < 40 && dialogo && dialogo->isVisible() && foco() && !vistos.count(foco()); ++i) {
            QWidget *w = foco();
            vistos.insert(w);
            if (qobject_cast<QComboBox *>(w))
                listaConEsc(w, [&] { return dialogo && dialogo->isVisible(); },
                            QStringLiteral("el diálogo sigue abierto"));
            else if (auto *b = qobject_cast<plat::Button *>(w))
                returnEnBoton(*b);
            if (dialogo && dialogo->isVisible() && foco() == w)
                pulsar(Qt::Key_Tab);
        }
        if (!dialogo || !dialogo->isVisible())
            return;
        pulsar(Qt::Key_Escape);
        if (dialogo && dialogo->isShownModal() && dialogo->modalResult() == plat::mrNone) {
            informe_.nota(QStringLiteral("Esc no cierra %1").arg(d.caption()));
            dialogo->setModalResult(plat::mrCancel);
        }
    }

    // Alt+Down opens the list and Esc closes only it: afterwards `sigue` holds.
    void listaConEsc(QWidget *lista, const std::function<bool()> &sigue, const QString &que)
    {
        if (!escEnListas_)
            return;
        const QString nombre = lista->objectName().isEmpty() ? QString::fromLatin1(lista->metaObject()->className())
                                                             : lista->objectName();
        pulsar(Qt::Key_Down, Qt::AltModifier);
        const QPointer<QComboBox> abierta = listaAbierta(foco()) ? listaDe(foco()) : nullptr;
        if (!abierta) {
            informe_.nota(QStringLiteral("Alt+Abajo no abre la lista %1").arg(nombre));
            return;
        }
        pulsar(Qt::Key_Escape);
        informe_.comprobar(!abierta || !listaAbierta(abierta), QStringLiteral("Esc cierra la lista %1").arg(nombre));
        informe_.comprobar(sigue(), QStringLiteral("tras Esc en la lista %1, %2").arg(nombre, que));
    }

    // Return on a focused button presses it (what it does is kept off for the check, where the
    // window reaches it through the button's OnClick or result). True when it was pressed.
    bool returnEnBoton(plat::Button &boton)
    {
        bool pulsado = false;
        const QPointer<plat::Button> b(&boton);
        const QString nombre = boton.objectName();
        auto clic = std::exchange(boton.OnClick, [&pulsado](QObject *) { pulsado = true; });
        const int resultado = boton.modalResult();
        boton.setModalResult(plat::mrNone);
        pulsar(Qt::Key_Return);
        if (b) {
            b->OnClick = std::move(clic);
            b->setModalResult(resultado);
        }
        informe_.comprobar(pulsado, QStringLiteral("Return en el botón %1 lo pulsa").arg(nombre));
        return pulsado;
    }

    // ---- the main menu ---------------------------------------------------------------------------

    static QString rutaMenu(const plat::MenuItem *item)
    {
        QStringList ruta;
        for (; item && item->parentItem(); item = item->parentItem())
            ruta.prepend(QString(item->caption()).remove(u'&'));
        return ruta.join(QStringLiteral(" › "));
    }

    static void entradas(plat::MenuItem *menu, QList<plat::MenuItem *> &lista)
    {
        for (plat::MenuItem *item : menu->items()) {
            if (item->isLine() || !item->visible())
                continue;
            if (item->count())
                entradas(item, lista);
            else if (item->OnClick.assigned())
                lista << item;
        }
    }

    // The entry of a route of the main menu (a company change makes some entries anew).
    plat::MenuItem *entradaDeRuta(const QString &ruta)
    {
        QList<plat::MenuItem *> lista;
        entradas(ventana_->MainMenu1->Items(), lista);
        for (plat::MenuItem *item : lista)
            if (rutaMenu(item) == ruta)
                return item;
        return nullptr;
    }

    QList<plat::Form *> hijas() const
    {
        QList<plat::Form *> h;
        for (int i = 0; i < ventana_->mdiChildCount(); ++i)
            h << ventana_->mdiChild(i);
        return h;
    }

    // The window a menu entry opens: a new MDI child.
    plat::Form *abrir(const QString &ruta)
    {
        plat::MenuItem *entrada = entradaDeRuta(ruta);
        if (!entrada)
            return nullptr;
        const QList<plat::Form *> antes = hijas();
        entrada->Click();
        asentar();
        for (plat::Form *f : hijas())
            if (!antes.contains(f))
                return activar(f);
        return nullptr;
    }

    static plat::Form *activar(plat::Form *f)
    {
        if (!f)
            return nullptr;
        QApplication::setActiveWindow(fPROYMENU);
        if (f->mdiSubWindow())
            fPROYMENU->mdiArea()->setActiveSubWindow(f->mdiSubWindow());
        f->activateWindow();
        asentar();
        // A window that leaves the focus nowhere gets it as a person gives it: Tab.
        for (int i = 0; i < 3 && !f->isAncestorOf(foco()); ++i)
            pulsar(Qt::Key_Tab);
        return f;
    }

    // ---- one window ------------------------------------------------------------------------

    struct Ventana
    {
        QString ruta;   // of its entry in the main menu
        QPointer<plat::Form> form;
        QPointer<plat::DataSource> fuente;
        QString nombreTabla;   // what the record's table is, kept while the window is closed
        QVariantMap claveGrabada;   // of the last record the walk stored

        plat::DataSet *registro() const { return fuente ? fuente->dataSet() : nullptr; }
        plat::TableDataSet *tabla() const { return dynamic_cast<plat::TableDataSet *>(registro()); }
    };

    // The steps of a window with a record of the framework (F5 adds one), and of any other.
    using Paso = void (RecorridoTeclado::*)(Ventana &);
    static std::span<const Paso> pasos(bool conRegistro)
    {
        using R = RecorridoTeclado;
        static constexpr Paso kConRegistro[] = {
            &R::pasoFechaCero,        &R::pasoAltas,           &R::pasoCerrarTrasGrabar,
            &R::pasoInsertarEnMedio,  &R::pasoCerrarConEdicion, &R::pasoCambioEmpresaConEdicion,
            &R::pasoGrabarRetenido,   &R::pasoMenuVentana,
        };
        static constexpr Paso kSinRegistro[] = {&R::pasoTeclado, &R::pasoMenuVentana};
        return conRegistro ? std::span<const Paso>(kConRegistro) : std::span<const Paso>(kSinRegistro);
    }

    void recorrerEntrada(const QString &ruta)
    {
        // What an earlier walk left open goes first.
        for (plat::Form *f : hijas())
            delete f;
        informe_.ventana(ruta);
        informe_.paso(QStringLiteral("abrir"));
        marcar();
        Ventana v;
        v.ruta = ruta;
        v.form = abrir(ruta);
        leer();
        informe_.comprobar(vivo(), QStringLiteral("el programa sigue"));
        if (!v.form) {
            informe_.nota(QStringLiteral("no abre ventana"));
            return;
        }
        informe_.nota(QStringLiteral("%1 «%2»").arg(v.form->objectName(), v.form->caption()));
        v.fuente = v.form->findComponent<plat::DataSource>(QStringLiteral("DataSource1"));
        const plat::TableDataSet *t = v.tabla();
        const bool conRegistro = t && t->active() && t->canModify() && !t->primaryKeyFields().isEmpty()
                              && v.form->findComponent<plat::MenuItem>(QStringLiteral("Agregar"));
        if (conRegistro)
            v.nombreTabla = t->tableName();
        for (Paso paso : pasos(conRegistro)) {
            try {
                (this->*paso)(v);
            } catch (const std::exception &e) {
                informe_.comprobar(false, QStringLiteral("sin excepciones (%1)").arg(QString::fromUtf8(e.what())));
            }
        }
        cerrar(v);
    }

    // Two records, each once more without the Esc in the lists when what was typed was lost
    // on the way, so that the later steps find the faults behind that one.
    void pasoAltas(Ventana &v)
    {
        for (int vuelta = 1; vuelta <= 2 && v.form; ++vuelta) {
            informe_.paso(QStringLiteral("alta %1").arg(vuelta));
            if (pasoAlta(v, vuelta))
                continue;
            const bool antes = std::exchange(escEnListas_, false);
            informe_.paso(QStringLiteral("alta %1 otra vez, sin Esc en las listas").arg(vuelta));
            pasoAlta(v, vuelta);
            escEnListas_ = antes;
        }
    }

    bool reabrir(Ventana &v)
    {
        if (!v.form) {
            v.form = abrir(v.ruta);
            v.fuente = v.form ? v.form->findComponent<plat::DataSource>(QStringLiteral("DataSource1")) : nullptr;
        }
        return v.form && activar(v.form);
    }

    void cerrar(Ventana &v)
    {
        if (!v.form)
            return;
        if (v.registro() && enEdicion(*v.registro()))
            v.registro()->cancel();
        v.form->Close();
        asentar();
        if (v.form)
            delete v.form.data();
    }

    // The dataset's primary key of the current record, as parameters of a statement.
    static QVariantMap clave(const plat::TableDataSet &t)
    {
        QVariantMap c;
        for (const QString &campo : t.primaryKeyFields())
            c.insert(campo, t.fieldByName(campo).value());
        return c;
    }

    static QString condicion(const QVariantMap &c)
    {
        QStringList partes;
        for (auto it = c.begin(); it != c.end(); ++it)
            partes << QStringLiteral("%1 = :%1").arg(it.key());
        return partes.join(QStringLiteral(" AND "));
    }

    gptest::OtherProgram &otro()
    {
        if (!otro_)
            otro_ = std::make_unique<gptest::OtherProgram>(fGENEINIC->Database().location());
        return *otro_;
    }

    // The stored row of the key, read by another program.
    plat::QueryResult almacenado(const Ventana &v, const QVariantMap &c)
    {
        if (c.isEmpty())
            return {};
        return otro().db().query(QStringLiteral("SELECT * FROM %1 WHERE %2").arg(v.nombreTabla, condicion(c)), c);
    }

    // A record written by another program with only its key: its dates hold the columns'
    // default, the zero date, which means none; the window opened on it shows no 1899.
    void pasoFechaCero(Ventana &v)
    {
        informe_.paso(QStringLiteral("fecha cero"));
        plat::TableDataSet &t = *v.tabla();
        QVariantMap c;
        for (const QString &campo : t.primaryKeyFields())
            c.insert(campo, gptest::claseDeCampo(t.fieldByName(campo)) == ClaseCampo::Entero ? QVariant(1) : QVariant("0"));
        const QStringList columnas = c.keys();
        try {
            otro().db().exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (:%3)")
                                 .arg(t.tableName(), columnas.join(u','), columnas.join(QStringLiteral(", :"))),
                             c);
        } catch (const gp::Error &e) {
            informe_.nota(QStringLiteral("no se escribe por fuera: %1").arg(e.mensaje()));
            return;
        }
        cerrar(v);
        marcar();
        if (!reabrir(v))
            return;
        const QStringList textos = textosVisibles(*v.form);
        informe_.comprobar(!textos.join(u'\n').contains(QStringLiteral("1899")),
                           QStringLiteral("ninguna fecha vacía se ve como 30/12/1899"));
        leer();
    }

    // ---- adding a record by keys ---------------------------------------------------------------

    // False when what was typed was lost before the save.
    bool pasoAlta(Ventana &v, int vuelta)
    {
        if (!reabrir(v))
            return true;
        marcar();
        plat::DataSet &r = *v.registro();
        if (r.state() == plat::DataSetState::Edit)
            pulsar(Qt::Key_Escape);   // an edit a lost record left
        if (r.state() != plat::DataSetState::Insert)
            pulsar(Qt::Key_F5);
        if (!informe_.comprobar(r.state() == plat::DataSetState::Insert, QStringLiteral("F5 abre un registro nuevo")))
            return true;
        for (plat::DBGrid *g : v.form->findChildren<plat::DBGrid *>())
            if (g->dataSet() && g->dataSet() != &r && g->dataSet()->active() && g->model())
                informe_.comprobar(g->model()->rowCount() == 0,
                                   QStringLiteral("la rejilla %1 del registro nuevo está vacía").arg(g->objectName()));
        QList<Tecleado> tecleados;
        QVariantMap c;
        if (!recorrerCampos(v, vuelta, tecleados, c))
            return false;
        leer();
        if (c.isEmpty())
            return true;   // the records were the grid's lines, each saved and found stored
        grabar(v);
        leer();
        informe_.comprobar(vivo(), QStringLiteral("el programa sigue"));
        const plat::QueryResult fila = almacenado(v, c);
        if (!informe_.comprobar(fila.rows.size() == 1,
                                QStringLiteral("el registro %1 está grabado").arg(textoClave(c))))
            return true;
        v.claveGrabada = c;
        for (const Tecleado &t : tecleados)
            informe_.comprobar(gptest::coincide(t.clase, fila.value(0, t.campo), t.texto),
                               QStringLiteral("%1 guarda «%2» (guardado «%3»)")
                                   .arg(t.campo, t.texto, fila.value(0, t.campo).toString()));
        return true;
    }

    static QString textoClave(const QVariantMap &c)
    {
        QStringList v;
        for (const QVariant &x : c)
            v << x.toString();
        return v.join(u'/');
    }

    // Tab from the key through every control of the record, typing into each, then through
    // each page not shown yet; `c` follows the new record's key. False when the record typed
    // so far was lost.
    bool recorrerCampos(Ventana &v, int vuelta, QList<Tecleado> &tecleados, QVariantMap &c)
    {
        std::set<QWidget *> vistos;
        std::set<std::pair<plat::PageControl *, int>> paginas;
        for (int i = 0; i < 12 && v.form; ++i) {
            for (plat::PageControl *pc : v.form->findChildren<plat::PageControl *>())
                if (pc->isVisible())
                    paginas.insert({pc, pc->currentIndex()});
            if (!cadena(v, vuelta, tecleados, c, vistos))
                return false;
            const auto pendiente = paginaPendiente(*v.form, paginas);
            if (!pendiente.first)
                break;
            paginas.insert(pendiente);
            if (!informe_.comprobar(mostrarPagina(*pendiente.first, pendiente.second),
                                    QStringLiteral("las flechas en las pestañas de %1 muestran «%2»")
                                        .arg(pendiente.first->objectName(), pendiente.first->tabText(pendiente.second))))
                continue;
            siguiente();
        }
        return true;
    }

    // The controls from the focus on, in Tab order, until one seen before or the save button.
    bool cadena(Ventana &v, int vuelta, QList<Tecleado> &tecleados, QVariantMap &c, std::set<QWidget *> &vistos)
    {
        bool lineas = false;   // the window's records are the lines of its grid, each found stored
        QWidget *guardar = botonGrabar(*v.form);
        for (int i = 0; i < 80 && v.form && foco() && v.form->isAncestorOf(foco()); ++i) {
            QWidget *w = foco();
            if (vistos.count(w) || w == guardar)
                break;
            vistos.insert(w);
            const QString nombre = w->objectName();
            auto *g = qobject_cast<plat::DBGrid *>(w);
            if (g && !recorrerRejilla(*g, &v))
                return false;
            else if (auto *b = qobject_cast<plat::Button *>(w))
                returnEnBoton(*b);
            else if (auto *d = dynamic_cast<plat::DataBound *>(w); d && d->field() && d->dataSource()
                     && d->dataSource()->dataSet() == v.registro())
                teclearCampo(v, w, *d->field(), vuelta, tecleados);
            plat::DataSet *r = v.registro();
            if (r && r->state() == plat::DataSetState::Insert)
                c = clave(*v.tabla());
            else if (lineas || (g && g->dataSet() == r)) {
                lineas = true;
                c.clear();
            } else if (!informe_.comprobar(
                           r && !c.isEmpty() && almacenado(v, c).rows.size() == 1,
                           QStringLiteral("el registro nuevo sigue en pantalla o grabado tras %1").arg(nombre))) {
                return false;
            }
            if (foco() == w)
                siguiente();
        }
        return true;
    }

    // A page of a shown page control that the walk has not been through.
    static std::pair<plat::PageControl *, int> paginaPendiente(plat::Form &f,
                                                               const std::set<std::pair<plat::PageControl *, int>> &vistas)
    {
        for (plat::PageControl *pc : f.findChildren<plat::PageControl *>())
            for (int i = 0; pc->isVisible() && i < pc->count(); ++i)
                if (pc->isTabVisible(i) && !vistas.count({pc, i}))
                    return {pc, i};
        return {nullptr, -1};
    }

    // The page shown by keys: Tab to the control's tabs, then the arrows.
    bool mostrarPagina(plat::PageControl &pc, int indice)
    {
        if (pc.currentIndex() == indice)
            return true;
        if (!tabularHasta(pc.tabBar())) {
            return false;
        }
        for (int i = 0; i < pc.count() && pc.currentIndex() != indice; ++i)
            pulsar(pc.currentIndex() < indice ? Qt::Key_Right : Qt::Key_Left);
        return pc.currentIndex() == indice;
    }

    // The pages that hold the control shown, outermost first.
    bool mostrarPaginasDe(QWidget *control)
    {
        QList<QPair<plat::PageControl *, int>> cadenaPaginas;
        for (QWidget *w = control; w; w = w->parentWidget())
            if (auto *hoja = qobject_cast<plat::TabSheet *>(w))
                if (auto *pc = deFoco<plat::PageControl>(hoja->parentWidget()))
                    cadenaPaginas.prepend({pc, pc->indexOf(hoja)});
        for (const auto &[pc, indice] : cadenaPaginas)
            if (!mostrarPagina(*pc, indice))
                return false;
        return true;
    }

    static QWidget *botonGrabar(plat::Form &f)
    {
        for (const char *nombre : {"pbConforme", "pbGrabar", "pbAceptar"})
            if (auto *b = f.findComponent<QWidget>(QString::fromLatin1(nombre)))
                return b;
        return nullptr;
    }

    // A field of the record: a good value, a refused one, a good one again; a list opened and
    // closed; what the field holds at the end is noted to be found stored.
    void teclearCampo(Ventana &v, QWidget *control, plat::Field &campo, int vuelta, QList<Tecleado> &tecleados)
    {
        plat::DataSet &r = *v.registro();
        if (campo.readOnly || campo.isCalculated() || !control->isEnabled() || control->property("ReadOnly").toBool())
            return;
        const ClaseCampo clase = gptest::claseDeCampo(campo);
        const bool esClave = v.tabla()->primaryKeyFields().contains(campo.fieldName(), Qt::CaseInsensitive);
        const QString nombre = campo.fieldName();
        if (qobject_cast<QComboBox *>(control)) {
            const QStringList antes = textosVisibles(*v.form);
            listaConEsc(control,
                        [&] { return r.state() == plat::DataSetState::Insert && textosVisibles(*v.form) == antes; },
                        QStringLiteral("el registro nuevo sigue con lo tecleado"));
            auto *lista = qobject_cast<QComboBox *>(control);
            if (lista->count() > 0) {
                const QString previo = lista->currentText();
                const bool abajo = lista->currentIndex() + 1 < lista->count();
                pulsar(abajo ? Qt::Key_Down : Qt::Key_Up);
                informe_.comprobar(lista->currentText() != previo && !lista->currentText().isEmpty(),
                                   QStringLiteral("%1 elige en %2")
                                       .arg(abajo ? QStringLiteral("Abajo") : QStringLiteral("Arriba"),
                                            control->objectName()));
                if (!lista->currentText().isEmpty() && !qobject_cast<plat::DBLookupComboBox *>(control))
                    tecleados << Tecleado{nombre, ClaseCampo::Texto, lista->currentText()};
            }
            return;
        }
        if (!qobject_cast<QLineEdit *>(control) && !qobject_cast<QPlainTextEdit *>(control))
            return;
        const gptest::ValoresCampo valores = gptest::valoresDeCampo(campo, vuelta);
        if (valores.valido.isEmpty())
            return;
        const bool memo = qobject_cast<QPlainTextEdit *>(control);
        QString valido = esClave ? gptest::codigoDeCampo(campo, vuelta) : valores.valido;
        if (esClave && !textoDeControl(control).isEmpty())
            valido = textoDeControl(control);   // the window numbered it
        // A key already stored is refused as a value of the wrong kind is.
        const QString rechazado = esClave ? v.claveGrabada.value(nombre).toString() : valores.rechazado;
        const std::optional<QString> tomado = teclearYSalir(v, control, valido);
        if (!tomado)
            return;
        valido = *tomado;
        if (!rechazado.isEmpty()) {
            volverA(control);
            marcar();
            reescribir(rechazado);
            pulsar(Qt::Key_Tab);
            const Leidos l = leer();
            if (!l.textos.isEmpty())
                informe_.comprobar(foco() == control && textoDeControl(control) == rechazado,
                                   QStringLiteral("%1 rechaza «%2» y lo conserva con el foco").arg(nombre, rechazado));
            else
                informe_.comprobar(!campo.asString().contains(rechazado),
                                   QStringLiteral("%1 no toma «%2»").arg(nombre, rechazado));
            volverA(control);
            teclearYSalir(v, control, valido);
        }
        if (clase == ClaseCampo::Texto && !esClave && !memo) {
            // Pasted line breaks and tabs become blanks in a one-line field.
            volverA(control);
            QApplication::clipboard()->setText(QStringLiteral("linea1\nlinea2\tTAB"));
            reescribir(QString());
            pulsar(Qt::Key_V, Qt::ControlModifier);
            valido = textoDeControl(control);
            informe_.comprobar(!valido.contains(u'\n') && !valido.contains(u'\t')
                                   && valido.startsWith(QLatin1String("linea1")),
                               QStringLiteral("%1 pega «%2» en una línea").arg(nombre, valido));
            pulsar(Qt::Key_Tab);
            leer();
        }
        tecleados << Tecleado{nombre, clase, valido};
    }

    // Types the value and leaves the control: the value is on screen in the field. A value
    // the field refuses (a code of a look-up) is looked up with F2, which offers the stored
    // ones: the first is taken, or the field is left empty. Answers what the field took.
    std::optional<QString> teclearYSalir(Ventana &v, QWidget *control, const QString &valor)
    {
        marcar();
        reescribir(valor);
        pulsar(Qt::Key_Tab);
        const QString nombre = control->objectName();
        if (!leer().textos.isEmpty()) {
            informe_.comprobar(foco() == control, QStringLiteral("%1 rechaza «%2» y guarda el foco").arg(nombre, valor));
            volverA(control);
            respuesta_ = [](plat::Form &d) { elegirPrimeraFila(d); };
            pulsar(Qt::Key_F2);
            respuesta_ = nullptr;
            const QString elegido = textoDeControl(control);
            if (elegido == valor || elegido.isEmpty())
                reescribir(QString());
            pulsar(Qt::Key_Tab);
            if (!leer().textos.isEmpty() || elegido == valor || elegido.isEmpty())
                return std::nullopt;
            informe_.nota(QStringLiteral("F2 en %1 elige «%2»").arg(nombre, elegido));
            return elegido;
        }
        informe_.comprobar(enEdicion(*v.registro()) && textoDeControl(control).contains(valor.section(u'\n', 0, 0)),
                           QStringLiteral("%1 muestra «%2»").arg(nombre, valor));
        return valor;
    }

    // A search answered with its first row (Return in its datum searches, Return in its
    // rows accepts), or cancelled when it has none.
    static void elegirPrimeraFila(plat::Form &d)
    {
        auto *busqueda = qobject_cast<TfGENEBUSQ *>(&d);
        plat::DataSet *filas = busqueda ? &busqueda->ClientDataSet1->dataSet() : nullptr;
        if (filas && !filas->active()) {
            QTest::keyClick(busqueda->DatoABuscar, Qt::Key_Return);
            asentar();
        }
        if (filas && filas->active() && !filas->isEmpty()) {
            filas->first();
            QTest::keyClick(busqueda->DBGrid1, Qt::Key_Return);
        } else {
            d.setModalResult(plat::mrCancel);
        }
    }

    // Back to a control the walk left, with Shift+Tab.
    void volverA(QWidget *control)
    {
        for (int i = 0; i < 10 && foco() != control; ++i)
            pulsar(Qt::Key_Backtab, Qt::ShiftModifier);
    }

    // A grid: two lines typed column by column with Tab. The first is posted with Down (which
    // adds the next); the second, in a window whose records are the grid's lines, with the
    // window's save (which adds a blank line of its own, left there), else with Down too, and
    // the blank line Down added is left with Up. False when a line typed was lost.
    bool recorrerRejilla(plat::DBGrid &g, Ventana *v = nullptr)
    {
        bool guardadas = true;
        auto *tabla = dynamic_cast<plat::TableDataSet *>(g.dataSet());
        const QPointer<plat::DBGrid> rejilla(&g);
        const bool registros = v && tabla == v->registro();
        if (tabla && tabla->active() && !g.readOnly() && tabla->canModify()) {
            const int columnaTexto = columnaDescriptiva(g);
            for (int linea = 1; linea <= 2 && rejilla && tabla->active(); ++linea) {
                if (tabla->state() != plat::DataSetState::Insert) {
                    pulsar(Qt::Key_End, Qt::ControlModifier);
                    pulsar(Qt::Key_Down);
                }
                if (!informe_.comprobar(tabla->state() == plat::DataSetState::Insert,
                                        QStringLiteral("%1 abre la línea %2").arg(g.objectName()).arg(linea)))
                    break;
                const QList<Tecleado> celdas = teclearLinea(g, ++lineasTecleadas_, columnaTexto, linea == 2);
                if (registros && linea == 2)
                    grabar(*v);
                else if (rejilla && enEdicion(*tabla))
                    pulsar(Qt::Key_Down);
                guardadas = lineaGrabada(*tabla, celdas) && guardadas;
            }
            if (rejilla && !registros && tabla->state() == plat::DataSetState::Insert)
                pulsar(Qt::Key_Up);
        }
        if (rejilla && deFoco<plat::DBGrid>(foco()) == rejilla)
            siguiente();
        return guardadas;
    }

    // Where Ctrl+T is tried: the longest text column, as descriptions are.
    static int columnaDescriptiva(const plat::DBGrid &g)
    {
        int elegida = -1, mayor = 0;
        for (int i = 0; i < g.columnCount(); ++i)
            if (const plat::Field *f = g.column(i)->field(); columnaEditable(g, i) && g.column(i)->PickList.isEmpty()
                && gptest::claseDeCampo(*f) == ClaseCampo::Texto && f->size() > mayor) {
                elegida = i;
                mayor = f->size();
            }
        return mayor >= kTextoPredefinido.size() ? elegida : -1;
    }

    static bool columnaEditable(const plat::DBGrid &g, int col)
    {
        const plat::GridColumn *c = g.column(col);
        const plat::Field *f = c ? c->field() : nullptr;
        const ClaseCampo clase = f ? gptest::claseDeCampo(*f) : ClaseCampo::Otro;
        return f && c->Visible && !c->ReadOnly && !f->readOnly && !f->isCalculated() && clase != ClaseCampo::Otro
            && clase != ClaseCampo::Memo;
    }

    // Back to a cell of the line with Shift+Tab; false when the line was left.
    bool volverACelda(plat::DBGrid &g, int fila, int col)
    {
        for (int i = 0; i < g.columnCount() && g.currentIndex().row() == fila && g.selectedIndex() != col; ++i)
            pulsar(Qt::Key_Backtab, Qt::ShiftModifier);
        return g.currentIndex().row() == fila && g.selectedIndex() == col;
    }

    // The cells of the current line, from the column selected on, Tab after each: a look-up
    // takes the first stored code F2 offers, other cells a value of their kind (then a
    // refused one and the value again). The descriptive column gets, last, a code and
    // Ctrl+T; on the second line Ctrl+T comes first, in an empty cell.
    QList<Tecleado> teclearLinea(plat::DBGrid &g, int n, int columnaTexto, bool segunda)
    {
        QList<Tecleado> celdas;
        plat::DataSet &ds = *g.dataSet();
        const auto *tabla = dynamic_cast<const plat::TableDataSet *>(&ds);
        const int fila = g.currentIndex().row();
        int ultima = -1;
        for (int i = 0; i < g.columnCount(); ++i)
            if (columnaEditable(g, i))
                ultima = i;
        std::set<int> vistas;
        while (enEdicion(ds) && g.currentIndex().row() == fila && !vistas.count(g.selectedIndex())) {
            const int col = g.selectedIndex();
            vistas.insert(col);
            if (!columnaEditable(g, col) || (col == columnaTexto && !segunda)) {
                pulsar(Qt::Key_Tab);
                continue;
            }
            plat::GridColumn *columna = g.column(col);
            plat::Field *f = columna->field();
            const ClaseCampo clase = gptest::claseDeCampo(*f);
            const QString nombre = QStringLiteral("%1.%2").arg(g.objectName(), f->fieldName());
            const gptest::ValoresCampo valores = gptest::valoresDeCampo(*f, n);
            const bool esClave = tabla && tabla->primaryKeyFields().contains(f->fieldName(), Qt::CaseInsensitive);
            QString valor = esClave ? gptest::codigoDeCampo(*f, n) : valores.valido;
            if (!columna->PickList.isEmpty()) {
                const QStringList antes = textosVisibles(g);
                listaConEsc(foco(), [&] { return enEdicion(ds) && textosVisibles(g) == antes; },
                            QStringLiteral("la línea sigue con lo tecleado"));
                valor = columna->PickList.first();
                teclearCelda(valor);
            } else if (const auto elegido = esClave || clase == ClaseCampo::Decimal ? std::nullopt : buscarConF2(*f)) {
                valor = *elegido;
            } else {
                teclearCelda(valor);
            }
            marcar();
            pulsar(Qt::Key_Tab);
            if (!leer().textos.isEmpty()) {
                // Refused (a key stored already, a code of nothing): the cell keeps it, with the
                // focus, and is left empty, or a key gets another code.
                informe_.comprobar(g.selectedIndex() == col && textoDeControl(foco()) == valor,
                                   QStringLiteral("%1 rechaza «%2» y lo conserva con el foco").arg(nombre, valor));
                if (!volverACelda(g, fila, col))
                    break;
                valor = esClave ? gptest::codigoDeCampo(*f, n + 50) : QString();
                teclearCelda(valor);
                pulsar(Qt::Key_Tab);
                if (valor.isEmpty())
                    continue;
            }
            if (g.currentIndex().row() == fila)   // else the line was posted: it is read back stored
                informe_.comprobar(gptest::coincide(clase, f->value(), valor),
                                   QStringLiteral("%1 toma «%2» (tiene «%3»)").arg(nombre, valor, f->asString()));
            if (col != ultima)
                informe_.comprobar(g.selectedIndex() != col || g.currentIndex().row() != fila,
                                   QStringLiteral("Tab pasa de %1 a la columna siguiente").arg(nombre));
            if (!valores.rechazado.isEmpty() && !esClave && columna->PickList.isEmpty() && col != ultima
                && g.currentIndex().row() == fila && volverACelda(g, fila, col)) {
                marcar();
                teclearCelda(valores.rechazado);
                pulsar(Qt::Key_Tab);
                if (!leer().textos.isEmpty())
                    informe_.comprobar(g.selectedIndex() == col && textoDeControl(foco()) == valores.rechazado,
                                       QStringLiteral("%1 rechaza «%2» y lo conserva con el foco")
                                           .arg(nombre, valores.rechazado));
                else
                    informe_.comprobar(!f->asString().contains(valores.rechazado),
                                       QStringLiteral("%1 no toma «%2»").arg(nombre, valores.rechazado));
                if (volverACelda(g, fila, col)) {
                    teclearCelda(valor);
                    pulsar(Qt::Key_Tab);
                }
            }
            celdas << Tecleado{f->fieldName(), clase, valor};
        }
        if (!segunda && columnaTexto >= 0 && volverACelda(g, fila, columnaTexto) && ctrlT(g)) {
            plat::Field *f = g.column(columnaTexto)->field();
            celdas << Tecleado{f->fieldName(), ClaseCampo::Texto, kTextoPredefinido};
            pulsar(Qt::Key_Tab);
            ctrlTEnOtraCelda(g, *f);
        }
        return celdas;
    }

    // F2 on a cell of a look-up opens the search of its table: its first row is taken. The
    // value the field took, or nothing when no search (or an empty one) opened.
    std::optional<QString> buscarConF2(plat::Field &f)
    {
        const QString antes = f.asString();
        bool busqueda = false;
        respuesta_ = [&busqueda](plat::Form &d) {
            busqueda = qobject_cast<TfGENEBUSQ *>(&d);
            elegirPrimeraFila(d);
        };
        pulsar(Qt::Key_F2);
        respuesta_ = nullptr;
        if (!busqueda || f.asString() == antes || f.asString().isEmpty())
            return std::nullopt;
        informe_.nota(QStringLiteral("F2 en %1 elige «%2»").arg(f.fieldName(), f.asString()));
        return f.asString();
    }

    // What the cell shows replaced by the text: typing opens its editor over the old text.
    void teclearCelda(const QString &texto)
    {
        if (qobject_cast<QLineEdit *>(foco()) || qobject_cast<QComboBox *>(foco()))
            reescribir(texto);
        else
            teclear(texto);
    }

    // Ctrl+T writes the predefined text of the code typed in the cell.
    bool ctrlT(plat::DBGrid &g)
    {
        plat::Field &f = *g.selectedField();
        teclearCelda(QStringLiteral("HOLA"));
        pulsar(Qt::Key_T, Qt::ControlModifier);
        return informe_.comprobar(f.asString() == kTextoPredefinido,
                                  QStringLiteral("Ctrl+T en %1.%2 escribe el texto de HOLA")
                                      .arg(g.objectName(), f.fieldName()));
    }

    // Ctrl+T in the next cell, where nothing was typed: it writes nothing of the cell before
    // and says nothing (a search opens, which is cancelled).
    void ctrlTEnOtraCelda(plat::DBGrid &g, const plat::Field &escrito)
    {
        respuesta_ = [](plat::Form &d) { d.setModalResult(plat::mrCancel); };
        marcar();
        pulsar(Qt::Key_T, Qt::ControlModifier);
        respuesta_ = nullptr;
        const bool callado = leer().textos.isEmpty();
        QStringList repetido;
        for (int i = 0; g.dataSet() && i < g.dataSet()->fieldCount(); ++i)
            if (const plat::Field &f = g.dataSet()->field(i); &f != &escrito && f.asString() == kTextoPredefinido)
                repetido << f.fieldName();
        informe_.comprobar(callado && repetido.isEmpty(),
                           QStringLiteral("Ctrl+T en la celda siguiente de %1, sin nada tecleado, no repite «%2»%3")
                               .arg(g.objectName(), kTextoPredefinido,
                                    repetido.isEmpty() ? QString() : QStringLiteral(" (en ") + repetido.join(u',') + u')'));
    }

    // The posted line is stored with what was typed into its cells.
    bool lineaGrabada(const plat::TableDataSet &tabla, const QList<Tecleado> &celdas)
    {
        if (celdas.isEmpty())
            return true;
        if (!otro().db().tableExists(tabla.tableName())) {
            informe_.nota(QStringLiteral("%1 es una tabla de la sesión").arg(tabla.tableName()));
            return true;
        }
        QStringList columnas;
        for (const plat::FieldDef &d : otro().db().columns(tabla.tableName()))
            columnas << d.name.toLower();
        QVariantMap valores;
        QStringList condiciones;
        for (const Tecleado &c : celdas) {
            if (!columnas.contains(c.campo.toLower()))
                continue;   // a field of the window's own, not of the table
            condiciones << QStringLiteral("%1 = :%1").arg(c.campo);
            switch (c.clase) {
            case ClaseCampo::Fecha:
                valores.insert(c.campo, QDateTime(QDate::fromString(c.texto, QStringLiteral("dd/MM/yyyy")), QTime(0, 0)));
                break;
            case ClaseCampo::Entero:
            case ClaseCampo::Decimal:
                valores.insert(c.campo, QString(c.texto).replace(u',', u'.').toDouble());
                break;
            default:
                valores.insert(c.campo, c.texto);
            }
        }
        QStringList textos;
        for (const Tecleado &c : celdas)
            textos << c.texto;
        const QVariant n = otro().db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                                                  .arg(tabla.tableName(), condiciones.join(QStringLiteral(" AND "))),
                                              valores);
        return informe_.comprobar(n.toInt() == 1,
                                  QStringLiteral("la línea «%1» está grabada").arg(textos.join(QStringLiteral("|"))));
    }

    // On the last stored record (the walk's, with its lines), Insert on the second line of each
    // grid and Esc: the stored lines are those of before.
    void pasoInsertarEnMedio(Ventana &v)
    {
        informe_.paso(QStringLiteral("insertar en medio"));
        if (!reabrir(v))
            return;
        if (enEdicion(*v.registro()))
            pulsar(Qt::Key_Escape);   // the new record the window opened after the last save
        if (auto *ultimo = v.form->findComponent<QWidget>(QStringLiteral("pbUltimo")); ultimo && tabularHasta(ultimo))
            pulsar(Qt::Key_Space);
        QList<QPointer<plat::DBGrid>> rejillas;
        for (plat::DBGrid *g : v.form->findChildren<plat::DBGrid *>())
            rejillas << g;
        for (const QPointer<plat::DBGrid> &g : rejillas) {
            auto *tabla = g ? dynamic_cast<plat::TableDataSet *>(g->dataSet()) : nullptr;
            if (!tabla || !tabla->active() || g->readOnly() || !tabla->canModify() || !reabrir(v))
                continue;
            if (enEdicion(*v.registro()))
                pulsar(Qt::Key_Escape);   // the new record opened after the last save
            if (!mostrarPaginasDe(g) || !tabularHasta(g) || tabla->recordCount() < 2) {
                informe_.nota(QStringLiteral("%1 sin dos líneas a la vista").arg(g->objectName()));
                continue;
            }
            const QString todas = QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                      .arg(tabla->tableName(), tabla->primaryKeyFields().join(u','));
            const auto antes = otro().db().query(todas).rows;
            pulsar(Qt::Key_Home, Qt::ControlModifier);
            pulsar(Qt::Key_Down);
            pulsar(Qt::Key_Insert);
            if (!g || tabla->state() != plat::DataSetState::Insert) {
                informe_.nota(QStringLiteral("Insert no abre una línea en %1").arg(g ? g->objectName() : QString()));
                continue;
            }
            if (otro().db().query(todas).rows != antes)
                informe_.nota(QStringLiteral("Insert mueve las líneas grabadas de %1").arg(g->objectName()));
            pulsar(Qt::Key_Escape);
            informe_.comprobar(otro().db().query(todas).rows == antes,
                               QStringLiteral("Insert y Esc en medio de %1 dejan las líneas grabadas como estaban")
                                   .arg(g ? g->objectName() : QString()));
        }
    }

    // Tab to the save button and Return. A Return that does not press it is a fault; Space,
    // which a user tries next, presses it so that the walk goes on.
    void grabar(Ventana &v)
    {
        if (!v.registro() || !enEdicion(*v.registro())) {
            informe_.nota(QStringLiteral("nada por grabar"));
            return;
        }
        const QPointer<QAbstractButton> boton = qobject_cast<QAbstractButton *>(botonGrabar(*v.form));
        // Entering a window's lines saves its record first: that save may store it, or be
        // refused and say so (the focus goes back before the lines), on the way to the button.
        const auto avisos = [this] { return mensajes_.mensajes().size() + cuadros_.size(); };
        const auto antes = avisos();
        for (int i = 0; i < 60 && boton && foco() != boton; ++i) {
            siguiente();
            if (!v.form || !enEdicion(*v.registro())) {
                informe_.nota(QStringLiteral("la entrada en las líneas graba el registro"));
                return;
            }
            if (avisos() != antes) {
                informe_.nota(QStringLiteral("la entrada en las líneas intenta grabar el registro y avisa"));
                return;
            }
        }
        if (!informe_.comprobar(boton && foco() == boton, QStringLiteral("Tab llega al botón de grabar")))
            return;
        int pulsado = 0;
        const auto conexion = QObject::connect(boton, &QAbstractButton::clicked, [&pulsado] { ++pulsado; });
        pulsar(Qt::Key_Return);
        QObject::disconnect(conexion);
        if (!informe_.comprobar(pulsado == 1, QStringLiteral("Return en el botón de grabar lo pulsa")) && boton
            && tabularHasta(boton))
            pulsar(Qt::Key_Space);
    }

    // ---- leaving typed values ---------------------------------------------------------------

    // A text field of the stored record edited (a character added at its end), in an edit
    // box or in a cell of the window's grid: the field, what it holds now, the record's key.
    struct Edicion
    {
        QString campo, texto;
        QVariantMap clave;
    };

    std::optional<Edicion> editar(Ventana &v)
    {
        if (!reabrir(v))
            return std::nullopt;
        plat::DataSet &r = *v.registro();
        if (enEdicion(r))
            pulsar(Qt::Key_Escape);
        if (r.isEmpty())
            return std::nullopt;
        const QStringList claves = v.tabla()->primaryKeyFields();
        const auto editable = [&](const plat::Field *f) {
            return f && !f->readOnly && gptest::claseDeCampo(*f) == ClaseCampo::Texto && !claves.contains(f->fieldName());
        };
        // The longest text, as descriptions are: no code of a look-up.
        plat::DBEdit *descripcion = nullptr;
        for (plat::DBEdit *e : v.form->findChildren<plat::DBEdit *>())
            if (e->isVisible() && e->isEnabled() && !e->isReadOnly() && e->dataSource() == v.fuente && editable(e->field())
                && (!descripcion || e->field()->size() > descripcion->field()->size()))
                descripcion = e;
        std::optional<Edicion> ed;
        if (descripcion && tabularHasta(descripcion)) {
            pulsar(Qt::Key_End);
            teclear(QStringLiteral("x"));
            ed = Edicion{descripcion->field()->fieldName(), descripcion->text(), clave(*v.tabla())};
        }
        for (plat::DBGrid *g : v.form->findChildren<plat::DBGrid *>()) {
            const int col = columnaDescriptiva(*g);
            if (ed || col < 0 || g->dataSource() != v.fuente || !g->isVisible() || !tabularHasta(g))
                continue;
            pulsar(Qt::Key_Home);
            for (int i = 0; i < g->columnCount() && g->selectedIndex() != col; ++i)
                pulsar(Qt::Key_Tab);
            // Typing opens the cell's editor over its text: the stored text and one letter more
            // is a change, as the edit box's added letter is.
            teclear(g->column(col)->field()->asString() + u'x');
            const QString texto = textoDeControl(foco());
            pulsar(Qt::Key_Tab);
            ed = Edicion{g->column(col)->field()->fieldName(), texto, clave(*v.tabla())};
        }
        if (!ed) {
            informe_.nota(QStringLiteral("sin campo de texto que editar"));
            return std::nullopt;
        }
        if (!informe_.comprobar(r.state() == plat::DataSetState::Edit && r.fieldByName(ed->campo).asString() == ed->texto,
                                QStringLiteral("lo tecleado en %1 abre la edición").arg(ed->campo)))
            return std::nullopt;
        return ed;
    }

    // In edit, the field still holds what was typed.
    bool enPantalla(const Ventana &v, const Edicion &ed) const
    {
        return v.form && v.registro() && enEdicion(*v.registro())
            && v.registro()->fieldByName(ed.campo).asString() == ed.texto;
    }

    // After leaving: the value is stored, or still on screen in edit, or the user was asked.
    void noPerdido(Ventana &v, const Edicion &ed, const Leidos &l)
    {
        const plat::QueryResult fila = almacenado(v, ed.clave);
        const bool guardado = fila.rows.size() == 1 && fila.value(0, ed.campo).toString() == ed.texto;
        informe_.comprobar(guardado || enPantalla(v, ed) || l.pregunta,
                           QStringLiteral("«%1» está grabado, sigue en pantalla o se preguntó").arg(ed.texto));
    }

    void pasoCerrarConEdicion(Ventana &v)
    {
        informe_.paso(QStringLiteral("cerrar con edición"));
        const auto ed = editar(v);
        if (!ed)
            return;
        marcar();
        v.form->Close();
        asentar();
        noPerdido(v, *ed, leer());
        informe_.comprobar(vivo(), QStringLiteral("el programa sigue"));
    }

    // The company search answered with the code.
    void elegirEmpresa(int codigo)
    {
        respuesta_ = [codigo](plat::Form &d) {
            auto *busqueda = qobject_cast<TfGENEBUSQ *>(&d);
            if (busqueda && busqueda->ClientDataSet1->dataSet().locate(QStringLiteral("Codigo"), codigo))
                QTest::keyClick(busqueda->DBGrid1, Qt::Key_Return);
            else
                d.setModalResult(plat::mrCancel);
        };
    }

    void pasoCambioEmpresaConEdicion(Ventana &v)
    {
        informe_.paso(QStringLiteral("cambio de empresa con edición"));
        const auto ed = editar(v);
        if (!ed)
            return;
        marcar();
        elegirEmpresa(2);
        ventana_->CambioEmpresa1->Click();
        asentar();
        respuesta_ = nullptr;
        const int empresa = fGENEINIC->Conexiones().EmpresaActual;
        noPerdido(v, *ed, leer());
        informe_.comprobar(vivo(), QStringLiteral("el programa sigue"));
        if (empresa != 1) {
            informe_.nota(QStringLiteral("empresa %1 abierta; vuelta a la 1").arg(empresa));
            elegirEmpresa(1);
            ventana_->CambioEmpresa1->Click();
            asentar();
            respuesta_ = nullptr;
            informe_.comprobar(fGENEINIC->Conexiones().EmpresaActual == 1, QStringLiteral("vuelve a la empresa 1"));
        }
        if (v.form && v.registro() && enEdicion(*v.registro()))
            pulsar(Qt::Key_Escape);
    }

    // Another program holds the record while it is saved: the save is refused with a message
    // and the typed value stays on screen, in edit; once let go, the same save stores it.
    void pasoGrabarRetenido(Ventana &v)
    {
        informe_.paso(QStringLiteral("grabar con el registro retenido"));
        const auto ed = editar(v);
        if (!ed)
            return;
        plat::Connection &db = otro().db();
        db.startTransaction();
        const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2").arg(v.nombreTabla, condicion(ed->clave));
        if (GetParam())
            db.query(sql + QStringLiteral(" FOR UPDATE"), ed->clave);
        else
            db.exec(QStringLiteral("UPDATE %1 SET %2 = %2 WHERE %3").arg(v.nombreTabla, ed->campo, condicion(ed->clave)),
                    ed->clave);
        marcar();
        grabar(v);
        const Leidos l = leer();
        db.rollback();
        informe_.comprobar(!l.textos.isEmpty(), QStringLiteral("la grabación rechazada lo dice"));
        informe_.comprobar(enPantalla(v, *ed), QStringLiteral("«%1» sigue en pantalla, en edición").arg(ed->texto));
        if (!v.form || !enEdicion(*v.registro()))
            return;
        marcar();
        grabar(v);
        leer();
        const plat::QueryResult fila = almacenado(v, ed->clave);
        informe_.comprobar(fila.rows.size() == 1 && fila.value(0, ed->campo).toString() == ed->texto,
                           QStringLiteral("soltado, la misma grabación guarda «%1»").arg(ed->texto));
    }

    // A close right after the last record's save asks nothing: a blank record or line the
    // window opened by itself holds nothing typed.
    void pasoCerrarTrasGrabar(Ventana &v)
    {
        informe_.paso(QStringLiteral("cerrar tras grabar"));
        if (!reabrir(v))
            return;
        marcar();
        v.form->Close();
        asentar();
        const Leidos l = leer();
        informe_.comprobar(!l.pregunta, QStringLiteral("no pregunta por registros sin grabar"));
        informe_.comprobar(!v.form, QStringLiteral("la ventana se cierra"));
    }

    // ---- windows without a record, and the windows' menus ----------------------------------------

    // Every control in Tab order: lists opened and closed with Esc, buttons pressed with Return,
    // a line typed into each grid.
    void pasoTeclado(Ventana &v)
    {
        informe_.paso(QStringLiteral("teclado"));
        if (reabrir(v))
            recorrerControles(*v.form);
    }

    void recorrerControles(plat::Form &f)
    {
        const QPointer<plat::Form> form(&f);
        marcar();
        std::set<QWidget *> vistos;
        // A window whose own button closes it (its save and close, its exit) is closed by the
        // press, not lost.
        QString cerradaPor;
        for (int i = 0; i < 60 && form && form->isAncestorOf(foco()) && !vistos.count(foco()); ++i) {
            QWidget *w = foco();
            vistos.insert(w);
            if (qobject_cast<QComboBox *>(w))
                listaConEsc(w, [&] { return bool(form); }, QStringLiteral("la ventana sigue abierta"));
            else if (auto *b = qobject_cast<plat::Button *>(w)) {
                const QString nombre = b->objectName();
                if (returnEnBoton(*b) && !form)
                    cerradaPor = nombre;
            } else if (auto *g = qobject_cast<plat::DBGrid *>(w))
                recorrerRejilla(*g);
            if (form && foco() == w)
                siguiente();
        }
        leer();
        informe_.nota(QStringLiteral("%1 controles en orden de Tab").arg(vistos.size()));
        if (!cerradaPor.isEmpty())
            informe_.nota(QStringLiteral("el botón %1 cierra la ventana").arg(cerradaPor));
        informe_.comprobar(vivo() && (form || !cerradaPor.isEmpty()), QStringLiteral("el programa y la ventana siguen"));
    }

    // Every entry of the window's own menus, with the record at rest: the dialogs they open
    // are walked as they show.
    void pasoMenuVentana(Ventana &v)
    {
        informe_.paso(QStringLiteral("menú de la ventana"));
        if (!reabrir(v))
            return;
        QList<QPointer<plat::MenuItem>> lista;
        for (plat::MainMenu *m : v.form->findChildren<plat::MainMenu *>()) {
            QList<plat::MenuItem *> hojas;
            entradas(m->Items(), hojas);
            for (plat::MenuItem *h : hojas)
                lista << h;
        }
        for (const QPointer<plat::MenuItem> &item : lista) {
            if (!reabrir(v) || !item || !item->enabled())
                continue;
            informe_.paso(QStringLiteral("menú › ") + rutaMenu(item));
            marcar();
            const QList<plat::Form *> antes = hijas();
            item->Click();
            asentar();
            leer();
            for (plat::Form *nueva : hijas())
                if (!antes.contains(nueva)) {
                    informe_.nota(QStringLiteral("abre %1 «%2»").arg(nueva->objectName(), nueva->caption()));
                    recorrerControles(*activar(nueva));
                    nueva->Close();
                    asentar();
                    leer();
                }
            if (v.form && v.registro() && enEdicion(*v.registro()))
                pulsar(Qt::Key_Escape);
            informe_.comprobar(vivo(), QStringLiteral("el programa sigue"));
        }
    }

    Informe informe_;
    QStringList cuadros_;
    QList<plat::Form *> comunes_;
    std::function<void(plat::Form &)> respuesta_;
    int desdeMensaje_ = 0, desdeCuadro_ = 0;
    std::optional<CuadroMensajeInstalado> cuadro_;
    std::optional<AperturaURLInstalada> url_;
    std::optional<Gancho<EjecutarProgramaFn>::Instalacion> programa_;
    std::unique_ptr<gptest::OtherProgram> otro_;
    QTimer vigia_;
    int lineasTecleadas_ = 0;
    bool escEnListas_ = true;
    std::set<QString> internos_;   // every component name the walk met
};

TEST_P(RecorridoTeclado, CadaVentanaDelMenuPorTeclado)
{
    QList<plat::MenuItem *> lista;
    entradas(ventana_->MainMenu1->Items(), lista);
    QStringList rutas;
    for (plat::MenuItem *entrada : lista)
        if (entrada != ventana_->Salir1 && entrada != ventana_->CambioEmpresa1)
            rutas << rutaMenu(entrada);
    for (const QString &ruta : rutas) {
        recorrerEntrada(ruta);
        ASSERT_TRUE(vivo()) << ruta.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Motores, RecorridoTeclado, ::testing::Values(false, true),
                         [](const auto &info) { return std::string(info.param ? "PostgreSQL" : "SQLite"); });

} // namespace




