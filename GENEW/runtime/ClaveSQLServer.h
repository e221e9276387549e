#pragma once
#include "GENEW/runtime/comun/Errores.h"

#include <QString>

#include <functional>

// The SQL Server log-in at start-up: while the server refuses the password, the user is asked
// for it (masked); an empty answer is confirmed first. A password the user gives is kept,
// scrambled, in the settings file and the connection is tried again.
struct ResultadoConexionConClave
{
    bool conectado = false;
    gp::Fallo fallo;    // a failure that was not the password's
};

// conectar raises gp::Error (with the driver's text) when the connection fails; password is
// the clear password to try first and on return the one that was accepted.
ResultadoConexionConClave ConectarPidiendoClave(const std::function<void(const QString &password)> &conectar,
                                                QString &password, const QString &archivoConfiguracion);
