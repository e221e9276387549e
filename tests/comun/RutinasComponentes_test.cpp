#include "GENEW/runtime/comun/RutinasComponentes.h"

#include <QPointer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class FormularioDePrueba : public QObject
{
    Q_OBJECT

public:
    enum Alineacion { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(Alineacion)
    enum Estilo { fsBold = 1, fsItalic = 2 };
    Q_DECLARE_FLAGS(Estilos, Estilo)
    Q_FLAG(Estilos)

private:
    Q_PROPERTY(QString Caption MEMBER caption_)
    Q_PROPERTY(int Tag MEMBER tag_)
    Q_PROPERTY(Alineacion Alignment MEMBER alineacion_)
    Q_PROPERTY(Estilos FontStyle READ fontStyle WRITE setFontStyle)

public:

    QObject *remitente = nullptr;
    int llamadas = 0;
    Estilos fontStyle() const { return estilos_; }
    void setFontStyle(Estilos estilos) { estilos_ = estilos; }

public slots:
    void BuscarDatosDBEdit(QObject *sender)
    {
        remitente = sender;
        ++llamadas;
    }
    void Table1AfterScroll(FormularioDePrueba *dataSet) { remitente = dataSet; ++llamadas; }
    void pbSalirClick() { ++llamadas; }
    void Falla(QObject *) { throw std::runtime_error("falla"); }

signals:
    void Cambiado(QObject *sender);

private:
    QString caption_;
    int tag_ = 0;
    Alineacion alineacion_ = taLeftJustify;
    Estilos estilos_;
};

TEST(Componentes, BuscarIgnorandoMayusculas)
{
    QObject formulario;
    QObject panel(&formulario);
    panel.setObjectName(QStringLiteral("Panel1"));
    QObject edit(&panel);
    edit.setObjectName(QStringLiteral("Edit1"));
    EXPECT_EQ(BuscarComponente(&formulario, QStringLiteral("EDIT1")), &edit);
    EXPECT_EQ(BuscarComponente(&formulario, QStringLiteral("panel1")), &panel);
    EXPECT_EQ(BuscarComponente(&formulario, QStringLiteral("Edit2")), nullptr);
}

TEST(Componentes, PropiedadesPublicadas)
{
    FormularioDePrueba f;
    EXPECT_TRUE(TieneEstaPropiedad(&f, QStringLiteral("Caption")));
    EXPECT_FALSE(TieneEstaPropiedad(&f, QStringLiteral("caption")));
    EXPECT_FALSE(TieneEstaPropiedad(nullptr, QStringLiteral("Caption")));

    EscribirPropiedad(&f, QStringLiteral("Caption"), QStringLiteral("Clientes"));
    EXPECT_EQ(LeerPropiedad(&f, QStringLiteral("Caption")), QVariant(QStringLiteral("Clientes")));
    EscribirPropiedad(&f, QStringLiteral("Tag"), QStringLiteral("1000"));
    EXPECT_EQ(LeerPropiedad(&f, QStringLiteral("Tag")).toInt(), 1000);
    EscribirPropiedad(&f, QStringLiteral("Alignment"), QStringLiteral("taCenter"));
    EXPECT_EQ(LeerPropiedad(&f, QStringLiteral("Alignment")), QVariant(QStringLiteral("taCenter")));
    EscribirPropiedad(&f, QStringLiteral("Alignment"), QStringLiteral("noExiste"));
    EXPECT_EQ(LeerPropiedad(&f, QStringLiteral("Alignment")), QVariant(QStringLiteral("taCenter")));
    EscribirPropiedad(&f, QStringLiteral("FontStyle"), QStringLiteral("fsBold,fsItalic"));
    EXPECT_EQ(LeerPropiedad(&f, QStringLiteral("FontStyle")), QVariant(QStringLiteral("fsBold,fsItalic")));

    EscribirPropiedad(&f, QStringLiteral("Inexistente"), 5);
    EXPECT_EQ(LeerPropiedad(&f, QStringLiteral("Inexistente")), QVariant(QString(QLatin1String(""))));
    EXPECT_EQ(LeerPropiedad(nullptr, QStringLiteral("Caption")), QVariant(QString(QLatin1String(""))));
}

TEST(Componentes, MetodosPorNombre)
{
    FormularioDePrueba f;
    QObject boton;
    EXPECT_TRUE(TieneEsteMetodo(&f, QStringLiteral("BuscarDatosDBEdit")));
    EXPECT_TRUE(TieneEsteMetodo(&f, QStringLiteral("buscardatosdbedit")));
    EXPECT_FALSE(TieneEsteMetodo(&f, QStringLiteral("Cambiado")));   // a signal is not a handler
    EXPECT_FALSE(TieneEsteMetodo(&f, QStringLiteral("NoExiste")));

    EXPECT_TRUE(EjecutarMetodoPorNombre(&f, QStringLiteral("BuscarDatosDBEdit"), &boton));
    EXPECT_EQ(f.remitente, &boton);
    EXPECT_TRUE(EjecutarMetodoPorNombre(&f, QStringLiteral("Table1AfterScroll"), &f));
    EXPECT_EQ(f.remitente, &f);
    EXPECT_TRUE(EjecutarMetodoPorNombre(&f, QStringLiteral("pbSalirClick"), &boton));
    EXPECT_EQ(f.llamadas, 3);

    EXPECT_FALSE(EjecutarMetodoPorNombre(&f, QStringLiteral("NoExiste"), &boton));
    EXPECT_FALSE(EjecutarMetodoPorNombre(&f, QStringLiteral("Falla"), &boton));
    EXPECT_FALSE(EjecutarMetodoPorNombre(nullptr, QStringLiteral("pbSalirClick"), &boton));
    EXPECT_EQ(f.llamadas, 3);
}

class ControlDePrueba : public ControlPosicionable
{
public:
    ControlDePrueba(QSize tamano, std::optional<QSize> padre) : tamano_(tamano), padre_(padre) {}
    QSize tamano() const override { return tamano_; }
    std::optional<QSize> tamanoPadre() const override { return padre_; }
    void ponerIzquierda(int izquierda) override { izquierda_ = izquierda; }
    void ponerArriba(int arriba) override { arriba_ = arriba; }

    std::optional<int> izquierda_;
    std::optional<int> arriba_;

private:
    QSize tamano_;
    std::optional<QSize> padre_;
};

class PrincipalDePrueba : public FormularioPrincipal
{
public:
    QSize tamano() const override { return QSize(1024, 768); }
};

TEST(Componentes, PosicionarControl)
{
    ControlDePrueba centro(QSize(101, 51), QSize(400, 300));
    PosicionarControl(centro, QStringLiteral("Centro"));
    EXPECT_EQ(centro.izquierda_, 149);
    EXPECT_EQ(centro.arriba_, 124);

    ControlDePrueba ancho(QSize(501, 10), QSize(400, 300));
    PosicionarControl(ancho, QStringLiteral("Centro"));
    EXPECT_EQ(ancho.izquierda_, -50);   // cut toward zero

    ControlDePrueba horizontal(QSize(100, 50), QSize(400, 300));
    PosicionarControl(horizontal, QStringLiteral("Centro-Horizontal"));
    EXPECT_EQ(horizontal.izquierda_, 150);
    EXPECT_FALSE(horizontal.arriba_.has_value());

    ControlDePrueba vertical(QSize(100, 50), QSize(400, 300));
    PosicionarControl(vertical, QStringLiteral("Centro-Vertical"));
    EXPECT_FALSE(vertical.izquierda_.has_value());
    EXPECT_EQ(vertical.arriba_, 125);

    ControlDePrueba derecha(QSize(100, 50), QSize(400, 300));
    PosicionarControl(derecha, QStringLiteral("Derecha"));
    EXPECT_EQ(derecha.izquierda_, 296);

    ControlDePrueba otro(QSize(100, 50), QSize(400, 300));
    PosicionarControl(otro, QStringLiteral("Izquierda"));
    EXPECT_FALSE(otro.izquierda_.has_value() || otro.arriba_.has_value());

    ControlDePrueba sinPadre(QSize(24, 8), std::nullopt);
    PosicionarControl(sinPadre, QStringLiteral("Centro"));
    EXPECT_FALSE(sinPadre.izquierda_.has_value());
    PrincipalDePrueba principal;
    {
        const Gancho<FormularioPrincipal *>::Instalacion instalado(ganchoFormularioPrincipal(), &principal);
        PosicionarControl(sinPadre, QStringLiteral("Centro"));
    }
    EXPECT_EQ(sinPadre.izquierda_, 500);
    EXPECT_EQ(sinPadre.arriba_, 380);
}

} // namespace

#include "RutinasComponentes_test.moc"
