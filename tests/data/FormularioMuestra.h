#pragma once
#include "GENEW/runtime/Geneinic.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"

// The test table of the sample form, appended to the structure definitions of the run.
inline const QString DefinicionPruebaF = QStringLiteral(
    "PRUEBAF/C/1/Codigo/ftInteger/0/*/|Pruebas\r\n"
    "PRUEBAF/C/2/Descripcion/ftString/40//|Pruebas\r\n"
    "PRUEBAF/C/3/PrecioUnidad/ftFloat/0//|Pruebas\r\n"
    "PRUEBAF/C/4/FechaHoraInicio/ftDateTime/0//|Pruebas\r\n"
    "PRUEBAF/C/5/FechaAlta/ftDateTime/0//|Pruebas\r\n"
    "PRUEBAF/C/6/Cambio/ftFloat/0//|Pruebas\r\n"
    "PRUEBAF/I/1/<Primary>/Codigo//|Pruebas\r\n");

// A form as the program builds them: a table of its company and one of the general
// database, a page control with a grid and data-aware edits, a status bar, a coloured check
// box, a fixed combo; its keys go to the framework and it opens its tables on creation.
class FormularioMuestra : public plat::Form
{
    Q_OBJECT
public:
    explicit FormularioMuestra(const QStringList &tablas = {QStringLiteral("PRUEBAF")})
    {
        setObjectName(QStringLiteral("fPRUEBA"));
        setCaption(QStringLiteral("Maestro de Pruebas"));
        setBounds(0, 0, 560, 380);
        for (int i = 0; i < tablas.size(); ++i) {
            auto *t = make<plat::TableComponent>(i == 0 ? QStringLiteral("Table1") : QStringLiteral("Table%1").arg(i + 1), this);
            t->setTableName(tablas[i]);
            Tablas << t;
        }
        Table1 = Tablas.value(0);
        DataSource1 = make<plat::DataSource>(QStringLiteral("DataSource1"), this);
        if (Table1)
            DataSource1->setDataSet(&Table1->table());
        Paginas = make<plat::PageControl>(QStringLiteral("Paginas"), this);
        Paginas->setGeometry(8, 8, 544, 300);
        Hoja1 = make<plat::TabSheet>(QStringLiteral("Hoja1"), Paginas);
        Hoja1->setCaption(QStringLiteral("Datos"));
        Hoja2 = make<plat::TabSheet>(QStringLiteral("Hoja2"), Paginas);
        Hoja2->setCaption(QStringLiteral("Notas"));
        Paginas->addPage(Hoja1);
        Paginas->addPage(Hoja2);
        DBGrid1 = make<plat::DBGrid>(QStringLiteral("DBGrid1"), Hoja1);
        DBGrid1->setGeometry(4, 4, 530, 150);
        DBGrid1->setDataSource(DataSource1);
        EditDescripcion = make<plat::DBEdit>(QStringLiteral("EditDescripcion"), Hoja1);
        EditDescripcion->setGeometry(4, 160, 200, 21);
        EditDescripcion->setDataSource(DataSource1);
        EditDescripcion->setDataField(QStringLiteral("Descripcion"));
        EditPrecio = make<plat::DBEdit>(QStringLiteral("EditPrecio"), Hoja1);
        EditPrecio->setGeometry(210, 160, 100, 21);
        EditPrecio->setDataSource(DataSource1);
        EditPrecio->setDataField(QStringLiteral("PrecioUnidad"));
        EditCodigo = make<plat::Edit>(QStringLiteral("EditCodigo"), Hoja1);
        EditCodigo->setGeometry(4, 190, 100, 21);
        EditOtro = make<plat::Edit>(QStringLiteral("EditOtro"), Hoja1);
        EditOtro->setGeometry(110, 190, 100, 21);
        Memo1 = make<plat::Memo>(QStringLiteral("Memo1"), Hoja2);
        Memo1->setGeometry(4, 4, 300, 80);
        Tipo = make<plat::ComboBox>(QStringLiteral("Tipo"), Hoja1);
        Tipo->setStyle(plat::ComboBox::csDropDownList);
        Tipo->setItems({QStringLiteral("Aceptar"), QStringLiteral("Cancelar")});
        Tipo->setGeometry(220, 190, 120, 21);
        Tipo->setItemIndex(0);
        Urgente = make<plat::CheckBox>(QStringLiteral("Urgente"), Hoja1);
        Urgente->setCaption(QStringLiteral("Urgente"));
        Urgente->setFontColor(plat::clRed);
        Urgente->setGeometry(360, 190, 90, 19);
        Etiqueta = make<plat::Label>(QStringLiteral("Etiqueta"), Hoja1);
        Etiqueta->setCaption(QStringLiteral("Cancelar"));
        Etiqueta->setHint(QStringLiteral("Aceptar"));
        Etiqueta->setGeometry(4, 220, 100, 16);
        Barra = make<plat::StatusBar>(QStringLiteral("Barra"), this);
        Barra->setGeometry(0, 356, 560, 24);
        Barra->setSimplePanel(true);
        Barra->setSimpleText(QStringLiteral("Aceptar"));
        setKeyPreview(true);
        OnKeyDown = [](QObject *s, int &k, plat::ShiftState m) { fGENEINIC->ProcesarTeclaFormulario(s, k, m); };
        OnKeyPress = [](QObject *s, QChar &k) { fGENEINIC->ProcesarTeclaPulsada(s, k); };
        OnCreate = [this](QObject *) { Abiertas = fGENEINIC->AbrirTablasFormulario(*this); };
    }

    QList<plat::TableComponent *> Tablas;
    plat::TableComponent *Table1 = nullptr;
    plat::DataSource *DataSource1;
    plat::PageControl *Paginas;
    plat::TabSheet *Hoja1, *Hoja2;
    plat::DBGrid *DBGrid1;
    plat::DBEdit *EditDescripcion, *EditPrecio;
    plat::Edit *EditCodigo, *EditOtro;
    plat::Memo *Memo1;
    plat::ComboBox *Tipo;
    plat::CheckBox *Urgente;
    plat::Label *Etiqueta;
    plat::StatusBar *Barra;
    bool Abiertas = false;
    int PulsacionesBoton = 0;
    int Documentaciones = 0;

public slots:
    void DBGrid1EditButtonClick(QObject *) { ++PulsacionesBoton; }
    void DocumentacionElectronica1Click(QObject *) { ++Documentaciones; }
};
