#pragma once
#include "platform/ui/Form.h"

namespace plat {
class Button;
class HtmlView;
class Memo;
class Panel;
class PrintDialog;
class SaveDialog;
class SpeedButton;
} // namespace plat

// The detail viewer: a long text, or an HTML text in the browser, with a print button.
class TfGENEDETA : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEDETA(QWidget *parent = nullptr);
    ~TfGENEDETA() override;

    plat::Panel *Panel1;
    plat::SpeedButton *pbImprimir;
    plat::Panel *Panel3;
    plat::Memo *MemoDetalle;
    plat::HtmlView *WebBrowserDetalle;
    plat::Panel *PanelControl;
    plat::Button *pbConforme;
    plat::PrintDialog *PrintDialog1;
    plat::SaveDialog *SaveDialog1;

    bool MostrandoHTML = false;   // the browser shows the text instead of the memo
    // The lines that printing writes after the caption: the memo's, or with the browser
    // showing the memo's HTML as plain text ("<br>" and "<hr>" break lines, tags go).
    QStringList LineasImpresion() const;

public slots:
    void pbImprimirClick();
};

extern TfGENEDETA *fGENEDETA;

// Shows a text in a viewer of its own. Options as Name=Value lines: "Fuente" (name + "," +
// size), "Formato" (width + "," + height), and the line "Interprete=HTML".
void MostrarDetalle(const QString &texto, const QString &titulo, const QString &opciones = QString());

// Fills a viewer as MostrarDetalle does before showing it.
void PrepararDetalle(TfGENEDETA &visor, const QString &texto, const QString &titulo, const QString &opciones);

// HTML as plain text lines: "<br>" and "<hr>" become line breaks, every tag is dropped.
QStringList TextoPlanoDeHTML(const QString &html);
