// A server the tests start for themselves (tests/servers): where it runs,
// read from the state file its fixture wrote, or why it does not.  Without
// it a test skips with that reason, and fails under CI (KOVRA_CI=1).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace kovra::testing {

struct TestServer {
    std::string address; // "socket=" of the state file
    std::string missing; // "skip=", or why there is no state file
};

inline TestServer ReadTestServer(const char* stateFile)
{
    TestServer s;
    std::ifstream in(stateFile);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("socket=", 0) == 0)
            s.address = line.substr(7);
        else if (line.rfind("skip=", 0) == 0)
            s.missing = line.substr(5);
    }
    if (s.address.empty() && s.missing.empty())
        s.missing = "the test server was not started (run the tests with ctest)";
    return s;
}

} // namespace kovra::testing

// In a test's SetUp: skip (or, under CI, fail) when `server` is not there.
#define KOVRA_REQUIRE_SERVER(server)                                                                \
    do {                                                                                            \
        if ((server).address.empty()) {                                                             \
            const char* ci = std::getenv("KOVRA_CI");                                               \
            if (ci && std::string(ci) == "1")                                                       \
                FAIL() << "CI needs the test server: " << (server).missing;                         \
            GTEST_SKIP() << "test server: " << (server).missing;                                    \
        }                                                                                           \
    } while (false)
