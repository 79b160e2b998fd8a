// Expansion drawing on a hand-filled model: body pictures, coil colours and
// captions, the supply warning, the termination button, the re-check of
// interrupted coils, and values outside the tables' bounds.

#include "island/Risposte.h"

#include "program/Gestori.h"
#include "support/IslandRig.h"
#include "support/ReplyPort.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using test::ScriptedRig;

// An island of a head (8 stations) and a body of 2 stations; every coil
// present in the diagnosis unless a test changes it.
struct Banco : ScriptedRig {
    Banco()
    {
        Model& m = c.m;
        for (int i = 1; i <= 32; ++i)
            m.Diagnosi(i) = {static_cast<std::int16_t>(i - 1), stato::Presente, 0};
        m.Diagnosi(33) = {255, stato::Assente, 0};
        m.NumEspansioni = 2;
        m.Espansioni(1) = {0, 8, 4, 47};
        m.Espansioni(2) = {1, 2, 2, 44};
        m.TotaleBobine = 6;
        bobina(1, 0, 1);
        bobina(2, 1, 2);
        bobina(3, 2, 3);
        bobina(4, 3, 4);
        bobina(5, 4, 1);
        bobina(6, 5, 4);
        m.RevAtmel = 47;
        c.f.Combo1.clearList();
        c.f.Combo1.addItem("0");
        c.f.Combo1.addItem("1");
    }
    void bobina(int riga, int indice, int posizione)
    {
        c.m.ConfBobine(riga) = {static_cast<std::int16_t>(indice), static_cast<std::int16_t>(posizione)};
    }
};

TEST(DisegnaEspansione, HeadShowsConnectorsAndAsksForTheTermination)
{
    Banco b;
    b.port.replies = {"ON\r\nOK\r\n"};
    DisegnaEspansione(b.c, 0);
    const Form& f = b.c.f;
    EXPECT_EQ(b.taken(), (std::vector<std::string>{"STATO TERMINAZIONE"}));
    EXPECT_TRUE(f.Frame2.visible());
    EXPECT_FALSE(f.Frame1.visible());
    EXPECT_TRUE(f.Corpo8Posti.visible());
    EXPECT_FALSE(f.Corpo4Posti.visible());
    EXPECT_TRUE(f.CorpoConnettori.visible());
    EXPECT_TRUE(f.ConnettoreSeriale.visible());
    EXPECT_TRUE(f.ATMEL.visible());
    EXPECT_TRUE(f.CmdTerminazione.visible());
    EXPECT_EQ(f.CmdTerminazione.caption(), "DISINSERISCI TERMINAZIONE");
    EXPECT_EQ(f.ConnettoreProfibus.fillColor(), colore::Rosso);
    EXPECT_EQ(f.Combo1.listIndex(), 0);
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 47");
    EXPECT_FALSE(f.CmdAziona.enabled());
    EXPECT_FALSE(f.CmdAbilita.enabled());
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(f.Bobina[static_cast<std::size_t>(i)]->visible()) << i;
    EXPECT_EQ(f.Bobina[0]->caption(), "0");
    EXPECT_EQ(f.Bobina[3]->caption(), "3");
    EXPECT_EQ(f.Bobina[4]->caption(), "");
    EXPECT_FALSE(f.Bobina[4]->enabled());
    EXPECT_EQ(f.Bobina[4]->backColor(), colore::Grigio);

    // "OFF" and any other answer: off. Redraws do not grow the PIC caption.
    for (const char* risposta : {"OFF\r\nOK\r\n", "OK\r\n", "\r\nOK"}) {
        b.port.replies = {risposta};
        DisegnaEspansione(b.c, 0);
        EXPECT_EQ(f.CmdTerminazione.caption(), "INSERISCI TERMINAZIONE") << risposta;
        EXPECT_EQ(f.ConnettoreProfibus.fillColor(), colore::Nero);
    }
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 47");

    // Old main firmware: no question, the button stays hidden.
    b.c.m.RevAtmel = 33;
    b.taken();
    DisegnaEspansione(b.c, 0);
    EXPECT_TRUE(b.taken().empty());
    EXPECT_FALSE(f.CmdTerminazione.visible());
}

TEST(DisegnaEspansione, SmallBodiesHideConnectorsAndButtonsTheyCannotHold)
{
    Banco b;
    DisegnaEspansione(b.c, 1);
    const Form& f = b.c.f;
    EXPECT_TRUE(b.taken().empty());
    EXPECT_TRUE(f.Corpo2Posti.visible());
    EXPECT_FALSE(f.Corpo8Posti.visible());
    EXPECT_FALSE(f.CorpoConnettori.visible());
    EXPECT_FALSE(f.ConnettoreProfibus.visible());
    EXPECT_FALSE(f.ATMEL.visible());
    EXPECT_FALSE(f.CmdTerminazione.visible());
    EXPECT_EQ(b.c.m.PrimaBobina, 4);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(f.Bobina[static_cast<std::size_t>(i)]->visible(), i < 4) << i;
    EXPECT_EQ(f.Bobina[0]->caption(), "4");
    EXPECT_EQ(f.Bobina[3]->caption(), "5");
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 44");

    // 4 stations: buttons 0..7.
    b.c.m.Espansioni(2).NumPosti = 4;
    DisegnaEspansione(b.c, 1);
    EXPECT_TRUE(f.Corpo4Posti.visible());
    EXPECT_FALSE(f.Corpo2Posti.visible());
    EXPECT_TRUE(f.Bobina[7]->visible());
    EXPECT_FALSE(f.Bobina[8]->visible());
}

TEST(DisegnaEspansione, StatesColoursWeightAndDisabledCoils)
{
    Banco b;
    Model& m = b.c.m;
    m.Diagnosi(1).Relax = 1;
    m.Diagnosi(2).Stato = stato::Attivata;
    m.Diagnosi(3).Stato = stato::GuastaC;
    m.Diagnosi(4).Stato = stato::GuastaI;
    b.bobina(3, IndiceDisabilitato, 3);
    DisegnaEspansione(b.c, 0);
    const Form& f = b.c.f;
    EXPECT_EQ(f.Bobina[0]->backColor(), colore::Arancio);
    EXPECT_TRUE(f.Bobina[0]->enabled());
    EXPECT_TRUE(f.Bobina[0]->bold());
    EXPECT_EQ(f.Bobina[1]->backColor(), colore::Verde);
    EXPECT_TRUE(f.Bobina[1]->enabled());
    EXPECT_FALSE(f.Bobina[1]->bold());
    EXPECT_EQ(f.Bobina[2]->backColor(), colore::GialloPallido);
    EXPECT_EQ(f.Bobina[2]->caption(), "3") << "a disabled coil shows its position";
    EXPECT_TRUE(f.Bobina[2]->enabled());
    EXPECT_EQ(f.Bobina[3]->backColor(), colore::Rosso);
    EXPECT_FALSE(f.Bobina[3]->enabled());
    EXPECT_FALSE(f.LblAlimentazione.visible()) << "a disabled coil raises no warning";

    // Relax back to 0 redraws in normal weight.
    m.Diagnosi(1).Relax = 0;
    DisegnaEspansione(b.c, 0);
    EXPECT_FALSE(f.Bobina[0]->bold());
}

TEST(DisegnaEspansione, CoilMissingFromTheDiagnosisRaisesTheSupplyWarning)
{
    Banco b;
    Model& m = b.c.m;
    const Form& f = b.c.f;
    m.Diagnosi(2).Indice = -1;  // index 1 reported absent
    DisegnaEspansione(b.c, 0);
    EXPECT_TRUE(f.LblAlimentazione.visible());
    EXPECT_FALSE(f.CmdAll.enabled());
    EXPECT_FALSE(f.CmdSalva.enabled());
    EXPECT_FALSE(f.CmdCarica.enabled());
    EXPECT_TRUE(f.CmdReset.enabled()) << "recent firmware can still be reset";
    EXPECT_EQ(f.Bobina[1]->backColor(), colore::Grigio);
    EXPECT_FALSE(f.Bobina[1]->enabled());

    // Older firmware: reset disabled too. The warning goes at the next redraw.
    m.Espansioni(1).RevPic = 33;
    b.c.f.CmdReset.setEnabled(true);
    DisegnaEspansione(b.c, 0);
    EXPECT_FALSE(f.CmdReset.enabled());
    m.Diagnosi(2).Indice = 1;
    DisegnaEspansione(b.c, 0);
    EXPECT_FALSE(f.LblAlimentazione.visible());
    EXPECT_FALSE(f.CmdAll.enabled()) << "the drawing does not enable them again";
}

TEST(DisegnaEspansione, IndexWithoutNumberAndSingleCoilBodies)
{
    Banco b;
    Model& m = b.c.m;
    const Form& f = b.c.f;
    b.bobina(2, 255, 2);
    DisegnaEspansione(b.c, 0);
    EXPECT_EQ(f.Bobina[1]->caption(), "");
    EXPECT_EQ(f.Bobina[1]->backColor(), colore::Grigio);
    EXPECT_TRUE(f.LblAlimentazione.visible());

    // A body of one coil never raises the warning.
    m.Espansioni(2).NumBobine = 1;
    b.bobina(5, 99, 1);
    DisegnaEspansione(b.c, 1);
    EXPECT_FALSE(f.LblAlimentazione.visible());
    EXPECT_EQ(f.Bobina[0]->caption(), "99");
    EXPECT_EQ(f.Bobina[0]->backColor(), colore::Grigio);
}

TEST(DisegnaEspansione, BaudRateCaptionForCanopenAndDevicenet)
{
    Banco b;
    Model& m = b.c.m;
    m.Protocollo = 2;
    m.TestiBaudRate(1) = "10 Kbit/s";
    m.IndiceBaudRate = 0;
    DisegnaEspansione(b.c, 0);
    EXPECT_TRUE(b.taken().empty());
    EXPECT_TRUE(b.c.f.CmdTerminazione.visible());
    EXPECT_EQ(b.c.f.CmdTerminazione.caption(), "10 Kbit/s");

    m.IndiceBaudRate = 12;  // no such text: caption kept, no crash
    DisegnaEspansione(b.c, 0);
    EXPECT_EQ(b.c.f.CmdTerminazione.caption(), "10 Kbit/s");

    m.Protocollo = 7;
    DisegnaEspansione(b.c, 0);
    EXPECT_FALSE(b.c.f.CmdTerminazione.visible());
}

// A "GET CONF" reply as the island lays it out: per body a line with the coil
// count and 8-character records "pos:" TAB "idx".
std::string getConf(const std::vector<std::vector<std::pair<int, int>>>& corpi)
{
    char buf[32];
    std::string r = "CONFIGURAZIONE\r\nSLAVE ADDRESS: 5\r\n";
    int k = 0;
    for (const auto& corpo : corpi) {
        std::snprintf(buf, sizeof buf, "%2d:", static_cast<int>(corpo.size()));
        r += "ESP " + std::to_string(k++) + " POSTI 8\t" + buf;
        for (auto [pos, idx] : corpo) {
            std::snprintf(buf, sizeof buf, "%3d:\t%3d", pos, idx);
            r += buf;
        }
        r += "\r\n";
    }
    return r + "NR.DIG IN: 0\r\nOK\r\n";
}

TEST(RecordsGetConf, WalksTheRecordsOfTheWantedBody)
{
    Banco b;
    std::string r = getConf({{{1, 0}, {2, 1}, {3, 2}, {4, 3}}, {{1, 4}, {4, 5}}});
    auto rec = RecordsGetConf(r, b.c.m, 2);
    ASSERT_EQ(rec.size(), 2u);
    EXPECT_EQ(rec[0].posizione, 1);
    EXPECT_EQ(rec[0].indice, 4);
    EXPECT_EQ(rec[1].posizione, 4);
    EXPECT_EQ(rec[1].indice, 5);

    for (std::string ostile : {std::string(), std::string("no tab at all"), std::string("\t"),
                               std::string("x\tabcd\t"), getConf({{{1, 0}}})}) {
        EXPECT_NO_THROW(RecordsGetConf(ostile, b.c.m, 2)) << ostile;
    }
}

TEST(DisegnaEspansione, InterruptedCoilsAreCheckedAgainstTheConfiguration)
{
    Banco b;
    Model& m = b.c.m;
    const Form& f = b.c.f;
    m.Diagnosi(2).Indice = -1;  // supply warning
    m.Diagnosi(4).Stato = stato::GuastaI;
    m.Diagnosi(7) = {40, stato::GuastaI, 1};
    const std::string conf = getConf({{{1, 0}, {2, 1}, {3, 2}, {4, 3}}, {{1, 4}, {4, 5}}});
    b.port.replies = {"OFF\r\nOK\r\n", conf, conf};
    DisegnaEspansione(b.c, 0);
    EXPECT_EQ(b.taken(), (std::vector<std::string>{"STATO TERMINAZIONE", "GET CONF", "GET CONF"}));
    EXPECT_EQ(f.Bobina[3]->backColor(), colore::Rosso);
    EXPECT_TRUE(f.Bobina[3]->enabled()) << "an interrupted coil can be selected again";
    EXPECT_EQ(f.Bobina[3]->caption(), "3");

    // Before main firmware 46, or without the warning, nothing is asked.
    m.RevAtmel = 45;
    b.port.replies = {"OFF\r\nOK\r\n"};
    DisegnaEspansione(b.c, 0);
    EXPECT_EQ(b.taken(), (std::vector<std::string>{"STATO TERMINAZIONE"}));
    EXPECT_FALSE(f.Bobina[3]->enabled());

    // A first value outside 1..16 is skipped.
    m.RevAtmel = 46;
    const std::string fuori = getConf({{{0, 3}, {17, 3}, {300, 3}, {4, 9}}, {{1, 4}, {4, 5}}});
    b.port.replies = {"OFF\r\nOK\r\n", fuori, fuori};
    EXPECT_NO_THROW(DisegnaEspansione(b.c, 0));
    EXPECT_FALSE(f.Bobina[3]->enabled());
}

TEST(DisegnaEspansione, RecheckOnTheSimulatedIsland)
{
    // Coil index 8 without supply ("A"): the warning is up, and the interrupted
    // coil (index 6, position 7) is found in the island's configuration.
    sim::Scenario s = sim::defaultScenario();
    s.bodies[0].coils[8].diagnosis = 'A';
    IslandRig rig(s);
    rig.startUp();
    const Form& f = rig.c.f;
    EXPECT_TRUE(f.LblAlimentazione.visible());
    const auto l = rig.lines();
    EXPECT_EQ(l.back(), "GET CONF");
    EXPECT_EQ(std::count(l.begin(), l.end(), "GET CONF"), 2) << "module addresses, then the re-check";
    EXPECT_EQ(f.Bobina[6]->backColor(), colore::Rosso);
    EXPECT_TRUE(f.Bobina[6]->enabled());
    EXPECT_EQ(f.Bobina[6]->caption(), "6");
    EXPECT_FALSE(f.Bobina[3]->enabled()) << "the short circuit stays disabled";
    EXPECT_TRUE(rig.island.protocolErrors().empty());
}

TEST(DisegnaEspansione, ValuesOutsideTheTablesAreSkipped)
{
    Banco b;
    Model& m = b.c.m;
    const Form& f = b.c.f;
    b.bobina(1, 0, 0);
    b.bobina(2, 1, 17);
    b.bobina(3, 2, -4);
    DisegnaEspansione(b.c, 0);
    EXPECT_EQ(f.Bobina[3]->caption(), "3");
    EXPECT_EQ(f.Bobina[0]->caption(), "");

    // Coil counts that run past the coil table.
    m.NumEspansioni = 3;
    m.Espansioni(1).NumBobine = 200;
    m.Espansioni(2).NumBobine = 200;
    m.Espansioni(3) = {2, 8, 300, 40};
    EXPECT_NO_THROW(DisegnaEspansione(b.c, 2));
    EXPECT_EQ(m.PrimaBobina, 400);

    // Odd station counts.
    m.Espansioni(3).NumPosti = -3;
    EXPECT_NO_THROW(DisegnaEspansione(b.c, 2));
    m.Espansioni(3).NumPosti = 100;
    EXPECT_NO_THROW(DisegnaEspansione(b.c, 2));

    // Positions that name no body: the output panel, nothing else.
    m.NumEspansioni = 2;
    b.c.f.Frame1.setVisible(true);
    const std::string pic = f.PIC.caption();
    for (int indice : {-1, 2, 16, 200}) {
        EXPECT_NO_THROW(DisegnaEspansione(b.c, indice)) << indice;
        EXPECT_EQ(f.PIC.caption(), pic);
    }
    EXPECT_TRUE(f.Frame2.visible());
    EXPECT_FALSE(f.Frame1.visible());
}

TEST(Combo1, ChoiceDrawsTheBodyAndRemembersIt)
{
    Banco b;
    b.c.f.Combo1.setListIndex(1);
    Combo1_Click(b.c);
    EXPECT_EQ(b.c.m.EspansioneCorrente, 1);
    EXPECT_TRUE(b.c.f.Corpo2Posti.visible());

    b.c.f.Combo1.setListIndex(-1);
    b.c.f.Corpo2Posti.setVisible(false);
    Combo1_Click(b.c);
    EXPECT_EQ(b.c.m.EspansioneCorrente, 1);
    EXPECT_FALSE(b.c.f.Corpo2Posti.visible());
}

} // namespace
} // namespace ondrix
