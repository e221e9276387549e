#pragma once
#include "platform/ui/Dialogs.h"

#include <QString>

// What the listing preview and the print engine's preview do alike.

// A general parameter of the data module's PARAGENE; empty without a data module or row.
QString ParametroGeneralVistaPrevia(const QString &campo);

// The zoom a preview opens at, from the parameter `FmtVisualizacionPrevia`: "Pagina Completa"
// and "Ancho Ajustado" fit the page, "Normal" is 100 and any other text its whole number
// (100 when it is none), held to 10..300.
struct ZoomInicialVistaPrevia
{
    enum Modo { Porcentaje, PaginaCompleta, AnchoAjustado };
    Modo modo = Porcentaje;
    int porcentaje = 100;
};
ZoomInicialVistaPrevia LeerZoomInicial(const QString &formato);

constexpr int kZoomMinimoVistaPrevia = 10;
constexpr int kZoomMaximoVistaPrevia = 300;

// The data module's save dialog on one file name, filter and title for one command (no title:
// the dialog's standard one); its settings are put back afterwards.
class DialogoGrabar
{
public:
    DialogoGrabar(plat::SaveDialog &dialogo, const QString &fichero, const QString &filtro,
                  const QString &titulo = QString());
    DialogoGrabar(const DialogoGrabar &) = delete;
    DialogoGrabar &operator=(const DialogoGrabar &) = delete;

    bool ejecutar();
    QString fichero() const;
    int filtroElegido() const;

private:
    plat::SaveDialog &dialogo_;
    plat::FileDialogSettingsKept ajustes_;
};

// The file name with the extension (".pdf") appended unless it already ends in it, in any case.
QString ConExtension(const QString &fichero, const QString &extension);
