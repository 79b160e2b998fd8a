// The slave address and the input modules' addresses, on the simulated island.

#include "program/Eventi.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ondrix {
namespace {

using Lines = std::vector<std::string>;

struct Banco : IslandRig {
    explicit Banco(sim::Scenario s = sim::defaultScenario()) : IslandRig(std::move(s)) { ready(); }
    ~Banco() { expectCleanDialogues(); }
    Form& f = c.f;
    const Testi& t = c.m.testi;

    // Clicks b answering the boxes in turn; returns the lines the island received.
    Lines clic(Control& b, const std::vector<std::string>& risposte)
    {
        host.inputAnswers.assign(risposte.begin(), risposte.end());
        click(b);
        EXPECT_TRUE(host.inputAnswers.empty());
        return taken();
    }
};

sim::Scenario conInterfaccia(char interfaccia)
{
    sim::Scenario s = sim::defaultScenario();
    s.interface = interfaccia;
    return s;
}

// ---- Slave address ----------------------------------------------------------

TEST(SlaveAddress, RangesPerProtocol)
{
    struct Caso {
        std::vector<std::string> risposte;
        const char* inviato;
    };
    const std::pair<char, std::vector<Caso>> protocolli[] = {
        {'P', {{{"2", "127", "3"}, "3"}, {{"126"}, "126"}}},
        {'C', {{{"0", "1"}, "1"}, {{"128", "127"}, "127"}}},
        {'D', {{{"64", "63"}, "63"}, {{"0", "1"}, "1"}}},
    };
    for (const auto& [interfaccia, casi] : protocolli) {
        Banco b(conInterfaccia(interfaccia));
        for (const Caso& k : casi) {
            SCOPED_TRACE(std::string(1, interfaccia) + " " + k.inviato);
            b.host.inputs.clear();
            EXPECT_EQ(b.clic(b.f.CmdPAddress, k.risposte), (Lines{"SET SLAVE ADDRESS", k.inviato}));
            EXPECT_EQ(b.host.inputs.size(), k.risposte.size());
            EXPECT_EQ(b.island.state().slaveAddress, std::stoi(k.inviato));
            const std::string& label = b.f.PROFIBUS.caption();
            EXPECT_EQ(label.substr(label.find(':')), std::string(": ") + k.inviato);
        }
        EXPECT_EQ(b.host.inputs.front().prompt, b.t.TestiInput(1));
        EXPECT_EQ(b.host.inputs.front().title, b.f.caption());
    }
}

TEST(SlaveAddress, TheAcceptedNumberIsSentAndShownNeverTheTypedText)
{
    Banco b;
    // A cancel re-sends what the label shows.
    EXPECT_EQ(b.clic(b.f.CmdPAddress, {""}), (Lines{"SET SLAVE ADDRESS", "5"}));
    EXPECT_EQ(b.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 5");
    EXPECT_EQ(b.c.m.IndirizzoSlave, 5);
    EXPECT_EQ(b.clic(b.f.CmdPAddress, {"abc", "12abc"}), (Lines{"SET SLAVE ADDRESS", "12"}));
    EXPECT_EQ(b.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 12");
    EXPECT_EQ(b.c.m.IndirizzoSlave, 12);
    EXPECT_EQ(b.island.state().slaveAddress, 12);
    EXPECT_EQ(b.clic(b.f.CmdPAddress, {"  14 "}), (Lines{"SET SLAVE ADDRESS", "14"}));
    EXPECT_EQ(b.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 14");
    EXPECT_EQ(b.clic(b.f.CmdPAddress, {""}), (Lines{"SET SLAVE ADDRESS", "14"}));

    Banco canopen(conInterfaccia('C'));
    EXPECT_EQ(canopen.clic(canopen.f.CmdPAddress, {"1e2"}), (Lines{"SET SLAVE ADDRESS", "100"}));
    Banco devicenet(conInterfaccia('D'));
    EXPECT_EQ(devicenet.clic(devicenet.f.CmdPAddress, {"7.4"}), (Lines{"SET SLAVE ADDRESS", "7"}));
}

// ---- Input addressing ---------------------------------------------------------

// The default island's 16IN and 8IN modules at 0 and 1, then 8IN modules at
// 2, 3 ... up to n modules.
sim::Scenario conModuli(int n)
{
    sim::Scenario s = sim::defaultScenario();
    s.modules.resize(static_cast<std::size_t>(std::min(n, 2)));
    for (int k = 2; k < n; ++k) {
        sim::InputModule m{"8IN", 24, k, true, {}};
        for (int i = 0; i < 8; ++i)
            m.inputs.push_back({i, false, 0});
        s.modules.push_back(m);
    }
    return s;
}

struct Moduli : Banco {
    std::vector<bool> timerDuranteScambi;
    explicit Moduli(int n) : Banco(conModuli(n))
    {
        click(f.OptInput);
        port.onLine = [this](const std::string&) { timerDuranteScambi.push_back(f.Timer1.enabled()); };
    }
    Lines clic(const std::vector<std::string>& risposte) { return Banco::clic(f.CmdAddressIn, risposte); }
    int indirizzo(std::size_t k) const { return island.state().modules.at(k).address; }
};

TEST(InputAddressing, OneModuleAsksOnceAndMovesIt)
{
    Moduli b(1);
    EXPECT_EQ(b.clic({"2"}), (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "2", "GET DIGITAL INPUT"}));
    ASSERT_EQ(b.host.inputs.size(), 1u);
    EXPECT_EQ(b.host.inputs[0].prompt, b.t.Messaggi(msg::Address1));
    EXPECT_EQ(b.host.inputs[0].title, b.f.caption());
    EXPECT_EQ(b.indirizzo(0), 2);
    EXPECT_TRUE(b.island.state().modules[0].enabled);
    EXPECT_EQ(b.c.m.Moduli(1).Indirizzo, 2);
    // Timer off for every exchange, busy pointer around them, timer on after.
    EXPECT_EQ(b.timerDuranteScambi, std::vector<bool>(5, false));
    EXPECT_EQ(b.host.busyHistory, (std::vector<bool>{true, false}));
    EXPECT_TRUE(b.f.Timer1.enabled());
    EXPECT_TRUE(b.f.Frame1.visible());  // the tick ran and redrew
}

TEST(InputAddressing, TwoModulesSecondBoxRefusesTheFirstAddress)
{
    Moduli b(2);
    EXPECT_EQ(b.clic({"5", "1", "1", "3", "0"}), (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "1", "ENABLE DIGITAL",
                                                        "1", "0", "GET DIGITAL INPUT"}));
    ASSERT_EQ(b.host.inputs.size(), 5u);
    EXPECT_EQ(b.host.inputs[1].prompt, b.t.Messaggi(msg::Address1));
    EXPECT_EQ(b.host.inputs[2].prompt, b.t.Messaggi(msg::Address3));
    EXPECT_EQ(b.host.inputs[4].prompt, b.t.Messaggi(msg::Address3));
    EXPECT_EQ(b.c.m.Moduli(1).Indirizzo, 1);
    EXPECT_EQ(b.c.m.Moduli(2).Indirizzo, 0);
    EXPECT_EQ(b.indirizzo(0), 1);
    EXPECT_EQ(b.indirizzo(1), 0);
}

TEST(InputAddressing, ASecondAnswerRoundingToTheFirstAddressIsRefused)
{
    Moduli b(2);
    const Lines l = b.clic({"0", "0.4", "1"});
    EXPECT_EQ(b.host.inputs.size(), 3u);
    EXPECT_EQ(b.c.m.Moduli(2).Indirizzo, 1);
    EXPECT_EQ(l.at(6), "1");
}

TEST(InputAddressing, ThreeModulesTheThirdGetsTheAddressLeftOver)
{
    Moduli b(3);
    EXPECT_EQ(b.clic({"2", "0"}), (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "2", "ENABLE DIGITAL", "1", "0",
                                         "ENABLE DIGITAL", "2", "1", "GET DIGITAL INPUT"}));
    EXPECT_EQ(b.host.inputs[1].prompt, b.t.Messaggi(msg::Address4));
    EXPECT_EQ(b.c.m.Moduli(3).Indirizzo, 1);
    EXPECT_EQ(b.indirizzo(0), 2);
    EXPECT_EQ(b.indirizzo(1), 0);
    EXPECT_EQ(b.indirizzo(2), 1);
}

TEST(InputAddressing, ModulesAfterTheThirdKeepTheirAddresses)
{
    sim::Scenario s = conModuli(5);
    s.modules[3].address = 7;
    Banco b(s);
    ASSERT_EQ(b.c.m.NumModuli, 5);
    b.click(b.f.OptInput);
    const Lines l = b.clic(b.f.CmdAddressIn, {"1", "2"});
    EXPECT_EQ(std::count(l.begin(), l.end(), "ENABLE DIGITAL"), 3);
    EXPECT_EQ(b.c.m.Moduli(3).Indirizzo, 0);
    EXPECT_EQ(b.c.m.Moduli(4).Indirizzo, 7);
    EXPECT_EQ(b.c.m.Moduli(5).Indirizzo, 4);
    EXPECT_EQ(b.island.state().modules[3].address, 7);
}

TEST(InputAddressing, CancellingEitherBoxSendsNothingAndRestartsTheTimer)
{
    Moduli b(2);
    EXPECT_TRUE(b.clic({""}).empty());
    EXPECT_TRUE(b.f.Timer1.enabled());
    EXPECT_TRUE(b.clic({"1", "7", ""}).empty());
    EXPECT_TRUE(b.f.Timer1.enabled());
    EXPECT_TRUE(b.host.busyHistory.empty());
    EXPECT_EQ(b.c.m.Moduli(1).Indirizzo, 0);
    EXPECT_EQ(b.indirizzo(0), 0);
}

} // namespace
} // namespace ondrix
