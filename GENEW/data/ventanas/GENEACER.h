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

    plat::Image *ImagenLogotipo;
    plat::Label *NombreProducto;
    plat::Label *Version;
    plat::Label *Copyright;
    plat::Label *DireccionEMail;
    plat::Panel *PanelWeb;
    plat::HtmlView *WebBrowser;
    plat::Button *pbAceptar;

public slots:
    void DireccionEMailClick();
    void AbrirSitioWeb();

private:
    void FormShow();
};

// The logo the box shows, drawn by the program.
QPixmap LogotipoPrograma(int lado);
