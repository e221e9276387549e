#pragma once
#include "GENEW/reporting/graficos/PlanBarras.h"
#include "platform/ui/Control.h"
#include "platform/ui/data/DataControls.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace plat {
class Canvas;
}

// The barcode painting control: draws the symbol of its text on its own canvas at the screen's
// resolution, or on any other canvas (a page bitmap, a printer or PDF page) at that canvas's
// resolution. The user may move it and resize it from its edges with the mouse.
class TPrintBarcode : public QWidget, public plat::Control, public plat::DataBound
{
    Q_OBJECT
    PLAT_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int BarCodeType READ barCodeTypeNumber WRITE setBarCodeTypeNumber)
    Q_PROPERTY(bool ClearZone READ clearZone WRITE setClearZone)
    Q_PROPERTY(double HeightInInches READ heightInInches WRITE setHeightInInches)
    Q_PROPERTY(double WidthInInches READ widthInInches WRITE setWidthInInches)
    Q_PROPERTY(double TopInInches READ topInInches WRITE setTopInInches)
    Q_PROPERTY(double LeftInInches READ leftInInches WRITE setLeftInInches)
    Q_PROPERTY(bool AutoPosition READ autoPosition WRITE setAutoPosition)
    Q_PROPERTY(bool AutoSizing READ autoSizing WRITE setAutoSizing)
    Q_PROPERTY(double Magnification READ magnification WRITE setMagnification)
    Q_PROPERTY(int BarColor READ barColor WRITE setBarColor)
    PLAT_DATA_PROPERTIES
public:
    static constexpr int LongitudMaximaTexto = 280;

    explicit TPrintBarcode(QWidget *parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString &text);
    TBarCodeType barCodeType() const { return type_; }
    void setBarCodeType(TBarCodeType type);
    int barCodeTypeNumber() const { return int(type_); }
    void setBarCodeTypeNumber(int number);
    bool clearZone() const { return clearZone_; }
    void setClearZone(bool on) { clearZone_ = on; update(); }
    double heightInInches() const;
    void setHeightInInches(double inches);
    double widthInInches() const;
    void setWidthInInches(double inches);
    double topInInches() const;
    void setTopInInches(double inches);
    double leftInInches() const;
    void setLeftInInches(double inches);
    bool autoPosition() const { return autoPosition_; }
    void setAutoPosition(bool on) { autoPosition_ = on; }
    bool autoSizing() const { return autoSizing_; }
    void setAutoSizing(bool on) { autoSizing_ = on; update(); }
    double magnification() const { return magnification_; }
    void setMagnification(double value);
    int barColor() const { return barColor_; }
    void setBarColor(int color);

    // Whether the user may move and resize the control with the mouse.
    bool Movible = true;

    // The screen's pixels per inch: the logical resolution of the control's screen unless
    // one is set (0 goes back to the screen's).
    int pixelesPorPulgadaPantalla() const;
    void setPixelesPorPulgadaPantalla(int ppp) { pppPantalla_ = ppp; }

    // Draws the symbol on another canvas. A resolution below 5 means the canvas device's own
    // when it is a printer or PDF page, else the screen's.
    void DrawBarcode(plat::Canvas &canvas, int resolucion);

    // The frame shown on the parent while the control is dragged (nullptr when none shows).
    QWidget *marcoArrastre() const { return marco_ && marco_->isVisible() ? marco_.data() : nullptr; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    PeticionBarras peticion(bool propio, int resolucionX, int resolucionY) const;
    PlanBarras planificar(const plat::Canvas &canvas, int resolucion) const;
    void mostrarCampo();
    QRect limitesArrastrados(const QPoint &global) const;

    QString text_ = QStringLiteral("1234");
    TBarCodeType type_ = TBarCodeType::Interleaved2Of5;
    bool clearZone_ = true;
    bool autoPosition_ = false;
    bool autoSizing_ = true;
    double magnification_ = 1.0;
    int barColor_ = plat::clBlack;
    int pppPantalla_ = 0;

    // Dragging with the mouse: which edges move (none: the whole control), where it began,
    // and the dotted frame shown on the parent meanwhile.
    struct Arrastre
    {
        bool izquierda = false, derecha = false, arriba = false, abajo = false;
        QPoint inicio;
        QRect limites;
    };
    std::optional<Arrastre> arrastre_;
    QPointer<QWidget> marco_;
};
