#pragma once
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

// Where the runners of stored statements and custom reports ask their variables: one label
// and one value box per variable name, in the order the data services list the names. A
// repeated name ("$A_0", or a name whose own text holds "_") is not asked: its label and box
// are hidden and its value is that of its base name's box.
struct CasillaVariable
{
    QString variable;       // as listed, kind character included: "#Importe", "$A_0"
    QString etiqueta;       // the name without kind character and line breaks, split into words
    QString nombreCaja;     // the box's component name: the name without its kind character
    QString valorInicial;   // "0" for "#", "1/1/1900" for "&", empty otherwise
    bool visible = true;
    QRect rectEtiqueta;     // within the inner panel
    QRect rectCaja;
};

struct DisenoPanelVariables
{
    QSize interior;                 // the inner panel
    QVector<CasillaVariable> casillas;
    QPoint boton;                   // the statement runner's apply button (top left)
    int visibles = 0;
};

// The statement runner's panel: two columns of label and box (left 1 and 249, boxes 104 to
// the right of their label), rows 24 apart; inner width 325 for one name, 573 for an even
// number, 494 for an odd one; the apply button 4 right of the last visible box, 1 higher.
DisenoPanelVariables DisenarPanelConsulta(const QStringList &variables);
// The report runner's panel: one column (label at left 62, 100 wide, box 8 to its right),
// row i at top (i + 1) x 24 + 5; inner height (visible names + 2) x 24.
DisenoPanelVariables DisenarPanelInforme(const QStringList &variables);

// The name a repeated name takes its value from: the text before its first "_" ("$A" for
// "$A_0"); empty for a name asked on its own.
QString VariableBase(const QString &variable);

// Checks a typed value by the variable's kind with the common validators, which show their
// own message under the title: "#" a whole number or a decimal, "&" a date; others pass.
bool ValidarValorVariable(const QString &variable, const QString &texto, const QString &titulo);
