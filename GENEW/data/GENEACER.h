#pragma once
#include "platform/ui/Form.h"

namespace plat {
class Button;
class HtmlView;
class Image;
class Label;
class Panel;
} // namespace plat

// The program's own data that the about box shows, kept in one place.
namespace datosPrograma {
// The version code, the project's version from the build.
QString CodigoVersion();
QString TitularDerechos();
QString DireccionCorreo();
QString DireccionWeb();
} // namespace datosPrograma

// The about box: the program's name, version and file date, the rights notice with the
// current year, the contact links, the logo and a page in its browser panel. Shown modally
// by its caller, which frees it.
class TfGENEACER : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEACER(QWidget *parent = nullptr);

    plat::Image *ImagenLogotipo = nullptr;
    plat::Label *NombreProducto = nullptr;
    plat::Label *Version = nullptr;
    plat::Label *Copyright = nullptr;
    plat::Label *DireccionEMail = nullptr;
    plat::Panel *PanelWeb = nullptr;
    plat::HtmlView *WebBrowser = nullptr;
    plat::Button *pbAceptar = nullptr;

public slots:
    void DireccionEMailClick();
    void AbrirSitioWeb();

    // The width its texts need, never less than its drawn width: the caption as a window
    // manager draws it (bold, beside the icon and the buttons) and each line of the box.
    int anchoNecesario() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void FormShow();
    void ajustarAncho();
};

// The logo the box shows, drawn by the program.
QPixmap LogotipoPrograma(int lado);
