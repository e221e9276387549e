#pragma once
#include <QSize>
#include <QString>

// One record of table IMPRESO: a stored layout. `Instrucciones` holds the layout text.
struct RegistroImpreso
{
    QString Codigo;
    QString Descripcion;
    QString TipoDocumento;
    QString Modo;
    QString Instrucciones;
    QString Formato;
    QString ImpresoraPorDefecto;
};

// The paper named by a layout's `Formato`, in whole millimetres.
struct PapelImpreso
{
    int anchoMm = 210;
    int altoMm = 297;
    bool apaisado = false;   // the printer's orientation
};

// "A4", "A4-Apaisado", "A5", "A5-Apaisado" or width "x" height. A width or height that is
// not a whole number above 0 gives 210 x 297 (a size of 0 would divide every position by
// zero). Landscape when the text after the first "-" is exactly "Apaisado".
PapelImpreso PapelDeFormato(const QString &formato);

// The page bitmap of the screen preview: 800 pixels per 210 mm of width; the height follows
// from the rounded width, so A5 (149 x 210) is 568 x 801.
QSize TamanoPaginaPantalla(const PapelImpreso &papel);
