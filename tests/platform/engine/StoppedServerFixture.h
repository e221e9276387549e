#pragma once
#include "tests/support/PrivatePgServer.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace gptest {

// Cases that stop the PostgreSQL server while the program holds its connections, on top of
// the fixture `Base`. The server is the suite's own, so that the shared one stays up for the
// other suites; while a case runs the test server settings (GP_TEST_PG*) name it, so that a
// program started from them connects to it. A case that ends with the server stopped gets it
// started again.
template<class Base>
class StoppedServerTest : public Base
{
protected:
    static void SetUpTestSuite() { server_ = new PrivatePgServer; }
    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override
    {
        if (!server_->available())
            GTEST_SKIP() << "no PostgreSQL test server";
        for (const char *name : kSettings)
            saved_[name] = qgetenv(name);
        qputenv(kSettings[0], server_->settings().host.toUtf8());
        qputenv(kSettings[1], QByteArray::number(server_->settings().port));
        qputenv(kSettings[2], server_->settings().user.toUtf8());
        Base::SetUp();
    }

    // The server runs again before the base fixture ends its program, which may need it.
    void TearDown() override
    {
        if (saved_.empty())
            return;
        if (!running_)
            server_->resume();
        running_ = true;
        Base::TearDown();
        for (const auto &[name, value] : saved_)
            qputenv(name.c_str(), value);
        saved_.clear();
    }

    void stopServer()
    {
        ASSERT_TRUE(server_->pause());
        running_ = false;
    }
    void startServer()
    {
        ASSERT_TRUE(server_->resume());
        running_ = true;
    }

    static const PrivatePgServer &server() { return *server_; }

private:
    static constexpr const char *kSettings[] = {"GP_TEST_PGHOST", "GP_TEST_PGPORT", "GP_TEST_PGUSER"};
    static inline PrivatePgServer *server_ = nullptr;
    std::map<std::string, QByteArray> saved_;
    bool running_ = true;
};

} // namespace gptest
