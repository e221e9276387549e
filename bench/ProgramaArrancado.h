#pragma once
// A program started the way a user starts it, in a temporary folder of its own, for the
// benchmarks that time the data module and its forms: the shipped definitions (plus any
// the benchmark adds), the start-up form logged in, company 1 created and connected when
// asked, and the data module. Messages are recorded, since nothing may wait for a click.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

struct OpcionesArranque
{
    QStringList argumentos{QStringLiteral("U=ADMIN")};
    QByteArray definicionesAdicionales;   // lines appended to DATABASE.TXT, CR LF ended
    bool conEmpresa = true;
    // Files written into the folder before the start (name, contents): BASESDATOS.TXT and
    // ALIAS.INI put the databases on a server.
    QList<QPair<QString, QByteArray>> archivos;
};

struct ProgramaArrancado
{

    QTemporaryDir carpeta;
    QString carpetaAnterior = QDir::currentPath();
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada salida{mensajes};
    plat::Session sesion;
    std::unique_ptr<TfGENEINIC> inicio;
    TModuloDatos *modulo = nullptr;
    bool arrancado = false;

    explicit ProgramaArrancado(const OpcionesArranque &opciones = {})
    {
        QDir::setCurrent(carpeta.path());
        QFile origen(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"));
        QFile destino(carpeta.filePath(QStringLiteral("DATABASE.TXT")));
        if (!origen.open(QIODevice::ReadOnly) || !destino.open(QIODevice::WriteOnly))
            return;
        destino.write(origen.readAll());
        if (!opciones.definicionesAdicionales.isEmpty())
            destino.write("\r\n" + opciones.definicionesAdicionales);
        destino.close();
        for (const auto &[nombre, contenido] : opciones.archivos) {
            QFile archivo(carpeta.filePath(nombre));
            if (!archivo.open(QIODevice::WriteOnly) || archivo.write(contenido) != contenido.size())
                return;
        }
        TfGENEINIC::ArgumentosArranque = opciones.argumentos;
        inicio = std::make_unique<TfGENEINIC>(nullptr, &sesion);
        inicio->afterConstruction();
        if (inicio->ArranqueFallido)
            return;
        if (opciones.conEmpresa) {
            if (!inicio->CrearBaseDatosEmpresa(1))
                return;
            inicio->ConectarBaseDatosEmpresa(1);
            inicio->Conexiones().EmpresaActual = 1;
        }
        modulo = plat::createDataModule<TModuloDatos>();
        arrancado = true;
    }

    ~ProgramaArrancado()
    {
        if (modulo)
            modulo->Free();
        inicio.reset();
        sesion.closeAll();
        QDir::setCurrent(carpetaAnterior);
    }

    // What the user would have been told when the start failed, for the benchmark's error line.
    QString motivoFallo() const
    {
        QFile registro(carpeta.filePath(QStringLiteral("ERRORES.LOG")));
        const QByteArray errores = registro.open(QIODevice::ReadOnly) ? registro.readAll() : QByteArray();
        return mensajes.textos().join(u'\n') + u'\n' + QString::fromUtf8(errores);
    }

    ProgramaArrancado(const ProgramaArrancado &) = delete;
    ProgramaArrancado &operator=(const ProgramaArrancado &) = delete;
};
