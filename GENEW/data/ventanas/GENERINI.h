#pragma once
#include "GENEW/data/ventanas/GeometriaDialogo.h"
#include "GENEW/data/servicios/TextosRegistroINI.h"
#include "platform/ui/Form.h"

namespace plat {
class Button;
class Panel;
class ValueListEditor;
} // namespace plat

// The settings editor: the keys of a settings text in a name and value grid, a key's value
// typed, chosen from a drop-down or asked through its "..." button as its descriptor says.
class TfGENERINI : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENERINI(QWidget *parent = nullptr);

    plat::Panel *PanelGrid;
    plat::ValueListEditor *StringGrid;
    plat::Panel *PanelControl;
    plat::Button *pbAceptar;
    plat::Button *pbCancelar;

    // Name=Descriptor lines.
    QStringList Descriptores;

    // One row per line, its drop-down or button from its descriptor; column titles "a;b".
    void cargar(const QList<LineaRegistroINI> &lineas, const QString &titulosColumnas);
    QList<LineaRegistroINI> lineas() const;
    int AlturaCalculada() const;

    // Kept for the rest of the run: left, top and height from the last closing, the width
    // from the design or "Formato".
    static GeometriaDialogo Geometria;

public slots:
    void FormShow();
    void FormClose();
    void FormResize();
    void StringGridEditButtonClick();
    void pbAceptarClick();

private:
    void StringGridDrawCell(int col, int row, const QRect &rect);
    DescriptorRegistroINI descriptorDe(const QString &nombre) const;

    int alturaSinRejilla_ = 0;
    int anchoDiseno_ = 0;
};

// Edits a settings text: the template's keys in its order with the current text's values (see
// FusionarRegistroINI), the caption (empty: "Editor de Registro INI"), the two column titles
// "a;b", Name=Descriptor lines and options ("Formato=left,top,width,height"). Answers the
// rows accepted, one Name=Value a line; abandoned, the merged text.
QString EditarRegistroINI(const QString &plantilla, const QString &actual, const QString &titulo,
                          const QString &titulosColumnas, const QString &descriptores, const QString &opciones);
