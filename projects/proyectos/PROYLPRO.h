#pragma once
#include "GENEW/data/ventanas/VentanaPrograma.h"
#include "platform/ui/Event.h"

#include <QString>

namespace plat {
class Button;
class CheckBox;
class DataSource;
class DBLookupComboBox;
class Edit;
class Label;
class Panel;
class StatusBar;
class TableComponent;
class TableDataSet;
} // namespace plat
struct PeticionImpreso;

// The request tables of the project documents listing.
extern const QString DefinicionDocumentosProyecto;
extern const QString DefinicionLineasProyecto;

// Fills the documents and lines request tables with the projects of proyectos from desde
// to hasta (code order) and their lines of lineasProyecto.
void RellenarDocumentosProyecto(plat::TableDataSet &proyectos, plat::TableDataSet &lineasProyecto,
                                const QString &desde, const QString &hasta, plat::TableDataSet &documentos,
                                plat::TableDataSet &lineas);

// "Listado de Documentos de Proyecto": one document per project of a code range, its
// chapters as the document's lines, printed through a layout of type "Proyecto".
class TfPROYLPRO : public VentanaPrograma
{
    Q_OBJECT
public:
    explicit TfPROYLPRO(QWidget *parent = nullptr);
    ~TfPROYLPRO() override;

    plat::Panel *Panel1;
    plat::Label *Label1;
    plat::DBLookupComboBox *EditFormatoImpreso;
    plat::Panel *Panel2;
    plat::Label *Label2;
    plat::Edit *DesdeProyecto;
    plat::Label *Label3;
    plat::Edit *HastaProyecto;
    plat::CheckBox *VisualizacionPrevia;
    plat::Panel *Panel3;
    plat::Button *pbListar;
    plat::Button *pbSalir;
    plat::StatusBar *StatusBar1;
    plat::TableComponent *Impreso;
    plat::DataSource *DSImpreso;
    plat::TableComponent *Proyecto;
    plat::TableComponent *LProyecto;

    bool ocupado() const { return ocupado_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormCloseQuery(QObject *Sender, bool &CanClose);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void pbListarClick(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void GenerarListado();

private:
    bool ocupado_ = false;
    InstanciaGlobal<TfPROYLPRO> instancia_;
};

extern TfPROYLPRO *fPROYLPRO;
