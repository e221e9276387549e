#pragma once
#include "GENEW/reporting/informes/LecturaExpresion.h"
#include "GENEW/reporting/informes/MedidasTexto.h"
#include "GENEW/reporting/informes/PaginasInforme.h"
#include "platform/report/ReportComponents.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Event.h"

#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <memory>

namespace plat {
class DataSet;
class Field;
}

// The controls placed on report bands. Positions and sizes are 96-dpi pixels relative to
// the band; fonts are in points as the class library keeps them. Before a band prints, its
// before-print event may change any of them; the band then asks each enabled control for
// the height it needs and for its primitives.

// What a control reads while its band prints.
struct ContextoImpresion
{
    int pagina = 0;
    QString tituloInforme;
    QDateTime fechaImpresion;
    // The run's measures of texts; none: each text is measured afresh.
    MedidasTexto *medidas = nullptr;
};

// Frame sides of a control.
struct MarcoControl
{
    bool DrawLeft = false, DrawTop = false, DrawRight = false, DrawBottom = false;
    int Color = plat::clBlack;
    int Width = 1;
};

class ControlInforme : public QObject, public virtual plat::ReportControl
{
    Q_OBJECT
    Q_PROPERTY(int Left MEMBER Left)
    Q_PROPERTY(int Top MEMBER Top)
    Q_PROPERTY(int Width MEMBER Width)
    Q_PROPERTY(int Height MEMBER Height)
    Q_PROPERTY(bool Enabled MEMBER Enabled)
    Q_PROPERTY(int Tag MEMBER Tag)
    Q_PROPERTY(int Color MEMBER Color)
    Q_PROPERTY(bool Transparent MEMBER Transparent)
    Q_PROPERTY(QFont Font MEMBER Font)
    Q_PROPERTY(int FontColor MEMBER FontColor)

public:
    explicit ControlInforme(QObject *band = nullptr);

    int Left = 0, Top = 0, Width = 65, Height = 17;
    bool Enabled = true;
    int Tag = 0;
    int Color = plat::clWhite;
    bool Transparent = true;
    QFont Font;
    int FontColor = plat::clBlack;
    MarcoControl Frame;

    // The band's preparation: the height the control needs at its current settings.
    virtual double prepararImpresion(const ContextoImpresion &contexto) { return Height; }
    // Writes the control's primitives for the band placed at origin.
    virtual void emitir(QPointF origenBanda, QVector<Primitiva> &salida) const;

    QObject *object() override { return this; }
    int top() const override { return Top; }
    void setTop(int top) override { Top = top; }
    int height() const override { return Height; }
    void setHeight(int height) override { Height = height; }
    bool enabled() const override { return Enabled; }
    void setEnabled(bool enabled) override { Enabled = enabled; }
    // A control that does not print is the class library's disabled one.
    bool visible() const override { return Enabled; }
    void setVisible(bool visible) override { Enabled = visible; }

protected:
    QRectF rectangulo(QPointF origenBanda, double alto) const;
    void emitirFondoYMarco(const QRectF &r, QVector<Primitiva> &salida) const;
};

// Lines of a text laid out in a control's width, measured once with unhinted metrics.
struct TextoMaquetado
{
    QFont fuente;            // in page pixels
    QStringList lineas;
    QVector<double> anchos;
    double altoLinea = 0;
    double ascenso = 0;
};
// Pixel font of a font in points (10 pt: 13 page pixels), hinting off for measuring.
QFont fuenteDePagina(const QFont &puntos);
TextoMaquetado maquetarTexto(const QString &texto, const QFont &puntos, double ancho, bool ajustar,
                             MedidasTexto &medidas);
void recortarLineas(TextoMaquetado &maqueta, double ancho, plat::Alignment alineacion);

// A control that prints a text: its value, through the print event, in its font.
class ControlTextoInforme : public ControlInforme, public plat::ReportTextControl
{
    Q_OBJECT
    Q_PROPERTY(int Alignment READ alineacion WRITE ponerAlineacion)
    Q_PROPERTY(bool AutoSize MEMBER AutoSize)
    Q_PROPERTY(bool AutoStretch MEMBER AutoStretch)
    Q_PROPERTY(bool WordWrap MEMBER WordWrap)

public:
    explicit ControlTextoInforme(QObject *band = nullptr);

    plat::Alignment Alignment = plat::taLeftJustify;
    bool AutoSize = false;
    bool AutoStretch = false;
    bool WordWrap = false;
    // A line wider than the control ends in "…" where it is cut, instead of being clipped at
    // the edge.
    bool cortarConElipsis = false;
    // May change the text (and the control's settings) just before it is laid out.
    plat::Event<void(QObject *Sender, QString &Value)> OnPrint;

    int alineacion() const { return int(Alignment); }
    void ponerAlineacion(int a) { Alignment = plat::Alignment(a); }

    // The value before the print event.
    virtual QString valor(const ContextoImpresion &contexto) const = 0;
    // The text the control printed last (after its print event).
    const QString &textoImpreso() const { return impreso_; }

    double prepararImpresion(const ContextoImpresion &contexto) override;
    void emitir(QPointF origenBanda, QVector<Primitiva> &salida) const override;

    int tag() const override { return Tag; }
    QString dataName() const override { return QString(); }
    QString dataField() const override { return QString(); }
    QString expression() const override { return QString(); }
    QString text() const override { return QString(); }
    void setText(const QString &) override {}
    bool printHandlerAssigned() const override { return OnPrint.assigned(); }
    bool printsAmount() const override { return importe_; }
    void setPrintsAmount(bool on) override { importe_ = on; }

protected:
    // Called after every print of the control (sums restart here).
    virtual void impreso() {}

private:
    QString impreso_;
    TextoMaquetado maqueta_;
    double ancho_ = 0, alto_ = 0, izquierda_ = 0;
    bool importe_ = false;
};

class EtiquetaInforme : public ControlTextoInforme
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER Caption)
public:
    using ControlTextoInforme::ControlTextoInforme;
    QString Caption;
    QString valor(const ContextoImpresion &) const override { return Caption; }
    Kind reportKind() const override { return Label; }
    QString text() const override { return Caption; }
    void setText(const QString &text) override { Caption = text; }
};

class MemoInforme : public ControlTextoInforme
{
    Q_OBJECT
    Q_PROPERTY(QStringList Lines MEMBER Lines)
public:
    using ControlTextoInforme::ControlTextoInforme;
    QStringList Lines;
    QString valor(const ContextoImpresion &) const override { return Lines.join(u'\n'); }
    Kind reportKind() const override { return Memo; }
    QString text() const override { return Lines.join(u'\n'); }
    void setText(const QString &text) override { Lines = text.split(u'\n'); }
};

enum TipoDatoSistema { qrsPageNumber, qrsDate, qrsTime, qrsDateTime, qrsReportTitle };

class DatoSistemaInforme : public ControlTextoInforme
{
    Q_OBJECT
    Q_PROPERTY(int Data MEMBER Data)
    Q_PROPERTY(QString Text MEMBER Text)
public:
    using ControlTextoInforme::ControlTextoInforme;
    int Data = qrsPageNumber;
    QString Text;   // printed in front of the value
    QString valor(const ContextoImpresion &contexto) const override;
    Kind reportKind() const override { return SystemData; }
};

// A field of a dataset, as displayed (numbers through the mask when there is one).
class TextoDatoInforme : public ControlTextoInforme
{
    Q_OBJECT
    Q_PROPERTY(QString DataField MEMBER DataField)
    Q_PROPERTY(QString Mask MEMBER Mask)
public:
    using ControlTextoInforme::ControlTextoInforme;
    plat::DataSet *DataSet = nullptr;
    QString DataField;
    QString Mask;
    QString valor(const ContextoImpresion &) const override;
    QString dataName() const override { return DataField; }
    Kind reportKind() const override { return DataText; }
    QString dataField() const override { return DataField; }
};

// Running figure of a sum, count, maximum, minimum or average.
enum OperacionCalculo { qrcSum, qrcCount, qrcMax, qrcMin, qrcAverage };

class AcumuladorInforme
{
public:
    void agregar(double valor);
    void reiniciar() { *this = AcumuladorInforme(); }
    double valor(OperacionCalculo operacion) const;

private:
    double suma_ = 0, minimo_ = 0, maximo_ = 0;
    qint64 cuenta_ = 0;
};

// A control computed over every record of the report's dataset.
class ControlCalculadoInforme : public ControlTextoInforme
{
    Q_OBJECT
    Q_PROPERTY(QString Mask MEMBER Mask)
    Q_PROPERTY(bool ResetAfterPrint MEMBER ResetAfterPrint)
public:
    using ControlTextoInforme::ControlTextoInforme;
    QString Mask;
    bool ResetAfterPrint = false;

    // Reads the expression and finds its fields in the dataset (gp::Error when it cannot).
    virtual void enlazar(plat::DataSet &datos) = 0;
    // Takes the current record into the running figures.
    virtual void acumular() = 0;
    virtual void reiniciar() = 0;

protected:
    void impreso() override;
    QString formatear(double valor) const;
};

class ExpresionInforme : public ControlCalculadoInforme
{
    Q_OBJECT
    Q_PROPERTY(QString Expression MEMBER Expression)
public:
    using ControlCalculadoInforme::ControlCalculadoInforme;
    QString Expression;

    void enlazar(plat::DataSet &datos) override;
    void acumular() override;
    void reiniciar() override { suma_.reiniciar(); }
    QString valor(const ContextoImpresion &) const override;
    QString dataName() const override { return Expression; }
    Kind reportKind() const override { return plat::ReportTextControl::Expression; }
    QString expression() const override { return Expression; }

private:
    ExpresionLeida leida_;
    QVector<plat::Field *> campos_;
    AcumuladorInforme suma_;
};

class CalculoDatoInforme : public ControlCalculadoInforme
{
    Q_OBJECT
    Q_PROPERTY(QString DataField MEMBER DataField)
    Q_PROPERTY(int Operation MEMBER Operation)
public:
    using ControlCalculadoInforme::ControlCalculadoInforme;
    plat::DataSet *DataSet = nullptr;   // none: the report's
    QString DataField;
    int Operation = qrcSum;

    void enlazar(plat::DataSet &datos) override;
    void acumular() override;
    void reiniciar() override { acumulador_.reiniciar(); }
    QString valor(const ContextoImpresion &) const override;
    QString dataName() const override { return DataField; }
    Kind reportKind() const override { return Calculation; }
    QString dataField() const override { return DataField; }

private:
    plat::Field *campo_ = nullptr;
    AcumuladorInforme acumulador_;
};

// A picture: an image (stretched, centred or at its corner) and a canvas that code draws on
// at print time, kept as vector drawing and started afresh after each print.
class ImagenInforme : public ControlInforme
{
    Q_OBJECT
    Q_PROPERTY(QImage Picture MEMBER Picture)
    Q_PROPERTY(bool Stretch MEMBER Stretch)
    Q_PROPERTY(bool Center MEMBER Center)
    Q_PROPERTY(bool AutoSize MEMBER AutoSize)
public:
    explicit ImagenInforme(QObject *band = nullptr);
    ~ImagenInforme() override;
    QImage Picture;
    bool Stretch = false;
    bool Center = false;
    bool AutoSize = false;

    // The print-time canvas, in the control's own pixels from its top-left corner.
    plat::Canvas &canvas();
    bool LoadFromFile(const QString &fileName);

    double prepararImpresion(const ContextoImpresion &contexto) override;
    void emitir(QPointF origenBanda, QVector<Primitiva> &salida) const override;

private:
    // Ends the canvas of this printing and keeps its drawing for it.
    void cerrarDibujo();

    std::unique_ptr<plat::Drawing> dibujo_;
    std::unique_ptr<plat::Canvas> lienzo_;
    plat::Drawing impreso_;
    bool hayDibujo_ = false;
};

enum FormaFigura { qrsRectangle, qrsCircle, qrsHorLine, qrsVertLine, qrsTopAndBottom, qrsRightAndLeft };

class FiguraInforme : public ControlInforme
{
    Q_OBJECT
    Q_PROPERTY(int Shape MEMBER Shape)
public:
    using ControlInforme::ControlInforme;
    int Shape = qrsRectangle;
    plat::Pen Pen;
    plat::Brush Brush;
    void emitir(QPointF origenBanda, QVector<Primitiva> &salida) const override;
};
