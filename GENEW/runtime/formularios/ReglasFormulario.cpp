#include "GENEW/runtime/formularios/ReglasFormulario.h"

#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Keys.h"

QString FormatoNumericoDeNombre(const QString &nombre, const PlantillasVisualizacion &plantillas)
{
    const QString mayusculas = nombre.toUpper();
    if (mayusculas.contains(QLatin1String("PRECIO")))
        return plantillas.plantillas[2];
    if (mayusculas.contains(QLatin1String("IMPORTE")))
        return plantillas.plantillas[3];
    for (int n = 1; n <= 5; ++n) {
        for (const QString &palabra : plantillas.campos[n]) {
            if (!palabra.isEmpty() && mayusculas.contains(palabra.toUpper()))
                return plantillas.plantillas[n];
        }
    }
    if (mayusculas.contains(QLatin1String("TOTAL")))
        return plantillas.plantillas[3];
    return plantillas.estandar;
}

QStringList PiezasBarraEstado(const QString &texto)
{
    const QStringList piezas = texto.split(u'|');
    QStringList paneles{piezas.value(0)};
    for (int i = 1; i < piezas.size() && !piezas[i].isEmpty(); ++i)
        paneles << piezas[i];
    return paneles;
}

TamanoFormulario CalcularTamanoFormulario(const QString &modo, bool tieneMenu, QSize principal)
{
    TamanoFormulario t;
    if (modo.contains(QLatin1String("Design"))) {
        if (tieneMenu) {
            t.forma = TamanoFormulario::MasAlto;
            t.rectangulo = QRect(0, 0, 0, 20);
        }
    } else if (modo.contains(QLatin1String("Fit"))) {
        t.forma = TamanoFormulario::Ajustado;
        t.rectangulo = QRect(0, 0, principal.width() - 4, principal.height() - 4);
    } else {
        t.forma = TamanoFormulario::Fijo;
        const bool pequeno = principal.height() < 768 || principal.width() < 1024;
        t.rectangulo = pequeno ? QRect(0, 0, 760, 520) : QRect(0, 0, 969, 609);
    }
    return t;
}

PosicionTeclado CalcularPosicionTeclado(const QRect &control, QSize teclado, QSize pantalla, const QString &opciones)
{
    PosicionTeclado p;
    p.control = control.topLeft();
    const int kw = teclado.width(), kh = teclado.height();
    if (opciones.contains(QLatin1String("Posicion=Derecha"))) {
        p.control.setX((pantalla.width() - control.width() - kw - 4) / 2);
        p.teclado = QPoint(p.control.x() + control.width() + 4, control.y() - (kh - control.height()) / 2);
    } else if (opciones.contains(QLatin1String("Posicion=Arriba"))) {
        p.control.setY((pantalla.height() - (control.height() + kh) - 4) / 2 + kh);
        p.teclado = QPoint(control.x() - (kw - control.width()) / 2, p.control.y() - kh - 4);
    } else if (opciones.contains(QLatin1String("Posicion=Abajo"))) {
        p.control.setY((pantalla.height() - control.height() - kh - 4) / 2);
        p.teclado = QPoint(control.x() - (kw - control.width()) / 2, p.control.y() + control.height() + 4);
    } else {
        p.centrado = true;
        p.teclado = QPoint((pantalla.width() - kw) / 2, (pantalla.height() - kh) / 2);
    }
    return p;
}

void AnotarTecla(QString &buffer, int tecla, bool conCtrlOAlt)
{
    // Shift and Caps Lock only choose the case of what follows: "SALUDO" is one code.
    if (tecla == plat::VK_SHIFT || tecla == plat::VK_CAPITAL)
        return;
    if (buffer.size() > 10000)
        buffer.clear();
    const QChar anotada = (!conCtrlOAlt && tecla >= 40 && tecla <= 122) ? QChar(tecla) : QChar(u'|');
    if (anotada == u'|' && buffer.endsWith(u'|'))
        return;
    buffer += anotada;
}

QString UltimoCodigoTecleado(const QString &buffer)
{
    QString previo = buffer;
    if (previo.endsWith(u'|'))
        previo.chop(1);
    return previo.section(u'|', -1);
}

int MinutosInactividad(const QString &texto)
{
    bool ok = false;
    const int minutos = texto.trimmed().toInt(&ok);
    return ok && minutos > 0 ? minutos : 0;
}
