#include "GENEW/runtime/TraduccionExcepciones.h"

#include <gtest/gtest.h>

namespace {

using Clase = TraduccionExcepcion::Clase;

struct Fila
{
    const char *mensaje;
    Clase clase;
    const char *texto;
};

std::string nombre(Clase c)
{
    switch (c) {
    case Clase::Ignorar: return "Ignorar";
    case Clase::Advertencia: return "Advertencia";
    case Clase::Error: return "Error";
    case Clase::AvisoDelSistema: return "AvisoDelSistema";
    }
    return "?";
}


template <size_t N>
void comprobarFilas(const Fila (&filas)[N])
{
    for (const Fila &f : filas) {
        const TraduccionExcepcion t = TraducirExcepcion(QString::fromUtf8(f.mensaje), false, "Minimo");
        EXPECT_EQ(nombre(t.clase), nombre(f.clase)) << f.mensaje;
        EXPECT_EQ(t.texto, QString::fromUtf8(f.texto)) << f.mensaje;
        EXPECT_EQ(t.registrarTraza, f.clase == Clase::Error) << f.mensaje;
        EXPECT_FALSE(t.cerrarFormularioDelRemitente) << f.mensaje;
    }
}

TEST(TraduccionExcepciones, Advertencias)
{
    const Fila filas[] = {
        {"Unable to insert a line", Clase::Advertencia,
         "¡ La cantidad de información es excesiva !. Seleccione menos datos o segrégelos en varios bloques diferentes."},
        {"Record already locked by this session", Clase::Advertencia, "¡ El registro esta bloqueado en esta sesion !"},
        {"Dataset not in edit or insert mode", Clase::Advertencia, "¡ Debe estar en modo edición !"},
        {"Cannot perform this operation on an empty dataset", Clase::Advertencia,
         "¡ Es imposible realizar esta operación !. La Tabla está vacía."},
        {"Type mismatch in expression", Clase::Advertencia, "¡ La sentencia tiene un error de sintaxis !"},
        {"No SQL statement available", Clase::Advertencia, "¡ No hay ninguna sentencia SQL disponible !"},
        {"Cannot modify a read-only dataset.", Clase::Advertencia, "¡Ud. no tiene autorización para realizar modificaciones!"},
        {"Error: Table is read only. Tabla X", Clase::Advertencia, "¡Ud. no tiene autorización para realizar modificaciones!"},
        {"Key violation.\nUNIQUE constraint failed: CLIENTE.Codigo", Clase::Advertencia, "¡ Ya existe el registro !"},
        {"record/key deleted.", Clase::Advertencia,
         "¡Este registro ya no está disponible en la vista actual!. Para ver la nueva situación vuelva a seleccionar o "
         "filtrar los datos que desee."},
        {"Record locked by another user. database is locked", Clase::Advertencia,
         "¡ El registro esta siendo bloqueado por otro usuario !"},
        {"Connection already has an active transaction", Clase::Advertencia,
         "¡ Hay una transaccion activa en la Base de Datos !"},
        {"A deadlock was detected while trying to lock", Clase::Advertencia,
         "¡ El registro ha sido modificado por otro usuario !. Debe cancelar la edición, salir e intentarlo de nuevo."},
        {"'31/02/2020' is not a valid date", Clase::Advertencia,
         "¡ La fecha (u hora) introducida no es válida !. Repita por favor."},
        {"'25:00' is not a valid time", Clase::Advertencia, "¡ La hora introducida no es válida !. Repita por favor."},
        {"'x' is not a valid value", Clase::Advertencia, "¡ El dato introducido no es válido !. Repita por favor."},
        {"'x' is not a valid integer value", Clase::Advertencia, "¡ El dato introducido no es válido !. Repita por favor."},
        {"'1,2,3' is not a valid floating point value", Clase::Advertencia,
         "¡ El dato introducido no es válido !. Repita por favor."},
        {"Error: No index currently active.", Clase::Advertencia,
         "¡La tabla no está disponible. Cierre la ventana e inténtelo de nuevo."},
        {"Field 'Nombre' must have a value", Clase::Advertencia, "¡ Debe introducir un valor en el campo 'Nombre'  !"},
        {"Invalid use of keyword. Token: FROM. Line Number: 3", Clase::Advertencia,
         "¡ La sentencia utilizada es incorrecta ! Palabra: FROM en la línea número: 3"},
        {"Token not found. Token: WHERE. Line Number: 1", Clase::Advertencia,
         "¡ La sentencia utilizada es incorrecta ! Palabra: WHERE en la línea número: 1"},
    };
    comprobarFilas(filas);
}

TEST(TraduccionExcepciones, ErroresQueTerminanElPrograma)
{
    const Fila filas[] = {
        {"Cannot lock network file. /srv/datos/red.lck", Clase::Error,
         "¡ Es imposible iniciar la aplicación en este momento!. Inténtelo de nuevo."},
        {"Cannot perform this operation on a closed dataset", Clase::Error,
         "¡ Es imposible realizar esta operación !. La Tabla está cerrada."},
        {"Table does not exist. no such table: PROYECT", Clase::Error,
         "¡ La tabla no existe !. Compruebe la Base de Datos por favor."},
        {"Path not found. /x/datos", Clase::Error, "¡ La dirección (path) de la Base de Datos es incorrecta !"},
        {"Field 'Importe' is not of the expected type", Clase::Error,
         "TRADUCIR: Field 'Importe' is not of the expected type"},
        {"At beginning of table", Clase::Error, "Al principio de la tabla."},
        {"Some internal limit (see context) was exceeded", Clase::Error,
         "¡Se ha producido un error de límite interno!. Cierre alguna aplicación e inténtelo de nuevo."},
        {"Access violation at address 0", Clase::Error,
         "¡Se ha producido un error indeterminado en el sistema!. En estas condiciones es recomendable reiniciar la "
         "computadora."},
        {"Index is out of date. CLIENTE", Clase::Error, "TRADUCIR: Index is out of date. CLIENTE"},
    };
    comprobarFilas(filas);
}

TEST(TraduccionExcepciones, TextosIgnoradosYDesconocidos)
{
    const Fila filas[] = {
        {"Cannot focus a disabled or invisible window", Clase::Ignorar, ""},
        {"Error creating cursor handle", Clase::Ignorar, ""},
        {"Table is busy. PROYECT", Clase::Ignorar, ""},
        {"Cursor unknown", Clase::Ignorar, ""},
        // Ignored even though a warning row matched it too.
        {"'0.0' is not a valid integer value", Clase::Ignorar, ""},
        // Unknown texts are shown unchanged as warnings.
        {"Algo inesperado", Clase::Advertencia, "Algo inesperado"},
        {"", Clase::Advertencia, ""},
        // Near misses of rows that compare the whole text.
        {"Unable to insert a line.", Clase::Advertencia, "Unable to insert a line."},
        {"Error creating cursor handle.", Clase::Advertencia, "Error creating cursor handle."},
        {"Cannot perform this operation on a closed dataset.", Clase::Advertencia,
         "Cannot perform this operation on a closed dataset."},
        // Case counts except for the deleted-record row.
        {"key violation", Clase::Advertencia, "key violation"},
    };
    comprobarFilas(filas);
}

TEST(TraduccionExcepciones, CombinacionesDeFilas)
{
    // Exactly "No index currently active": the error row replaces the text, the class stays a warning.
    TraduccionExcepcion t = TraducirExcepcion("No index currently active", false, "Minimo");
    EXPECT_EQ(t.clase, Clase::Advertencia);
    EXPECT_EQ(t.texto, "No hay un índice activo en la tabla");
    EXPECT_FALSE(t.registrarTraza);

    // Within one group the later row wins.
    t = TraducirExcepcion("Key violation; A deadlock was detected", false, "Minimo");
    EXPECT_EQ(t.texto, "¡ El registro ha sido modificado por otro usuario !. Debe cancelar la edición, salir e "
                       "intentarlo de nuevo.");

    // A warning row and an error row: the error's text, the warning's class.
    t = TraducirExcepcion("Key violation. Path not found", false, "Minimo");
    EXPECT_EQ(t.clase, Clase::Advertencia);
    EXPECT_EQ(t.texto, "¡ La dirección (path) de la Base de Datos es incorrecta !");

    // An ignored text stays ignored even when an error row matched it.
    t = TraducirExcepcion("Table is busy. Table does not exist", false, "Minimo");
    EXPECT_EQ(t.clase, Clase::Ignorar);
    EXPECT_EQ(t.tipoMensaje(), "");
}

// Failures known by their kind decide before their text, whatever rows their text matches.
TEST(TraduccionExcepciones, FallosPorSuTipo)
{
    using Tipo = gp::DatabaseErrorKind;
    struct Caso
    {
        const char *mensaje;
        Tipo tipo;
        const char *texto;
    };
    const Caso casos[] = {
        {"Record changed by another user", Tipo::RecordChanged,
         "¡ El registro ha sido modificado por otro usuario !. Debe cancelar la edición, salir e intentarlo de nuevo."},
        {"connection to server at \"db\" failed: Connection refused. Path not found", Tipo::ConnectionLost,
         "¡ No es posible conectar con el servidor de la Base de Datos !. Motivo: connection to server at \"db\" "
         "failed: Connection refused. Path not found"},
        // The other kinds still go by their text.
        {"Key violation.\nduplicate key", Tipo::KeyViolation, "¡ Ya existe el registro !"},
    };
    for (const Caso &c : casos) {
        for (const bool rejilla : {false, true}) {
            const TraduccionExcepcion t = TraducirExcepcion(QString::fromUtf8(c.mensaje), rejilla, "Minimo", c.tipo);
            EXPECT_EQ(nombre(t.clase), nombre(Clase::Advertencia)) << c.mensaje;
            EXPECT_EQ(t.texto, QString::fromUtf8(c.texto)) << c.mensaje;
            EXPECT_FALSE(t.registrarTraza) << c.mensaje;
            EXPECT_FALSE(t.cerrarFormularioDelRemitente) << c.mensaje;
        }
    }
    // Without its kind, the same text is shown as it is.
    EXPECT_EQ(TraducirExcepcion("Record changed by another user", false, "Minimo").texto, "Record changed by another user");
    EXPECT_TRUE(TraducirExcepcion("Record changed by another user", false, "Maximo", Tipo::RecordChanged).registrarTraza);
}

// An engine's failure reads in Spanish: its kind's message, then the driver's words after
// "Motivo: "; the engine's English text of the kind never shows.
TEST(TraduccionExcepciones, FallosDelMotorEnEspanol)
{
    using Tipo = gp::DatabaseErrorKind;
    EXPECT_EQ(TraducirExcepcion("General SQL error.\nincomplete input Unable to execute statement", false, "Minimo").texto,
              "¡ Se ha producido un error en la Base de Datos !. Motivo: incomplete input Unable to execute statement");
    const struct
    {
        gp::Fallo fallo;
        const char *motivo;
    } casos[] = {
        {{true, "Path not found.\n[FreeTDS] Cannot open database", Tipo::MissingPath, "[FreeTDS] Cannot open database"},
         "¡ La dirección (path) de la Base de Datos es incorrecta ! [FreeTDS] Cannot open database"},
        {{true, "Table is read only.\nERROR: cannot execute INSERT in a read-only transaction", Tipo::ReadOnly,
          "ERROR: cannot execute INSERT in a read-only transaction"},
         "¡Ud. no tiene autorización para realizar modificaciones! ERROR: cannot execute INSERT in a read-only transaction"},
        {{true, "el texto tiene dos sentencias", Tipo::Other, ""}, "el texto tiene dos sentencias"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(MotivoFallo(c.fallo), QString::fromUtf8(c.motivo)) << c.fallo.mensaje.toStdString();
}

TEST(TraduccionExcepciones, MemosExcesivosYRejilla)
{
    const QString m = "Invalid BLOB handle in record buffer. Key violation";
    for (bool rejilla : {false, true}) {
        const TraduccionExcepcion t = TraducirExcepcion(m, rejilla, "Maximo");
        EXPECT_EQ(t.clase, Clase::AvisoDelSistema);
        EXPECT_EQ(t.texto, "¡El número de campos Memo que se intenta manejar es excesivo!. Acote la consulta.");
        EXPECT_EQ(t.cerrarFormularioDelRemitente, rejilla);
        EXPECT_FALSE(t.registrarTraza);   // nothing else of the handler runs
        EXPECT_EQ(t.tipoMensaje(), "");
    }
}

TEST(TraduccionExcepciones, TrazaYTipoDeMensaje)
{
    EXPECT_TRUE(TraducirExcepcion("Key violation", false, "Maximo").registrarTraza);
    EXPECT_TRUE(TraducirExcepcion("Table is busy", false, "Maximo").registrarTraza);
    EXPECT_FALSE(TraducirExcepcion("Key violation", false, "maximo").registrarTraza);
    EXPECT_TRUE(TraducirExcepcion("Path not found", false, "").registrarTraza);
    EXPECT_EQ(TraducirExcepcion("Key violation", false, "").tipoMensaje(), "A");
    EXPECT_EQ(TraducirExcepcion("Path not found", false, "").tipoMensaje(), "E");
}

TEST(TraduccionExcepciones, TextosMarcadosParaTraducir)
{
    struct Caso { const char *entrada; const char *salida; };
    const Caso casos[] = {
        {"Sin marca: Index is out of date", "Sin marca: Index is out of date"},
        {"TRADUCIR: Index is out of date. CLIENTE", "El índice no está actualizado.. CLIENTE"},
        {"TRADUCIR: At beginning of table", "Al principio de la tabla."},
        {"TRADUCIR: Field 'X' not found", "El campo 'X' no está definido."},
        {"TRADUCIR: Field 'X' is not of the expected type", "El campo 'X' no es del tipo adecuado."},
        {"TRADUCIR: Field alone", "Field alone"},
        {"TRADUCIR: Some internal limit exceeded",
         "¡Se ha producido un error de límite interno!. Cierre alguna aplicación e inténtelo de nuevo."},
        {"TRADUCIR: Key violation Tabla: CLIENTE", "Key violation Tabla: CLIENTE"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(TraducirTextoMarcado(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.salida)) << c.entrada;
    // What the exception handler marks reads as Spanish once shown.
    EXPECT_EQ(TraducirTextoMarcado(TraducirExcepcion("Field 'Precio' is not of the expected type", false, "").texto),
              "El campo 'Precio' no es del tipo adecuado.");
}

} // namespace
