// Fieldbus settings on the simulated island.

#include "program/Eventi.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using Lines = std::vector<std::string>;

sim::Scenario conInterfaccia(char interfaccia, int baud = 0)
{
    sim::Scenario s = sim::defaultScenario();
    s.interface = interfaccia;
    s.baudIndex = baud;
    return s;
}

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

struct FieldbusIsola : ::testing::Test {
    std::unique_ptr<IslandRig> rig;
    Configuratore* c = nullptr;

    void avvia(sim::Scenario s = sim::defaultScenario())
    {
        rig = std::make_unique<IslandRig>(std::move(s));
        rig->startUp();
        rig->clearLines();
        c = &rig->c;
    }
    void TearDown() override
    {
        if (rig) {
            EXPECT_TRUE(rig->island.protocolErrors().empty());
            EXPECT_TRUE(rig->island.pendingDialogue().empty());
        }
    }
    Lines clic(Control& b, std::initializer_list<std::string> risposte = {})
    {
        rig->host.inputAnswers.assign(risposte.begin(), risposte.end());
        eventoClick(*c, b);
        EXPECT_TRUE(rig->host.inputAnswers.empty());
        Lines l = rig->lines();
        rig->clearLines();
        return l;
    }
};

TEST_F(FieldbusIsola, SlaveAddressRangesPerProtocol)
{
    avvia(conInterfaccia('P'));
    EXPECT_EQ(clic(c->f.CmdPAddress, {"2", "127", "3"}), (Lines{"SET SLAVE ADDRESS", "3"}));
    EXPECT_EQ(clic(c->f.CmdPAddress, {"126"}), (Lines{"SET SLAVE ADDRESS", "126"}));
    EXPECT_EQ(rig->island.state().slaveAddress, 126);
    EXPECT_EQ(c->f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 126");

    avvia(conInterfaccia('C'));
    EXPECT_EQ(clic(c->f.CmdPAddress, {"1"}), (Lines{"SET SLAVE ADDRESS", "1"}));
    EXPECT_EQ(clic(c->f.CmdPAddress, {"128", "127"}), (Lines{"SET SLAVE ADDRESS", "127"}));
    EXPECT_EQ(rig->island.state().slaveAddress, 127);

    avvia(conInterfaccia('D'));
    EXPECT_EQ(clic(c->f.CmdPAddress, {"64", "0", "63"}), (Lines{"SET SLAVE ADDRESS", "63"}));
    EXPECT_EQ(rig->host.inputs.size(), 3u);
}

TEST_F(FieldbusIsola, SlaveAddressCancelAndTypedNoise)
{
    avvia();
    EXPECT_EQ(clic(c->f.CmdPAddress, {""}), (Lines{"SET SLAVE ADDRESS", "5"}));
    EXPECT_EQ(c->f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 5");
    EXPECT_EQ(rig->island.state().slaveAddress, 5);

    EXPECT_EQ(clic(c->f.CmdPAddress, {"12abc"}), (Lines{"SET SLAVE ADDRESS", "12"}));
    EXPECT_EQ(c->f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 12");
    EXPECT_EQ(rig->island.state().slaveAddress, 12);
    EXPECT_EQ(clic(c->f.CmdPAddress, {" 14 "}), (Lines{"SET SLAVE ADDRESS", "14"}));
    // A cancel now re-sends what the label shows.
    EXPECT_EQ(clic(c->f.CmdPAddress, {""}), (Lines{"SET SLAVE ADDRESS", "14"}));
}

TEST_F(FieldbusIsola, InputAddressingOneTwoAndThreeModules)
{
    avvia(conModuli(1));
    eventoClick(*c, c->f.OptInput);
    EXPECT_EQ(clic(c->f.CmdAddressIn, {"2"}),
              (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "2", "GET DIGITAL INPUT"}));
    EXPECT_EQ(rig->island.state().modules[0].address, 2);
    EXPECT_TRUE(rig->island.state().modules[0].enabled);
    EXPECT_EQ(c->m.Moduli(1).Indirizzo, 2);
    EXPECT_TRUE(c->f.Timer1.enabled());
    EXPECT_EQ(rig->host.busyHistory.back(), false);

    avvia(conModuli(2));
    eventoClick(*c, c->f.OptInput);
    EXPECT_EQ(clic(c->f.CmdAddressIn, {"1", "1", "2"}),
              (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "1", "ENABLE DIGITAL", "1", "2",
                     "GET DIGITAL INPUT"}));
    EXPECT_EQ(rig->host.inputs[1].prompt, c->m.testi.Messaggi(msg::Address3));

    avvia(conModuli(3));
    eventoClick(*c, c->f.OptInput);
    EXPECT_EQ(clic(c->f.CmdAddressIn, {"2", "0"}),
              (Lines{"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "2", "ENABLE DIGITAL", "1", "0",
                     "ENABLE DIGITAL", "2", "1", "GET DIGITAL INPUT"}));
    const auto& mods = rig->island.state().modules;
    EXPECT_EQ(mods[0].address, 2);
    EXPECT_EQ(mods[1].address, 0);
    EXPECT_EQ(mods[2].address, 1);
    EXPECT_TRUE(rig->island.rejected().empty());
}

TEST_F(FieldbusIsola, InputAddressingCancelledSecondBoxSendsNothing)
{
    avvia(conModuli(2));
    eventoClick(*c, c->f.OptInput);
    EXPECT_TRUE(clic(c->f.CmdAddressIn, {"1", ""}).empty());
    EXPECT_TRUE(c->f.Timer1.enabled());
    EXPECT_EQ(rig->island.state().modules[0].address, 0);
}

TEST_F(FieldbusIsola, InputAddressingLeavesModulesAfterTheThirdAlone)
{
    avvia(conModuli(4));
    ASSERT_EQ(c->m.NumModuli, 4);
    eventoClick(*c, c->f.OptInput);
    const Lines l = clic(c->f.CmdAddressIn, {"1", "0"});
    EXPECT_EQ(std::count(l.begin(), l.end(), "ENABLE DIGITAL"), 3);
    EXPECT_EQ(c->m.Moduli(4).Indirizzo, 3);
    EXPECT_EQ(rig->island.state().modules[3].address, 3);
}

TEST_F(FieldbusIsola, ProfibusTerminationOnAndOff)
{
    avvia();
    ASSERT_EQ(c->f.CmdTerminazione.caption(), c->m.testi.CaptTerminazioneOn);
    EXPECT_EQ(clic(c->f.CmdTerminazione), Lines{"TERMINAZIONE ON"});
    EXPECT_TRUE(rig->island.state().termination);
    EXPECT_EQ(c->f.ConnettoreProfibus.fillColor(), colore::Rosso);
    EXPECT_EQ(c->f.CmdTerminazione.caption(), c->m.testi.CaptTerminazioneOff);
    EXPECT_EQ(clic(c->f.CmdTerminazione), Lines{"TERMINAZIONE OFF"});
    EXPECT_FALSE(rig->island.state().termination);
    EXPECT_EQ(c->f.ConnettoreProfibus.fillColor(), colore::Nero);
}

TEST_F(FieldbusIsola, DevicenetBaudRateFrame)
{
    avvia(conInterfaccia('D', 0));
    EXPECT_EQ(c->f.CmdTerminazione.caption(), "125 Kbit/s");
    EXPECT_TRUE(clic(c->f.CmdTerminazione).empty());
    EXPECT_TRUE(c->f.FrmBaudRate.visible());
    EXPECT_EQ(c->f.FrmBaudRate.caption(), "BAUD RATE DEVICENET");
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(c->f.Option1[k]->visible(), k < 3) << k;
    eventoClick(*c, *c->f.Option1[2]);
    EXPECT_EQ(clic(c->f.CmdBaudRate), (Lines{"SET BAUD RATE", " 2"}));
    EXPECT_EQ(rig->island.state().baudIndex, 2);
    EXPECT_EQ(c->f.CmdTerminazione.caption(), "500 Kbit/s");
    EXPECT_FALSE(c->f.FrmBaudRate.visible());
}

TEST_F(FieldbusIsola, CanopenOneMbit)
{
    avvia(conInterfaccia('C', 3));
    EXPECT_TRUE(clic(c->f.CmdTerminazione).empty());
    EXPECT_EQ(c->f.FrmBaudRate.caption(), "BAUD RATE CANOPEN");
    EXPECT_EQ(c->f.Option1[7]->caption(), "1 Mbit/s");
    EXPECT_TRUE(c->f.Option1[3]->value());
    eventoClick(*c, *c->f.Option1[7]);
    EXPECT_EQ(clic(c->f.CmdBaudRate), (Lines{"SET BAUD RATE", " 7"}));
    EXPECT_EQ(rig->island.state().baudIndex, 7);
    EXPECT_EQ(c->f.CmdTerminazione.caption(), "1 Mbit/s");
}

} // namespace
} // namespace ondrix
