#include "GENEW/runtime/formularios/AutorizacionEscritura.h"

#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/formularios/ServiciosFormulario.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DataSetComponents.h"

const QString kSinAutorizacionModificar = QStringLiteral("¡Ud. no tiene autorización para realizar modificaciones!");

QString ProgramaDeVentana(const QObject *objeto)
{
    for (; objeto; objeto = objeto->parent()) {
        if (const auto *formulario = qobject_cast<const plat::Form *>(objeto))
            return formulario->caption();
    }
    return QString();
}

QString ProgramaDeVentana(const plat::DataSet &dataSet)
{
    return ProgramaDeVentana(plat::DataSetComponent::of(&dataSet));
}

bool SoloLectura(const QStringList &programas)
{
    ServiciosFormulario *servicios = serviciosFormulario();
    if (!servicios || !fGENEINIC)
        return false;
    for (const QString &programa : programas) {
        if (!programa.isEmpty()
            && servicios->NivelAccesoPrograma(fGENEINIC->UsuarioActual, programa) == QLatin1String("Solo Lectura"))
            return true;
    }
    return false;
}

bool SoloLectura(const QObject *ventana) { return SoloLectura(QStringList{ProgramaDeVentana(ventana)}); }

bool EscrituraAutorizada(const QStringList &programas)
{
    if (!SoloLectura(programas))
        return true;
    MensajeAviso(kSinAutorizacionModificar);
    return false;
}

bool EscrituraAutorizada(const QObject *ventana) { return EscrituraAutorizada(QStringList{ProgramaDeVentana(ventana)}); }

bool EscrituraAutorizada(const plat::DataSet &dataSet)
{
    return EscrituraAutorizada(QStringList{ProgramaDeVentana(dataSet)});
}
