#pragma once
#include "GENEW/reporting/informes/Informe.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace plat {
class DataSet;
class Form;
}

// The restrictions header of a listing: the text saying which restrictions and options
// produced it, gathered from the window it was started from and from its data.

// A control of the window a listing was started from, as the restrictions header reads it.
struct ControlLlamante
{
    enum class Tipo { Edicion, Casilla };   // edits and combo boxes; check and radio boxes
    Tipo tipo = Tipo::Edicion;
    QString nombre;
    QString texto;     // edits: the text; boxes: the caption
    bool habilitado = true;
    bool marcado = false;
};
struct VentanaLlamante
{
    bool esDialogoListado = false;            // the listing dialog itself
    QList<ControlLlamante> controles;         // in tab order
    bool tieneRangoGruposAnalisis = false;    // a "pbRangoGruposAnalisis" component
};
// The listing dialog's restrictions: its range grid's rows (field, from, to) and its filters.
struct RestriccionesDialogo
{
    QList<QStringList> rangos;
    QString filtros;
};

// The calling window as the header reads it: its edits, masked edits and combo boxes (name
// and text) and its check and radio boxes (caption) in tab order; whether it is the listing
// dialog "fGENECPRO" and whether it has a "pbRangoGruposAnalisis" component.
VentanaLlamante leerVentanaLlamante(const plat::Form &ventana);
// The listing dialog's "StringGrid" rows and "MemoFiltros" text; nothing when it has none.
RestriccionesDialogo leerRestriccionesDialogo(const plat::Form &dialogo);

// The text the calling window's controls give the restrictions header.
QString textoRestriccionesVentana(const VentanaLlamante &ventana, const QString &rangosGruposAnalisis);
// The text of the data and the listing dialog's restrictions at print time.
QString textoRestriccionesDatos(const plat::DataSet *datos, const RestriccionesDialogo &dialogo);

// The restrictions header of a report: one memo under the logo, shown on the first page
// printed, the page header grown by it and its labels moved down; hidden on later pages.
class CabeceraRestricciones : public QObject
{
    Q_OBJECT
public:
    // The page header's before-print event drives it from now on.
    CabeceraRestricciones(plat::Form &ventana, BandaInforme &cabecera, int altoLogo);
    static CabeceraRestricciones *de(Informe &informe);   // null when there is none

    // The calling window's text (at creation) and the data's (rebuilt at each print): one memo.
    void ponerTextoCreacion(const QString &texto) { textoCreacion_ = texto; }
    void ponerTextoImpresion(const QString &texto) { textoImpresion_ = texto; }
    // Prepared again before a print: the labels made since keep their design tops too.
    void empezarPrimeraPagina();
    MemoInforme *memo() const { return memo_; }

private:
    void ajustar(BandaInforme &cabecera);
    void anotarTopes();

    MemoInforme *memo_;
    BandaInforme &cabecera_;
    int alturaBase_;
    QList<QPair<QPointer<ControlInforme>, int>> topes_;
    bool primeraPagina_ = true;
    QString textoCreacion_, textoImpresion_;
};

