#pragma once
#include <QString>
#include <QStringList>
#include <array>

// Analysis-group names, document references and the key items of a layout's connections:
// what the print engine's look-ups decide before they read any field.

// "GrupoAnalisis" followed by one or two digits worth 1 to 99 (characters 14 and 15 only:
// "GrupoAnalisis07X" is a group name, "GrupoAnalisis00" and "GrupoAnalisisAB" are not).
bool EsGrupoAnalisis(const QString &nombre);

// The key of one kind in a document reference such as "OF:1234/2". With a "," only one part
// counts: the part before it for "PP" and "LPP", the part after it for every other kind.
// "Doc" and "Lin" compare ignoring case, the other kinds exactly; a reference that lacks
// the prefix its kind needs gives an empty key.
QString ExtraerReferenciaDocumento(const QString &tipo, const QString &referencia);

// True when the text holds the prefix ("OF:", "II:", ...) anywhere (case counts).
bool EsReferenciaOF(const QString &texto);
bool EsReferenciaII(const QString &texto);
bool EsReferenciaOT(const QString &texto);
bool EsReferenciaUC(const QString &texto);
bool EsReferenciaUE(const QString &texto);
bool EsReferenciaUI(const QString &texto);
bool EsReferenciaPP(const QString &texto);
bool EsReferenciaRE(const QString &texto);
bool EsReferenciaPC(const QString &texto);
bool EsReferenciaAL(const QString &texto);

constexpr int kMaximoElementosClave = 4;

// What one key item of a connection stands for.
enum class TipoElementoClave {
    Vacio,                // a missing or empty item: its value is empty
    Literal,              // its value is `texto`
    Campo,                // the value of the field named `texto`
    CamposDocutron,       // the values of the fields `campos`, joined by "|" (DOCUTRON's ClaveTabla)
    GrupoAnalisis,        // the analysis-group value of the name `texto`
    ReferenciaDocumento,  // the field named `texto` holds a document reference
};

struct ElementoClave
{
    TipoElementoClave tipo = TipoElementoClave::Vacio;
    QString texto;
    QStringList campos;
};

// The key items of a connection entry (the text after its ">", items separated by "|"),
// for the table of that engine name; the substitute is the layout's stand-in for "|"
// (a DOCUTRON field list is written F1+"|"+F2 in the layout). Only an entry of one item
// that names a field is a document reference.
std::array<ElementoClave, kMaximoElementosClave>
DividirElementosClave(const QString &elementos, const QString &tablaSQL, const QString &sustituto);

// The two key values of a document reference read from its field, for a table whose index
// has that many fields: by the first prefix found of "OF:", "PP:", "II:", "OT:", "UE:",
// "UC:"; the plain value when there is none. Key 2 only with more than one index field.
struct ClavesReferencia
{
    QString clave1;
    QString clave2;
    bool hayClave2 = false;
};
ClavesReferencia ClavesDeReferenciaDocumento(const QString &valor, int camposIndice);
