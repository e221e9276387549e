#include "GENEW/runtime/ManejadorExcepciones.h"

#include "GENEW/runtime/AvisoServidorAusente.h"
#include "GENEW/runtime/TraduccionExcepciones.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

#include <QAbstractItemView>

namespace {

QString textoDe(const std::exception &e)
{
    if (const auto *error = dynamic_cast<const gp::Error *>(&e))
        return error->mensaje();
    return QString::fromUtf8(e.what());
}

// The data grids are the item views of the form layer.
bool esRejilla(const QObject *remitente)
{
    return remitente && qobject_cast<const QAbstractItemView *>(remitente);
}

} // namespace

ManejadorExcepciones::ManejadorExcepciones() : cuadroSistema(MensajeSistema) {}

void ManejadorExcepciones::GestionExcepciones(QObject *Sender, const std::exception &E)
{
    using Clase = TraduccionExcepcion::Clase;
    try {
        const QString mensaje = textoDe(E);
        const auto *fallo = dynamic_cast<const gp::DatabaseError *>(&E);
        if (fallo && fallo->kind() == gp::DatabaseErrorKind::ConnectionLost) {
            AvisoServidorAusente::delPrograma().avisar(mensaje);
            return;
        }
        const TraduccionExcepcion t = TraducirExcepcion(mensaje, esRejilla(Sender), nivelCapturaIncidencias,
                                                        fallo ? fallo->kind() : gp::DatabaseErrorKind::Other);
        switch (t.clase) {
        case Clase::AvisoDelSistema:
            if (cuadroSistema)
                cuadroSistema(t.texto);
            if (t.cerrarFormularioDelRemitente) {
                if (plat::Form *form = plat::Form::formOf(qobject_cast<QWidget *>(Sender)))
                    form->Close();
            }
            return;
        case Clase::Ignorar:
            plat::application().setCursor(plat::crDefault);
            break;
        case Clase::Advertencia:
            MensajeAviso(t.texto);
            break;
        case Clase::Error:
            plat::application().setCursor(plat::crNoDrop);
            MensajeError(t.texto);
            break;
        }
        if (t.registrarTraza && trazaError.valor())
            trazaError.valor()(mensaje, Sender);
    } catch (...) {
        // The handler is the last stop: a failure of its own goes nowhere.
    }
}

void ManejadorExcepciones::instalar()
{
    AvisoServidorAusente::delPrograma().olvidar();
    plat::application().OnException = [this](QObject *Sender, const std::exception &E) { GestionExcepciones(Sender, E); };
}
