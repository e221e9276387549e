#include "platform/base/BibliotecaBajoDemanda.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// The C library's maths: present on every machine the program runs on.
struct Matematicas
{
    double (*coseno)(double) = nullptr;
    double (*raiz)(double) = nullptr;
};

std::atomic<int> resoluciones{0};

bool resolverMatematicas(plat::BibliotecaBajoDemanda &b, Matematicas &f)
{
    ++resoluciones;
    return b.resolver("cos", f.coseno) && b.resolver("sqrt", f.raiz);
}

bool resolverConAusente(plat::BibliotecaBajoDemanda &b, Matematicas &f)
{
    return b.resolver("cos", f.coseno) && b.resolver("gp_funcion_que_no_existe", f.raiz);
}

TEST(BibliotecaBajoDemanda, ALibraryThatIsThereIsOpenedOnceAndItsFunctionsAnswer)
{
    resoluciones = 0;
    plat::FuncionesBajoDemanda<Matematicas> libm("libm.so.6", resolverMatematicas);
    EXPECT_EQ(resoluciones, 0) << "nothing is opened before the first call";

    // Many threads make the first call at once: one resolution, and all see the functions.
    std::vector<std::thread> hilos;
    std::atomic<int> respuestas{0};
    for (int i = 0; i < 8; ++i)
        hilos.emplace_back([&] {
            if (const Matematicas *f = libm(); f && f->raiz(16.0) == 4.0)
                ++respuestas;
        });
    for (std::thread &h : hilos)
        h.join();
    EXPECT_EQ(respuestas, 8);
    ASSERT_NE(libm(), nullptr);
    EXPECT_EQ(libm()->coseno(0.0), 1.0);
    EXPECT_EQ(resoluciones, 1);
    EXPECT_TRUE(libm.cargada());
    EXPECT_TRUE(libm.motivo().isEmpty());
}

TEST(BibliotecaBajoDemanda, AMissingLibraryOrFunctionGivesNoFunctionsAndSaysWhichInSpanish)
{
    plat::FuncionesBajoDemanda<Matematicas> ausente("libgp-no-existe.so.7", resolverMatematicas);
    EXPECT_EQ(ausente(), nullptr);
    EXPECT_FALSE(ausente.cargada());
    EXPECT_TRUE(ausente.motivo().startsWith("No se puede cargar la biblioteca libgp-no-existe.so.7: "))
        << ausente.motivo().toStdString();
    // Asked again, it does not try again and says the same.
    EXPECT_EQ(ausente(), nullptr);
    EXPECT_TRUE(ausente.motivo().contains("libgp-no-existe.so.7"));

    plat::FuncionesBajoDemanda<Matematicas> incompleta("libm.so.6", resolverConAusente);
    EXPECT_EQ(incompleta(), nullptr);
    EXPECT_EQ(incompleta.motivo(), "La biblioteca libm.so.6 no tiene la función gp_funcion_que_no_existe");
}

} // namespace
