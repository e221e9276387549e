// Another user of the project master, as a program of its own: started in the working folder
// it is given, on the company given after it (1 without), it adds one project per round when
// told, in two steps so that two of them can be made to take their code at the same moment.
// It answers "listo" and the messages its start showed, separated by " / ". Orders on standard
// input, one a line:
// "numerar <text>" starts a new project with that description ("numerado <code>" answers),
// "capitulo <code> <text>" starts a new line of that project with that description ("anotado
// <line>" answers with the line number taken), "grabar" saves the project or the line being
// added ("grabado" and the messages shown), "altas <n> <text>" adds n projects one after
// another as fast as it can, described "<text> 1" to "<text> n" ("altas" and the messages),
// "llenar <n> <text>" fills the window's work table with n rows of that text ("lleno"),
// "leer" reads it back ("leido" and its distinct texts, separated by " / "), "fin" ends.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/base/Errores.h"
#include "platform/base/SalidaMensajes.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/Form.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

namespace {

void responder(const QString &linea)
{
    std::fputs((linea + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// The project window of this user and what its orders do on it.
class Usuario
{
public:
    Usuario(TfPROYPROY &ventana, SalidaMensajesGrabada &mensajes) : ventana_(ventana), mensajes_(mensajes) {}

    // An answer followed by the messages shown since the last one.
    void conMensajes(const QString &respuesta)
    {
        responder((QStringList{respuesta} + mensajes_.textos()).join(QStringLiteral(" / ")));
        mensajes_.limpiar();
    }

    void obedecer(const QString &orden)
    {
        if (orden.startsWith(QLatin1String("numerar "))) {
            empezarProyecto(orden.mid(8));
            responder(QStringLiteral("numerado ") + proyectos().fieldByName(QStringLiteral("Codigo")).asString());
        } else if (orden.startsWith(QLatin1String("capitulo "))) {
            // A saved line starts the next one at once: that one is let go.
            if (lineas().state() == plat::DataSetState::Insert)
                lineas().cancel();
            const QStringList partes = orden.split(u' ');
            proyectos().locate(QStringLiteral("Codigo"), partes.value(1));
            lineas().append();
            lineas().fieldByName(QStringLiteral("Descripcion")).setAsString(partes.mid(2).join(u' '));
            responder(QStringLiteral("anotado %1").arg(ventana_.SiguienteLinea));
        } else if (orden == QLatin1String("grabar")) {
            ventana_.GrabarDatos(&ventana_);
            conMensajes(QStringLiteral("grabado"));
        } else if (orden.startsWith(QLatin1String("altas "))) {
            const QString texto = orden.section(u' ', 2);
            for (int i = 1, altas = orden.section(u' ', 1, 1).toInt(); i <= altas; ++i) {
                empezarProyecto(texto + u' ' + QString::number(i));
                ventana_.GrabarDatos(&ventana_);
            }
            conMensajes(QStringLiteral("altas"));
        } else if (orden.startsWith(QLatin1String("llenar "))) {
            ventana_.abrirTablaTrabajo();
            plat::DataSet &trabajo = ventana_.Temporal->dataSet();
            for (int i = 1, filas = orden.section(u' ', 1, 1).toInt(); i <= filas; ++i) {
                trabajo.append();
                trabajo.fieldByName(QStringLiteral("CampoClave")).setAsString(QString::number(++filasTrabajo_));
                trabajo.fieldByName(QStringLiteral("Datos")).setAsString(orden.section(u' ', 2));
                trabajo.post();
            }
            conMensajes(QStringLiteral("lleno"));
        } else if (orden.startsWith(QLatin1String("leer"))) {
            plat::DataSet &trabajo = ventana_.Temporal->dataSet();
            QStringList textos{QStringLiteral("leido")};
            trabajo.refresh();
            for (trabajo.first(); !trabajo.eof(); trabajo.next())
                if (const QString t = trabajo.fieldByName(QStringLiteral("Datos")).asString(); !textos.contains(t))
                    textos << t;
            conMensajes(textos.join(QStringLiteral(" / ")));
        }
    }

private:
    plat::DataSet &proyectos() { return ventana_.Table1->dataSet(); }
    plat::DataSet &lineas() { return ventana_.Table2->dataSet(); }

    // A save starts the next project at once: that one is let go.
    void empezarProyecto(const QString &descripcion)
    {
        if (ventana_.editando())
            ventana_.pbCancelarClick(&ventana_);
        ventana_.AgregarClick(&ventana_);
        proyectos().fieldByName(QStringLiteral("Descripcion")).setAsString(descripcion);
    }

    TfPROYPROY &ventana_;
    SalidaMensajesGrabada &mensajes_;
    int filasTrabajo_ = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1])))
        return 2;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada(mensajes);
    plat::Session sesion;
    TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
    TfGENEINIC inicio(nullptr, &sesion);
    inicio.afterConstruction();
    if (inicio.ArranqueFallido) {
        responder(QStringLiteral("fallo ") + mensajes.textos().join(QStringLiteral(" / ")));
        return 3;
    }
    const int empresa = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1;
    inicio.ConectarBaseDatosEmpresa(empresa);
    inicio.Conexiones().EmpresaActual = empresa;
    auto *modulo = plat::createDataModule<TModuloDatos>();
    CrearMDProyectos();
    auto *marco = new plat::Form;
    marco->setFormStyle(plat::fsMDIForm);
    plat::application().setMainForm(marco);
    auto *ventana = plat::createForm<TfPROYPROY>();
    Usuario usuario(*ventana, mensajes);
    usuario.conMensajes(QStringLiteral("listo"));

    QTextStream entrada(stdin);
    QString orden;
    while (entrada.readLineInto(&orden) && orden != QLatin1String("fin")) {
        // An engine's failure that no window caught is answered, so that the test names it.
        try {
            usuario.obedecer(orden);
        } catch (const gp::Error &error) {
            usuario.conMensajes(QStringLiteral("fallo ") + error.mensaje());
        }
    }
    delete ventana;
    delete marco;
    LiberarMDProyectos();
    modulo->Free();
    sesion.closeAll();
    return 0;
}
