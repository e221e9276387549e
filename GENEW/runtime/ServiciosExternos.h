#pragma once
#include "platform/base/Gancho.h"

#include <QString>
#include <QUrl>
#include <functional>

class QObject;
namespace plat {
class HtmlView;
}

// Free routines of the start-up unit that reach outside the program: addresses opened by the
// desktop, HTML pages in a browser control, help pages and universal names. The methods of
// TfGENEINIC for mail, the auxiliary program and the web service live in ServiciosExternos.cpp.

// Opens an address with the desktop's handler (xdg-open); tests install their own for a scope.
using AbrirURLFn = std::function<bool(const QUrl &url)>;
bool AbrirURL(const QUrl &url);
Gancho<AbrirURLFn> &ganchoAbrirURL();
class AperturaURLInstalada : public Gancho<AbrirURLFn>::Instalacion
{
public:
    explicit AperturaURLInstalada(AbrirURLFn abrir) : Instalacion(ganchoAbrirURL(), std::move(abrir)) {}
};

// The help page of a context: "ayuda/<n>.html" of the start-up folder, "index.html" for 0.
QString PaginaAyuda(const QString &directorioArranque, int contexto);

// Writes the HTML into the temporary folder under the owner's temporary-table name + ".html"
// (an older file of that name is replaced) and shows it in the browser control.
void MostrarHTML(QObject *propietario, const QString &html, plat::HtmlView *navegador);

// The universal name of a path: the path itself here (no network names on this system).
QString ObtenerNombreUNC(const QString &ruta);
