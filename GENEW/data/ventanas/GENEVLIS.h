#pragma once
#include "platform/ui/Form.h"

#include <QStringList>

namespace plat {
class Button;
class DataSet;
class Panel;
class SpeedButton;
class StringGrid;
} // namespace plat

// The viewer's mode, set by its opener before it creates the form.
inline const QString VisorCampos = QStringLiteral("VisorCampos");
inline const QString VisorCamposUsuario = QStringLiteral("VisorCamposUsuario");
inline const QString VisorAgregarDatos = QStringLiteral("VisorAgregarDatos");
extern QString ModoVisor;

// The field viewer: field names and values in two columns, read-only (the current record's
// fields) or to be filled in (user fields, data entry).
class TfGENEVLIS : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEVLIS(QWidget *parent = nullptr);

    plat::Panel *PanelGrid;
    plat::StringGrid *StringGrid;
    plat::SpeedButton *pbAutoajustar;
    plat::Panel *PanelControl;
    plat::Button *pbGrabar;
    plat::Button *pbCancelar;

    // One line per checked row: check > name > values separated by "/" > options. The check
    // is a table name (the value must be one of its keys) or "?" + name (one of the values).
    QStringList DescriptoresCampos;
    // Long texts: name + "ÿ" + value with each line break written as "·", a line each.
    QString CamposMemo;
    // "RespetarNombresCampos" shows the names as they are.
    QString OpcionesVisor;

    // The checks of the data-entry mode (true in the others); warns of every failing row.
    bool ValidarDatos();
    // The height the grid's rows ask for, within the screen less 100 pixels.
    int AlturaCalculada() const;
    static bool EsFilaTitulo(const QString &nombre) { return nombre.contains(QStringLiteral("(*)")); }

public slots:
    void FormShow();
    void FormClose();
    void FormResize();
    void StringGridDblClick();
    void pbGrabarClick();
    void pbAutoajustarClick();

private:
    void StringGridDrawCell(int col, int row, const QRect &rect);
    QString descriptorDe(const QString &nombre) const;
    QString memoDe(const QString &nombre) const;
    void fijarMemo(const QString &nombre, const QString &valor);

    int alturaSinRejilla_ = 0;
    int anchoDiseno_ = 0;
};

// Shows the current record's fields (Ctrl+Z), without the fields hidden for the user.
void MostrarCamposRegistro(plat::DataSet &dataSet);

// Edits the user-defined fields of the dataset's current record, found in its table by the
// table's key fields; nothing is shown when the record has none or cannot be found.
void MostrarCamposUsuario(plat::DataSet &dataSet);

// The data-entry dialog driven by an options text ("Titulo", "Opciones", "DefinicionCampos":
// items by ";" of name,type,size,...,check table,allowed values,...) and one value a line.
// Answers Name=Value lines, empty when abandoned.
QString MostrarVisorDatos(const QString &opciones, const QString &datos);
