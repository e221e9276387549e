#pragma once
#include <QString>

// The request to the program's web service: "http://" + server + "/WebVKT.EXE" + the request
// text, folded onto one line.

// Each CR LF becomes a blank, then each blank "_".
QString PlegarPeticionServicioWeb(const QString &peticion);
// The address of the request; characters outside printable ASCII (accents, control
// characters) are percent-encoded as UTF-8, and so is "%" itself, so the request cannot
// change the address's form. Empty when the server is empty.
QString DireccionServicioWeb(const QString &servidor, const QString &peticion);

struct RespuestaServicioWeb
{
    bool correcta = false;
    QString texto;   // the body, or the reason of the failure
};
// An HTTP GET of the address, waiting at most segundosEspera for the connection and the reply.
// A status of 400 or more is a failure with its status line.
RespuestaServicioWeb ConsultarServicioWeb(const QString &direccion, int segundosEspera = 30);
