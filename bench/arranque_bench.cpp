// The program's start-up as whole processes, from launch to its main window mapped on the X
// server of $DISPLAY (Xvfb, say), against a bare QMainWindow program with the same title built
// beside it (gp_ventana_desnuda), in the same run (the program's title goes on with the
// company's name): a first start in a fresh folder each time
// (every table made) and a later start in a folder the program has started in. Messages go
// unattended to a file, so that the log-in prompt is answered with its default (U=ADMIN).
//
// Every start is launched the same rest after the previous program was told to end, whichever
// program it was: launched as soon as the previous one was gone, each would start from
// another machine state, since the bare window ends in about 3 ms and the program, which
// closes its databases, in about 16; a start right after a short end ran faster (the bare
// window's loading and set-up took 4 ms less than after a rest).
#include <benchmark/benchmark.h>

#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;
const std::string kTitulo = "Gestión de Proyectos";

// Tells when a top-level window of a given process with the title is mapped.
class ServidorX
{
public:
    ServidorX()
    {
        conexion_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(conexion_))
            return;
        raiz_ = xcb_setup_roots_iterator(xcb_get_setup(conexion_)).data->root;
        const uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(conexion_, raiz_, XCB_CW_EVENT_MASK, &mascara);
        nombre_ = atomo("_NET_WM_NAME");
        pid_ = atomo("_NET_WM_PID");
        xcb_flush(conexion_);
        listo_ = true;
    }
    ~ServidorX() { xcb_disconnect(conexion_); }
    bool listo() const { return listo_; }

    // Waits (at most `segundos`) for the window; false when it never came.
    bool esperarVentana(pid_t proceso, double segundos)
    {
        const auto limite = std::chrono::steady_clock::now() + std::chrono::duration<double>(segundos);
        while (std::chrono::steady_clock::now() < limite) {
            while (xcb_generic_event_t *evento = xcb_poll_for_event(conexion_)) {
                const bool mapeo = (evento->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t ventana = reinterpret_cast<xcb_map_notify_event_t *>(evento)->window;
                std::free(evento);
                if (mapeo && esDe(ventana, proceso))
                    return true;
            }
            pollfd fd{xcb_get_file_descriptor(conexion_), POLLIN, 0};
            poll(&fd, 1, 50);
        }
        return false;
    }

private:
    xcb_atom_t atomo(const char *nombre)
    {
        xcb_intern_atom_reply_t *r =
            xcb_intern_atom_reply(conexion_, xcb_intern_atom(conexion_, 0, uint16_t(std::strlen(nombre)), nombre), nullptr);
        const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
        std::free(r);
        return a;
    }

    std::string propiedad(xcb_window_t ventana, xcb_atom_t nombre)
    {
        xcb_get_property_reply_t *r = xcb_get_property_reply(
            conexion_, xcb_get_property(conexion_, 0, ventana, nombre, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
        std::string valor;
        if (r)
            valor.assign(static_cast<const char *>(xcb_get_property_value(r)), size_t(xcb_get_property_value_length(r)));
        std::free(r);
        return valor;
    }

    bool esDe(xcb_window_t ventana, pid_t proceso)
    {
        const std::string pid = propiedad(ventana, pid_);
        return pid.size() == 4 && *reinterpret_cast<const uint32_t *>(pid.data()) == uint32_t(proceso)
               && propiedad(ventana, nombre_).starts_with(kTitulo);
    }

    xcb_connection_t *conexion_ = nullptr;
    xcb_window_t raiz_ = 0;
    xcb_atom_t nombre_ = XCB_ATOM_NONE;
    xcb_atom_t pid_ = XCB_ATOM_NONE;
    bool listo_ = false;
};

ServidorX *servidor = nullptr;
constexpr std::chrono::milliseconds kReposoEntreArranques{100};   // from one end signal to the next launch
std::string carpetaProgramas;   // where this benchmark and the programs it starts live
fs::path carpetaPrueba;         // every folder the runs use, removed at the end

std::vector<std::string> entornoDesatendido(const fs::path &carpeta)
{
    std::vector<std::string> entorno;
    for (char **e = environ; *e; ++e)
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            entorno.emplace_back(*e);
    entorno.emplace_back("GP_RESPUESTAS_MENSAJES=");
    entorno.emplace_back("GP_ARCHIVO_MENSAJES=" + (carpeta / "MENSAJES.TXT").string());
    return entorno;
}

// Starts the program in the folder and answers the seconds to its window (-1: none came);
// the program is ended afterwards, outside the time.
double arrancar(const std::string &programa, const fs::path &carpeta, const std::vector<std::string> &argumentos)
{
    std::vector<std::string> textos{programa};
    textos.insert(textos.end(), argumentos.begin(), argumentos.end());
    std::vector<char *> argv;
    for (std::string &t : textos)
        argv.push_back(t.data());
    argv.push_back(nullptr);
    std::vector<std::string> entorno = entornoDesatendido(carpeta);
    std::vector<char *> envp;
    for (std::string &e : entorno)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addchdir_np(&acciones, carpeta.c_str());
    posix_spawn_file_actions_addopen(&acciones, 1, "/dev/null", O_WRONLY, 0);
    pid_t proceso = 0;
    const auto inicio = std::chrono::steady_clock::now();
    const int fallo = posix_spawn(&proceso, programa.c_str(), &acciones, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&acciones);
    if (fallo != 0)
        return -1;
    const bool vista = servidor->esperarVentana(proceso, 30);
    const auto mostrada = std::chrono::steady_clock::now();
    const double segundos = std::chrono::duration<double>(mostrada - inicio).count();
    kill(proceso, SIGTERM);
    int estado = 0;
    waitpid(proceso, &estado, 0);
    std::this_thread::sleep_until(mostrada + kReposoEntreArranques);
    return vista ? segundos : -1;
}

void medir(benchmark::State &estado, const std::string &programa, const std::vector<std::string> &argumentos,
           bool carpetaNueva)
{
    static int numero = 0;
    const fs::path fija = carpetaPrueba / ("fija-" + std::to_string(++numero));
    fs::create_directories(fija);
    if (!carpetaNueva && arrancar(programa, fija, argumentos) < 0) {
        estado.SkipWithError("the program did not show its window");
        return;
    }
    for (auto _ : estado) {
        fs::path carpeta = fija;
        if (carpetaNueva) {
            carpeta = carpetaPrueba / ("nueva-" + std::to_string(++numero));
            fs::create_directories(carpeta);
        }
        const double segundos = arrancar(programa, carpeta, argumentos);
        if (segundos < 0) {
            estado.SkipWithError("the program did not show its window");
            break;
        }
        estado.SetIterationTime(segundos);
        if (carpetaNueva) {
            estado.PauseTiming();
            fs::remove_all(carpeta);
            estado.ResumeTiming();
        }
    }
}

void PrimerArranque(benchmark::State &estado)
{
    medir(estado, carpetaProgramas + "/gestion-proyectos", {"U=ADMIN"}, true);
}

void ArranqueSiguiente(benchmark::State &estado)
{
    medir(estado, carpetaProgramas + "/gestion-proyectos", {"U=ADMIN"}, false);
}

void AnclaVentanaDesnuda(benchmark::State &estado)
{
    medir(estado, carpetaProgramas + "/gp_ventana_desnuda", {}, false);
}

BENCHMARK(PrimerArranque)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(ArranqueSiguiente)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
// The same bare window with the program's menu bar: the fonts every window with text loads.
void AnclaVentanaDesnudaConMenus(benchmark::State &estado)
{
    medir(estado, carpetaProgramas + "/gp_ventana_desnuda", {"--menus"}, false);
}

BENCHMARK(AnclaVentanaDesnuda)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(AnclaVentanaDesnudaConMenus)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    ServidorX x;
    if (!x.listo()) {
        std::fprintf(stderr, "no X server: run under one (DISPLAY)\n");
        return 1;
    }
    servidor = &x;
    carpetaProgramas = fs::canonical("/proc/self/exe").parent_path().string();
    char plantilla[] = "/tmp/gp-arranque-XXXXXX";
    if (!mkdtemp(plantilla))
        return 1;
    carpetaPrueba = plantilla;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(carpetaPrueba);
    return 0;
}
