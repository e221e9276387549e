#pragma once
#include "platform/report/PreparedReport.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The geometry and the request texts of the run-time listing, as pure functions: widths in
// 96-dpi page pixels, names compared ignoring case like field names.

// The printable width W of a listing on the report's paper: A4 and A3 from their fixed
// widths (portrait A4 750, A3 1047; landscape A4 1047, A3 1511); any other paper its
// printable width, cut to an integer.
int anchoImprimibleListado(plat::ReportPaper papel, bool apaisado, double imprimibleDelPapel);

// The weights of the fields by position out of FormatoColumnas (a number per field, each
// followed by "|"): an absent or empty piece, a negative one or one that is not a finite
// number weighs 0.
QVector<double> pesosFormatoColumnas(const QString &formatoColumnas, int campos);

// A column's slot: left and width (2 pixels narrower than the slot, never negative).
struct GeometriaColumna
{
    int izquierda = 0;
    int ancho = 0;
};
// The slot of each visible field: the integer part of its share of W; a sum of weights not
// above 0 gives 0 everywhere.
QVector<int> huecosColumnas(const QVector<double> &pesosVisibles, int anchoImprimible);
// What a column needs of its slot: a date or a number its widest value (minimo, above 0: it
// must print whole); a text its widest word (deseado: so that it wraps at word boundaries),
// when the other texts have room to spare.
struct NecesidadColumna
{
    int minimo = 0;
    int deseado = 0;
};
// The slots after every column with a minimum has been given it; a slot of 0 (a weight of 0,
// the user's way of leaving a column out) stays 0. The room comes from the texts (which wrap
// or end in "…"), the widest first: first down to their own widest word, then down to
// minimoTexto; only when they have no more to give are the widest of the others narrowed.
// Then texts narrower than their widest word take what the others spare above theirs. The
// total never grows.
QVector<int> huecosConMinimos(QVector<int> huecos, const QVector<NecesidadColumna> &necesidades, int minimoTexto);
// The columns of the visible fields, filling W in proportion to their weights; a sum of
// weights not above 0 gives width 0 everywhere.
QVector<GeometriaColumna> geometriaColumnas(const QVector<double> &pesosVisibles, int anchoImprimible);

// The card layout: where line k of a card goes.
struct GeometriaFicha
{
    int lineasPorColumna = 1;   // R, at least 1
    int columnas = 1;           // card columns, at least 1
    int anchoImprimible = 0;

    int izquierda(int linea) const;            // the card column's left
    int izquierdaTitulo(int linea) const { return izquierda(linea) + 4; }
    int anchoTitulo() const;
    int izquierdaValor(int linea) const { return izquierdaTitulo(linea) + anchoTitulo() + 4; }
    int anchoValor() const;
};
// R out of the listed fields n (UltimoCampo + 1 standing for a zero n) and the card columns.
GeometriaFicha geometriaFicha(int camposVisibles, int ultimoCampo, int columnasFicha, int anchoImprimible);
// Height of a memo value in a card, with NumeroLineasMemoFicha at least 1.
int altoMemoFicha(int lineasMemo);

// The caption of a column: a name with a blank unchanged, any other abbreviated ("C.Proyecto").
QString tituloColumnaListado(const QString &nombreCampo);

// Sumatorios: "Todas", "Ninguna" or field names joined by ",".
class SumatoriosListado
{
public:
    explicit SumatoriosListado(const QString &texto);
    bool hayResumen() const { return !texto_.isEmpty(); }
    // Whether a float field of that name prints its sums.
    bool suma(const QString &nombreCampo) const;

private:
    QString texto_;
    QStringList nombres_;
};

// Grupos: field names joined by "+", trimmed; a field quoted in single quotes counts too.
QStringList nombresGrupo(const QString &grupos);
bool esCampoDeGrupo(const QStringList &nombres, const QString &nombreCampo);

// The row instructions: the first line asks for a bold row with "Negrita"; a line
// "<field>=<value>" whose value holds "JR" right-aligns that field.
bool filaEnNegrita(const QStringList &instrucciones);
bool alinearDerechaPorInstruccion(const QStringList &instrucciones, const QString &nombreCampo);

// Height of the restrictions memo: 15 pixels per started 100 characters (160 in landscape),
// at least 30.
int altoMemoRestricciones(int caracteres, bool apaisado);
// A restrictions text as it prints: on one line.
QString sinSaltosDeLinea(QString texto);
