#include "GENEW/data/ventanas/GENERINI.h"
#include "GENEW/data/servicios/TextosRegistroINI.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Grids.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

const QString kPlantilla = QStringLiteral("ClienteSMTP=Por Defecto\r\nServidorSMTP=\r\nClaveAccesoSMTP=\r\nPuertoSSL=25\r\n");

TEST(TextosRegistroINI, MergeKeepsTheTemplatesKeysAndWholeValues)
{
    const QList<LineaRegistroINI> fusion = FusionarRegistroINI(
        kPlantilla, QStringLiteral("clavesmtp=x\r\nClaveAccesoSMTP=a=b==c\r\nservidorsmtp=smtp.x\r\nPuertoSSL=\r\n"));
    QStringList textos;
    for (const auto &l : fusion)
        textos << l.texto();
    // A missing key shows its default, an extra key is dropped, a value keeps its "=" and an
    // empty current value empties the default; names keep the template's spelling.
    EXPECT_EQ(textos, (QStringList{"ClienteSMTP=Por Defecto", "ServidorSMTP=smtp.x", "ClaveAccesoSMTP=a=b==c", "PuertoSSL="}));
    EXPECT_EQ(LineaRegistroINI::leer("sin igual"), (LineaRegistroINI{"sin igual", ""}));
    EXPECT_TRUE(LineaRegistroINI::leer("Correo (*)=").esCabecera());
}

TEST(TextosRegistroINI, Descriptors)
{
    using T = DescriptorRegistroINI::Tipo;
    const DescriptorRegistroINI lista = DescriptorRegistroINI::leer("Por Defecto,Indy");
    EXPECT_EQ(lista.tipo, T::Lista);
    EXPECT_EQ(lista.valores, (QStringList{"Por Defecto", "Indy"}));
    EXPECT_EQ(DescriptorRegistroINI::leer("").tipo, T::Libre);
    EXPECT_EQ(DescriptorRegistroINI::leer("ELLIPSIS").tipo, T::Boton);
    EXPECT_EQ(DescriptorRegistroINI::leer("ELLIPSIS_RANGO").tipo, T::Rango);
    const DescriptorRegistroINI ga = DescriptorRegistroINI::leer("ELLIPSIS_GA:Cliente,Proveedor");
    EXPECT_EQ(ga.tipo, T::GruposAnalisis);
    EXPECT_EQ(ga.perfiles, "Cliente,Proveedor");
    EXPECT_EQ(PartesRango("A...M"), qMakePair(QString("A"), QString("M")));
    EXPECT_EQ(PartesRango("A..M"), qMakePair(QString("A..M"), QString()));
    EXPECT_EQ(PartesRango("...M...Z"), qMakePair(QString(), QString("M...Z")));
}

class EditorRegistroINI : public ::testing::Test
{
protected:
    void SetUp() override { TfGENERINI::Geometria = {}; }
    void TearDown() override { plat::application().OnModalShown = nullptr; }

    // Edits with the dialog handed to a step that answers it; the result of the call.
    QString editar(const QString &actual, const QString &descriptores, const QString &opciones,
                   const std::function<void(TfGENERINI &)> &paso)
    {
        plat::application().OnModalShown = [&](plat::Form &f) { paso(static_cast<TfGENERINI &>(f)); };
        return EditarRegistroINI(kPlantilla, actual, QString(), QStringLiteral("Campo;Valor"), descriptores, opciones);
    }

    SalidaMensajesGrabada mensajes_;
    SalidaMensajesInstalada salida_{mensajes_};
};

TEST_F(EditorRegistroINI, AcceptingReturnsTheRowsAndCancellingTheMergedText)
{
    const QString actual = QStringLiteral("ServidorSMTP=smtp.x\r\nClaveAccesoSMTP=p=1\r\nSobra=1\r\n");
    const QString fusion = QStringLiteral("ClienteSMTP=Por Defecto\r\nServidorSMTP=smtp.x\r\nClaveAccesoSMTP=p=1\r\nPuertoSSL=25\r\n");
    EXPECT_EQ(editar(actual, {}, {}, [](TfGENERINI &f) { f.pbCancelar->click(); }), fusion);
    const QString aceptado = editar(actual, {}, {}, [](TfGENERINI &f) {
        EXPECT_EQ(f.caption(), "Editor de Registro INI");
        EXPECT_EQ(f.StringGrid->cell(0, 0), "Campo");
        EXPECT_EQ(f.StringGrid->cell(1, 0), "Valor");
        EXPECT_EQ(f.StringGrid->cell(1, 3), "p=1");
        f.StringGrid->setCell(1, 4, "465");
        f.pbAceptar->click();
    });
    EXPECT_EQ(aceptado, QString(fusion).replace("PuertoSSL=25", "PuertoSSL=465"));
}

TEST_F(EditorRegistroINI, DescriptorsGiveDropDownsAndButtons)
{
    editar({}, QStringLiteral("ClienteSMTP=Por Defecto,Indy\r\nServidorSMTP=ELLIPSIS_RANGO\r\nPuertoSSL=ELLIPSIS\r\n"), {},
           [](TfGENERINI &f) {
               const plat::ItemProp lista = f.StringGrid->itemProp("ClienteSMTP");
               EXPECT_EQ(lista.Style, plat::esPickList);
               EXPECT_EQ(lista.PickList, (QStringList{"Por Defecto", "Indy"}));
               EXPECT_EQ(f.StringGrid->itemProp("ServidorSMTP").Style, plat::esEllipsis);
               EXPECT_EQ(f.StringGrid->itemProp("PuertoSSL").Style, plat::esEllipsis);
               EXPECT_EQ(f.StringGrid->itemProp("ClaveAccesoSMTP").Style, plat::esSimple);
               f.pbCancelar->click();
           });
}

TEST_F(EditorRegistroINI, ARangeButtonAsksFromAndTo)
{
    mensajes_.programarRespuestas({"A", "M"});
    const QString resultado = editar(QStringLiteral("ServidorSMTP=todo"), QStringLiteral("ServidorSMTP=ELLIPSIS_RANGO"), {},
                                     [](TfGENERINI &f) {
                                         f.StringGrid->setCurrentCell(1, 2);
                                         f.StringGridEditButtonClick();
                                         f.pbAceptar->click();
                                     });
    EXPECT_TRUE(resultado.contains("ServidorSMTP=A...M\r\n")) << resultado.toStdString();
    // A value without "..." proposes all of it as the from value and nothing as the to.
    ASSERT_EQ(mensajes_.mensajes().size(), 2);
    EXPECT_EQ(mensajes_.mensajes()[0].texto, "Introduzca el valor Desde para ServidorSMTP");
    EXPECT_EQ(mensajes_.mensajes()[0].respuestaPropuesta, "todo");
    EXPECT_EQ(mensajes_.mensajes()[1].texto, "Introduzca el valor Hasta para ServidorSMTP");
    EXPECT_EQ(mensajes_.mensajes()[1].respuestaPropuesta, "");
}

TEST_F(EditorRegistroINI, FormatoSizesTheDialogAndClosingIsRemembered)
{
    int ancho = 0;
    QPoint centro;
    editar({}, {}, QStringLiteral("Formato=0,0,450,0"), [&](TfGENERINI &f) {
        ancho = f.width();
        centro = f.geometry().center();
        f.pbCancelar->click();
    });
    EXPECT_EQ(ancho, 450);
    const QPoint pantalla = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(std::abs(centro.x() - pantalla.x()), 20);   // the height follows the rows after centring
    EXPECT_EQ(TfGENERINI::Geometria.width, 450);
}

} // namespace
