// ondrix-simulatore as a program: a scenario file served through a symbolic
// link, and a refused scenario.

#include "Simulatore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace ondrix {
namespace {

TEST(SimulatoreProgram, ServesAScenarioFileThroughALink)
{
    const std::string link = std::string(ONDRIX_BIN_DIR) + "/test-simulatore-link";
    test::Linea l({"--link", link, std::string(ONDRIX_SOURCE_DIR) + "/resources/isola-demo.txt"});
    ASSERT_TRUE(l.port.open());
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), l.sim.device());
    l.ch.InviaComando("ENTER SV", "OK");
    EXPECT_NE(l.ch.InviaComando("GET DIGITAL INPUT", "OK").find("MOD 2\t8IN\t"), std::string::npos);
}

TEST(SimulatoreProgram, RefusesABadScenario)
{
    const std::string bad = std::string(ONDRIX_BIN_DIR) + "/test-simulatore-bad.txt";
    FILE* f = std::fopen(bad.c_str(), "w");
    ASSERT_TRUE(f);
    std::fputs("body posts 8\ncoil 1 99\n", f);
    std::fclose(f);
    test::Simulatore p({bad});
    EXPECT_EQ(p.device(), "");  // no device printed: it ended at once
    std::filesystem::remove(bad);
}

} // namespace
} // namespace ondrix
