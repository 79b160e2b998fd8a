// The default island's replies, read the way the configurator reads them: by
// position, TABs and CRs. Each reader below walks a reply as the readout, the
// diagnosis, the polling tick and the body drawing do, and must find the
// island's state again.

#include "Talk.h"
#include "island/Numeri.h"
#include "sim/Scenario.h"

#include <gtest/gtest.h>

#include <utility>

namespace ondrix::sim {
namespace {

using test::enter;

// The reply as the channel returns it: ending with the awaited text, its
// final CR LF still on the way.
std::string seen(std::string r)
{
    EXPECT_GE(r.size(), 2u);
    EXPECT_EQ(r.substr(r.size() - 2), "\r\n");
    r.resize(r.size() - 2);
    return r;
}

std::size_t pos(const std::string& r, char c)
{
    std::size_t p = r.find(c);
    return p == std::string::npos ? 0 : p + 1;
}

struct Fixture : ::testing::Test {
    Scenario s = defaultScenario();
    SimulatedIsland island{s};
    test::Talk talk = enter(island);
};

using DefaultIslandReplies = Fixture;

TEST_F(DefaultIslandReplies, HeadersHaveTheirFixedWidths)
{
    EXPECT_EQ(talk("GET VALVOLE PRESENTI").find("0\t14\t8\t"), 23u);
    EXPECT_EQ(talk("GET DIAGNOSI").find("0\t"), 14u);
    EXPECT_EQ(talk("GET RELAX").find("0\t"), 14u);
    EXPECT_EQ(talk("GET REV FW").find("ATMEL\t"), 15u);
    EXPECT_EQ(talk("GET DIGITAL INPUT").find("MOD 1\t"), 27u);
    std::string conf = talk("GET CONF");
    std::size_t nr = conf.find("NR.DIG IN");
    ASSERT_NE(nr, std::string::npos);
    EXPECT_EQ(conf.substr(nr + 13, 5), "\nMOD ");
}

TEST_F(DefaultIslandReplies, AwaitedTextOnlyAtTheEnd)
{
    // The valve state says ON only when the valve is on.
    EXPECT_EQ(seen(talk.dialogue({"STATO VALVOLA", "0"})).find("ON"), std::string::npos);
    EXPECT_EQ(seen(talk.dialogue({"STATO VALVOLA", "1"})).find("ON"), 0u);
    for (const char* cmd : {"GET SLAVE ADDRESS", "GET VALVOLE PRESENTI", "GET DIAGNOSI", "GET RELAX", "GET REV FW",
                            "INTERFACCIA", "GET BAUD RATE", "GET DIGITAL INPUT", "GET CONF", "STATO TERMINAZIONE",
                            "ENTER SV", "CLOSE ALL", "OPEN ALL", "TERMINAZIONE ON", "TERMINAZIONE OFF"}) {
        std::string r = seen(talk(cmd));
        EXPECT_EQ(r.find("OK"), r.size() - 2) << cmd << ": " << r;
    }
    std::string r = seen(talk.dialogue({"LEGGI CONTACOLPI", "0", "3"}));
    EXPECT_EQ(r.find("OK"), r.size() - 2);
}

TEST_F(DefaultIslandReplies, BodyListGivesBodiesAndCoils)
{
    std::string r = seen(talk("GET VALVOLE PRESENTI"));
    r = r.substr(23, r.size() - 23 - 2);
    std::vector<Body> got;
    while (!r.empty()) {
        ASSERT_LT(got.size(), 16u) << "runaway loop";
        Body b;
        std::size_t p = pos(r, '\t');
        b.number = numero(r.substr(0, p));
        r.erase(0, p);
        p = pos(r, '\t');
        int n = numero(r.substr(0, p));
        r.erase(0, p);
        p = pos(r, '\t');
        b.posts = numero(r.substr(0, p));
        r.erase(0, p);
        for (int j = 1; j <= n; ++j) {
            Coil c;
            p = pos(r, '\t');
            c.index = numero(r.substr(0, p));
            r.erase(0, p);
            p = pos(r, '\r');
            ASSERT_GT(p, 0u);
            c.position = numero(r.substr(0, p));
            r.erase(0, j == n ? p : p + 3);
            b.coils.push_back(c);
        }
        got.push_back(b);
    }
    ASSERT_EQ(got.size(), s.bodies.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        EXPECT_EQ(got[k].number, s.bodies[k].number);
        EXPECT_EQ(got[k].posts, s.bodies[k].posts);
        ASSERT_EQ(got[k].coils.size(), s.bodies[k].coils.size());
        for (std::size_t j = 0; j < got[k].coils.size(); ++j) {
            EXPECT_EQ(got[k].coils[j].index, s.bodies[k].coils[j].index);
            EXPECT_EQ(got[k].coils[j].position, s.bodies[k].coils[j].position);
        }
    }
    EXPECT_EQ(s.bodies[0].coils[5].index, DisabledIndex);
}

TEST_F(DefaultIslandReplies, DiagnosisAndRelaxListsHave32Slots)
{
    std::string d = seen(talk("GET DIAGNOSI")).substr(14);
    std::string letters;
    for (int i = 1; i <= 32; ++i) {
        std::size_t p = pos(d, '\t');
        ASSERT_GT(p, 0u);
        EXPECT_EQ(intero(d.substr(0, p)), i - 1);
        d.erase(0, p);
        p = pos(d, '\r');
        letters += d[0];
        d.erase(0, p);
    }
    // Index 1 is energised (still P), 3 short-circuited, 5 belongs to the
    // disabled coil (free), 6 interrupted, 21..31 unused.
    EXPECT_EQ(letters, "PPPCPAIPPPPPPPPPPPPPPAAAAAAAAAAA");

    std::string r = seen(talk("GET RELAX")).substr(14);
    std::string relax;
    for (int i = 1; i <= 32; ++i) {
        std::size_t p = pos(r, '\t');
        r.erase(0, p);
        p = pos(r, '\r');
        ASSERT_GE(p, 2u);
        std::string w = r.substr(0, p - 2);
        relax += w == "CLOSE" ? '1' : w == "OPEN" ? '0' : '?';
        r.erase(0, p);
    }
    EXPECT_EQ(relax, "10001000010000001000000000000000");
}

TEST_F(DefaultIslandReplies, SingleCoilDiagnosisFindsItsRecordByIndexText)
{
    std::string d = seen(talk("GET DIAGNOSI")).substr(14);
    std::size_t p1 = d.find("6\t");
    std::size_t p2 = d.find('\t', p1);
    EXPECT_EQ(d[p2 + 1], 'I');
}

TEST_F(DefaultIslandReplies, FirmwareListGivesEveryRevision)
{
    std::string r = seen(talk("GET REV FW"));
    r = r.substr(15, r.size() - 15 - 2);
    std::size_t p = pos(r, '\t');
    r.erase(0, p);
    p = pos(r, '\t');
    EXPECT_EQ(intero(r.substr(0, p - 1)), s.revAtmel);
    r.erase(0, p);
    r.erase(0, pos(r, '\r'));
    for (const Body& b : s.bodies) {
        r.erase(0, pos(r, '\t'));
        p = pos(r, '\t');
        EXPECT_EQ(intero(r.substr(0, p)), b.rev);
        r.erase(0, p);
        r.erase(0, pos(r, '\r'));
    }
    for (const InputModule& m : s.modules) {
        r.erase(0, pos(r, '\t'));
        std::size_t q = pos(r, '\t');
        ASSERT_GE(q, 3u);
        EXPECT_EQ(intero(r.substr(0, q - 3)), m.rev);
        r.erase(0, q);
        r.erase(0, pos(r, '\r'));
    }
    EXPECT_EQ(trim(r), "\n");
}

TEST_F(DefaultIslandReplies, InterfaceBaudAndTermination)
{
    EXPECT_EQ(seen(talk("INTERFACCIA"))[0], 'P');
    island.state().interface = 'D';
    EXPECT_EQ(seen(talk("INTERFACCIA"))[0], 'D');
    island.state().baudIndex = 2;
    std::string b = seen(talk("GET BAUD RATE"));
    EXPECT_EQ(b[pos(b, '\r') - 3], '2');
    std::string t = seen(talk("STATO TERMINAZIONE"));
    EXPECT_EQ(trim(t.substr(0, 3)).find("ON"), std::string::npos);
    talk("TERMINAZIONE ON");
    EXPECT_NE(trim(seen(talk("STATO TERMINAZIONE")).substr(0, 3)).find("ON"), std::string::npos);
    std::string a = seen(talk("GET SLAVE ADDRESS"));
    a = trim(a.substr(a.find(':') + 1));
    EXPECT_EQ(a.substr(0, a.size() - 4), "5");
}

// Reads the input list as the polling tick does; returns (number, state).
std::vector<std::pair<int, int>> readInputs(std::string r, const std::vector<int>& counts)
{
    std::vector<std::pair<int, int>> out;
    r = r.substr(27, r.size() - 27 - 2);
    std::size_t k = 0;
    while (!r.empty()) {
        EXPECT_LT(k, counts.size()) << "more module blocks than modules";
        if (k >= counts.size())
            break;
        r.erase(0, pos(r, '\t'));
        std::size_t p = pos(r, '\t');
        std::string type = trim(r.substr(0, p - 1));
        EXPECT_EQ(type, counts[k] == 16 ? "16IN" : "8IN");
        r.erase(0, p);
        for (int n = 1; n <= counts[k]; ++n) {
            p = pos(r, '\t');
            int number = intero(trim(r.substr(0, p - 1)));
            r.erase(0, p);
            r.erase(0, pos(r, '\t'));
            std::size_t q = pos(r, '\r');
            std::string st = trim(r.substr(0, q - 1));
            out.emplace_back(number, st == "ON" ? 1 : st == "OFF" ? 0 : -1);
            r.erase(0, n == counts[k] ? q : q + 2);
        }
        ++k;
    }
    return out;
}

TEST_F(DefaultIslandReplies, InputListGivesNumbersAndStates)
{
    auto in = readInputs(seen(talk("GET DIGITAL INPUT")), {16, 8});
    ASSERT_EQ(in.size(), 24u);
    EXPECT_EQ(in[2].first, DisabledIndex);   // input 3
    EXPECT_EQ(in[3].first, DisabledIndex);   // input 4
    EXPECT_EQ(in[4], std::make_pair(4, 0));
    EXPECT_EQ(in[5], std::make_pair(5, 1));
    EXPECT_EQ(in[16], std::make_pair(0, 0));  // second module starts at row 17
    EXPECT_EQ(in[17], std::make_pair(1, 1));
}

TEST_F(DefaultIslandReplies, ConfigurationSatisfiesTheModuleAddressReader)
{
    island.state().modules[0].address = 2;
    island.state().modules[1].address = 0;
    std::string r = seen(talk("GET CONF"));
    r.erase(0, r.find("NR.DIG IN"));
    r.erase(0, 13);
    std::vector<int> addr;
    for (int m = 1; m <= 2; ++m) {
        std::size_t p = r.find("IND:");
        ASSERT_NE(p, std::string::npos);
        r.erase(0, p + 4);
        p = r.find('O');
        addr.push_back(intero(trim(r.substr(0, p))));
    }
    EXPECT_EQ(addr, (std::vector<int>{2, 0}));
}

TEST_F(DefaultIslandReplies, ConfigurationSatisfiesTheInterruptedCoilRecheck)
{
    // Per body: drop through the first TAB and 3 more characters, then read
    // (position, index) records by the width of the text before the next TAB.
    std::string r = seen(talk("GET CONF"));
    for (const Body& b : s.bodies) {
        std::size_t t = r.find('\t');
        ASSERT_NE(t, std::string::npos);
        r.erase(0, t + 4);
        for (const Coil& c : b.coils) {
            std::size_t p = pos(r, '\t');
            ASSERT_GT(p, 1u);
            int first = numero(r.substr(0, p - 1));
            r.erase(0, p - 1);
            int second = numero(r.substr(0, p - 1));
            r.erase(0, p - 1);
            EXPECT_EQ(first, c.position);
            EXPECT_EQ(second, c.index);
        }
    }
}

TEST_F(DefaultIslandReplies, StrokeCounterInThousands)
{
    std::string r = seen(talk.dialogue({"LEGGI CONTACOLPI", "0", "3"}));
    EXPECT_EQ(r.substr(0, 5), "00125");
    EXPECT_EQ(seen(talk.dialogue({"LEGGI CONTACOLPI", "1", "2"})).substr(0, 5), "00022");
}

TEST(DefaultScenario, HasEveryFeatureTheConfiguratorShows)
{
    Scenario s = defaultScenario();
    EXPECT_EQ(s.interface, 'P');
    ASSERT_EQ(s.bodies.size(), 2u);
    EXPECT_EQ(s.bodies[0].posts, 8);
    EXPECT_EQ(s.bodies[1].posts, 4);
    EXPECT_GE(s.revAtmel, 46);
    EXPECT_GE(s.headRev(), 46);
    std::string letters;
    int energised = 0, disabled = 0, relax = 0;
    for (const Body& b : s.bodies)
        for (const Coil& c : b.coils) {
            letters += c.diagnosis;
            energised += c.energised;
            disabled += c.index == DisabledIndex;
            relax += c.relax;
        }
    EXPECT_NE(letters.find('C'), std::string::npos);
    EXPECT_NE(letters.find('I'), std::string::npos);
    EXPECT_EQ(energised, 1);
    EXPECT_EQ(disabled, 1);
    EXPECT_GE(relax, 2);
    ASSERT_EQ(s.modules.size(), 2u);
    EXPECT_EQ(s.modules[0].type, "16IN");
    EXPECT_EQ(s.modules[1].type, "8IN");
}

} // namespace
} // namespace ondrix::sim
