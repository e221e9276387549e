#include "GENEW/runtime/ServicioMensajes.h"

#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/TraduccionExcepciones.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"

#include <QMessageBox>

#include <memory>

ServicioMensajes::ServicioMensajes(std::function<TfGENEMENS &()> ventana)
    : terminar([] { plat::application().terminate(); }),
      cuadroSistema([](const QString &texto) {
          QMessageBox::information(plat::activeWindowForDialogs(), plat::application().title(), texto);
      }),
      ventana_(std::move(ventana))
{
}

ServicioMensajes::ServicioMensajes(TfGENEMENS &formulario)
    : ServicioMensajes([&formulario]() -> TfGENEMENS & { return formulario; })
{
}

ServicioMensajes::~ServicioMensajes()
{
    desinstalar();
}

QString ServicioMensajes::MostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta)
{
    if (tipo == TipoCuadroSistema) {
        if (cuadroSistema)
            cuadroSistema(texto);
        return QString();
    }
    // The window on screen keeps its message: a second one opens its own window above it.
    TfGENEMENS &principal = ventana_();
    std::unique_ptr<TfGENEMENS> encima;
    TfGENEMENS *ventana = &principal;
    if (principal.visible()) {
        encima = std::make_unique<TfGENEMENS>();
        principal.copiarRutinasA(*encima);
        encima->afterConstruction();
        ventana = encima.get();
    }
    ventana->TipoMensaje = tipo;
    ventana->TextoDelMensaje = TraducirTextoMarcado(texto);
    ventana->RespuestaMensaje = respuesta;
    const int resultado = ventana->ShowModal();

    QString respuestaFinal = respuesta;
    if (tipo == QLatin1String("C"))
        respuestaFinal = resultado == plat::mrYes ? QStringLiteral("SI") : QStringLiteral("NO");
    else if (tipo == QLatin1String("P"))
        respuestaFinal = resultado == plat::mrOk ? ventana->RespuestaMensaje : QString();
    else if (tipo == QLatin1String("E") && terminar)
        terminar();
    return respuestaFinal;
}

void ServicioMensajes::instalar()
{
    if (instalacion_)
        return;
    anterior_ = ganchoSalidaMensajes().valor();
    instalacion_.emplace(*this);
}

void ServicioMensajes::desinstalar()
{
    instalacion_.reset();
}

void ServicioMensajes::mostrarProgreso(const QString &texto1, const QString &texto2, const QString &texto3,
                                       const QString &texto4)
{
    if (anterior_)
        anterior_->mostrarProgreso(texto1, texto2, texto3, texto4);
}
