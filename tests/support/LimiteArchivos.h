#pragma once
#include <csignal>
#include <sys/resource.h>

namespace gptest {

// While it lives, no file of this process grows past `bytes`, as on a full disk: a write beyond
// fails (EFBIG) instead of raising the signal that would end the process. No privilege is
// needed: only the soft limit comes down, and it goes back up when this ends.
class LimiteArchivos
{
public:
    explicit LimiteArchivos(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &anterior_);
        senal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = anterior_;
        limite.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~LimiteArchivos()
    {
        setrlimit(RLIMIT_FSIZE, &anterior_);
        std::signal(SIGXFSZ, senal_);
    }
    LimiteArchivos(const LimiteArchivos &) = delete;
    LimiteArchivos &operator=(const LimiteArchivos &) = delete;

private:
    rlimit anterior_{};
    void (*senal_)(int) = SIG_DFL;
};

} // namespace gptest
