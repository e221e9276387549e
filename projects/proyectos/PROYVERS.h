#pragma once
#include "GENEW/data/ventanas/FormularioMaestroRejilla.h"
#include "GENEW/data/ventanas/VentanaPrograma.h"

// The notices of new article versions (table NOTVERS), one per grid row.
class TfPROYVERS : public FormularioMaestroRejilla
{
    Q_OBJECT
public:
    explicit TfPROYVERS(QWidget *parent = nullptr);

    // The memo window's title for the current notice's extended description: the article
    // and the date as the grid shows it.
    QString TituloDescripcionAmpliada() const;

public slots:
    void Table1NewRecord(plat::DataSet &DataSet) override;
    void DBGrid1EditButtonClick(QObject *Sender);
    void DBGrid1DrawColumnCell(QObject *Sender, const QRect &Rect, int DataCol, plat::GridColumn *Column,
                               plat::GridCellState State);

private:
    InstanciaGlobal<TfPROYVERS> instancia_;
};

extern TfPROYVERS *fPROYVERS;
