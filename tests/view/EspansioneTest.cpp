// Expansion drawing on the simulated island: body pictures, coil colours and
// captions, the supply warning, the termination button, the re-check of
// interrupted coils, and values outside the tables' bounds (put into the
// model by hand, as no island reports them).

#include "island/Risposte.h"

#include "program/Eventi.h"
#include "program/Gestori.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

// A head of 8 stations with indexes 0..3 at positions 1..4 (firmware 47) and
// a body of 2 stations with 4 at 1 and 5 at 4 (firmware 44).
sim::Scenario dueCorpi()
{
    sim::Scenario s;
    s.bodies = {{0, 8, 47, {{1, 0}, {2, 1}, {3, 2}, {4, 3}}}, {1, 2, 44, {{1, 4}, {4, 5}}}};
    return s;
}

struct Banco : IslandRig {
    explicit Banco(sim::Scenario s = dueCorpi()) : IslandRig(std::move(s)) { ready(); }
    Model& m = c.m;
    const Form& f = c.f;
    void disegna(int k) { DisegnaEspansione(c, k); }
    // Row riga of ConfBobine set by hand.
    void conf(int riga, int indice, int posizione)
    {
        m.ConfBobine(riga) = {static_cast<std::int16_t>(indice), static_cast<std::int16_t>(posizione)};
    }
};

TEST(DisegnaEspansione, HeadShowsConnectorsAndAsksForTheTermination)
{
    sim::Scenario s = dueCorpi();
    s.termination = true;
    Banco b(s);
    const Form& f = b.f;
    b.disegna(0);
    EXPECT_EQ(b.taken(), (std::vector<std::string>{"STATO TERMINAZIONE"}));
    EXPECT_TRUE(f.Frame2.visible());
    EXPECT_FALSE(f.Frame1.visible());
    EXPECT_TRUE(f.Corpo8Posti.visible());
    EXPECT_FALSE(f.Corpo4Posti.visible());
    EXPECT_TRUE(f.CorpoConnettori.visible());
    EXPECT_TRUE(f.ConnettoreSeriale.visible());
    EXPECT_TRUE(f.ATMEL.visible());
    EXPECT_TRUE(f.CmdTerminazione.visible());
    EXPECT_EQ(f.CmdTerminazione.caption(), b.m.testi.CaptTerminazioneOff);
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
    b.island.state().termination = false;
    for (const char* risposta : {"", "OK\r\n", "\r\nOK\r\n"}) {
        if (*risposta)
            b.island.overrideReply("STATO TERMINAZIONE", risposta);
        b.disegna(0);
        EXPECT_EQ(f.CmdTerminazione.caption(), b.m.testi.CaptTerminazioneOn) << risposta;
        EXPECT_EQ(f.ConnettoreProfibus.fillColor(), colore::Nero);
    }
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 47");

    // Old main firmware: no question, the button stays hidden.
    b.m.RevAtmel = 33;
    b.clearLines();
    b.disegna(0);
    EXPECT_TRUE(b.lines().empty());
    EXPECT_FALSE(f.CmdTerminazione.visible());
    b.expectCleanDialogues();
}

TEST(DisegnaEspansione, SmallBodiesHideConnectorsAndButtonsTheyCannotHold)
{
    Banco b;
    const Form& f = b.f;
    b.disegna(1);
    EXPECT_TRUE(b.lines().empty());
    EXPECT_TRUE(f.Corpo2Posti.visible());
    EXPECT_FALSE(f.Corpo8Posti.visible());
    EXPECT_FALSE(f.CorpoConnettori.visible());
    EXPECT_FALSE(f.ConnettoreProfibus.visible());
    EXPECT_FALSE(f.ATMEL.visible());
    EXPECT_FALSE(f.CmdTerminazione.visible());
    EXPECT_EQ(b.m.PrimaBobina, 4);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(f.Bobina[static_cast<std::size_t>(i)]->visible(), i < 4) << i;
    EXPECT_EQ(f.Bobina[0]->caption(), "4");
    EXPECT_EQ(f.Bobina[3]->caption(), "5");
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 44");

    // 4 stations: buttons 0..7.
    b.m.Espansioni(2).NumPosti = 4;
    b.disegna(1);
    EXPECT_TRUE(f.Corpo4Posti.visible());
    EXPECT_FALSE(f.Corpo2Posti.visible());
    EXPECT_TRUE(f.Bobina[7]->visible());
    EXPECT_FALSE(f.Bobina[8]->visible());
}

TEST(DisegnaEspansione, StatesColoursWeightAndDisabledCoils)
{
    sim::Scenario s = dueCorpi();
    auto& testa = s.bodies[0].coils;
    testa[0].relax = true;
    testa[1].energised = true;
    testa[2].index = sim::DisabledIndex;
    testa[3].diagnosis = 'I';
    Banco b(s);
    Model& m = b.m;
    b.disegna(0);
    const Form& f = b.f;
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
    b.disegna(0);
    EXPECT_FALSE(f.Bobina[0]->bold());
}

TEST(DisegnaEspansione, CoilMissingFromTheDiagnosisRaisesTheSupplyWarning)
{
    sim::Scenario s = dueCorpi();
    s.bodies[0].coils[1].diagnosis = 'A';  // index 1 reported absent
    Banco b(s);
    Model& m = b.m;
    const Form& f = b.f;
    b.disegna(0);
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
    b.disegna(0);
    EXPECT_FALSE(f.CmdReset.enabled());
    m.Diagnosi(2) = {1, stato::Presente, 0};
    b.disegna(0);
    EXPECT_FALSE(f.LblAlimentazione.visible());
    EXPECT_FALSE(f.CmdAll.enabled()) << "the drawing does not enable them again";
}

TEST(DisegnaEspansione, IndexWithoutNumberAndSingleCoilBodies)
{
    Banco b;
    Model& m = b.c.m;
    const Form& f = b.c.f;
    b.conf(2, 255, 2);
    DisegnaEspansione(b.c, 0);
    EXPECT_EQ(f.Bobina[1]->caption(), "");
    EXPECT_EQ(f.Bobina[1]->backColor(), colore::Grigio);
    EXPECT_TRUE(f.LblAlimentazione.visible());

    // A body of one coil never raises the warning.
    m.Espansioni(2).NumBobine = 1;
    b.conf(5, 99, 1);
    DisegnaEspansione(b.c, 1);
    EXPECT_FALSE(f.LblAlimentazione.visible());
    EXPECT_EQ(f.Bobina[0]->caption(), "99");
    EXPECT_EQ(f.Bobina[0]->backColor(), colore::Grigio);
}

TEST(DisegnaEspansione, BaudRateCaptionForCanopenAndDevicenet)
{
    sim::Scenario s = dueCorpi();
    s.interface = 'C';
    Banco b(s);
    Model& m = b.m;
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

TEST(RecordsGetConf, WalksTheRecordsOfTheWantedBody)
{
    Banco b;
    std::string r = b.island.replyTo("GET CONF", 0) + "OK";
    auto rec = RecordsGetConf(r, b.m, 2);
    ASSERT_EQ(rec.size(), 2u);
    EXPECT_EQ(rec[0].posizione, 1);
    EXPECT_EQ(rec[0].indice, 4);
    EXPECT_EQ(rec[1].posizione, 4);
    EXPECT_EQ(rec[1].indice, 5);

    sim::Scenario s = dueCorpi();
    s.bodies.pop_back();
    const std::string soloTesta = sim::SimulatedIsland(s).replyTo("GET CONF", 0) + "OK";
    for (std::string ostile : {std::string(), std::string("no tab at all"), std::string("\t"),
                               std::string("x\tabcd\t"), soloTesta}) {
        EXPECT_NO_THROW(RecordsGetConf(ostile, b.m, 2)) << ostile;
    }
}

TEST(DisegnaEspansione, InterruptedCoilsAreCheckedAgainstTheConfiguration)
{
    // Index 1 without supply raises the warning; index 3 (position 4) is
    // interrupted, index 2 (position 3) short-circuited.
    sim::Scenario s = dueCorpi();
    auto& testa = s.bodies[0].coils;
    testa[1].diagnosis = 'A';
    testa[2].diagnosis = 'C';
    testa[3].diagnosis = 'I';
    Banco b(s);
    const Form& f = b.f;
    b.m.Diagnosi(7) = {40, stato::GuastaI, 1};  // interrupted, on no body: looked for, not found
    b.disegna(0);
    EXPECT_TRUE(f.LblAlimentazione.visible());
    EXPECT_EQ(b.taken(), (std::vector<std::string>{"STATO TERMINAZIONE", "GET CONF", "GET CONF"}));
    EXPECT_EQ(f.Bobina[3]->backColor(), colore::Rosso);
    EXPECT_TRUE(f.Bobina[3]->enabled()) << "an interrupted coil can be selected again";
    EXPECT_EQ(f.Bobina[3]->caption(), "3");
    EXPECT_FALSE(f.Bobina[2]->enabled()) << "the short circuit stays disabled";

    // Before main firmware 46, or without the warning, nothing is asked.
    b.m.RevAtmel = 45;
    b.disegna(0);
    EXPECT_EQ(b.taken(), (std::vector<std::string>{"STATO TERMINAZIONE"}));
    EXPECT_FALSE(f.Bobina[3]->enabled());

    // A first value outside 1..16 is skipped: index 3 stands only at
    // positions 0, 17 and 300, position 4 holds 9.
    b.m.RevAtmel = 47;
    std::string fuori = b.island.replyTo("GET CONF", 0);
    for (auto [da, a] : {std::pair{"  1:\t  0", "  0:\t  3"}, {"  2:\t  1", " 17:\t  3"},
                         {"  3:\t  2", "300:\t  3"}, {"  4:\t  3", "  4:\t  9"}}) {
        const std::size_t p = fuori.find(da);
        ASSERT_NE(p, std::string::npos) << da;
        fuori.replace(p, std::string(da).size(), a);
    }
    b.island.overrideReply("GET CONF", fuori + "OK\r\n");
    EXPECT_NO_THROW(b.disegna(0));
    EXPECT_FALSE(f.Bobina[3]->enabled());
    b.expectCleanDialogues();
}

TEST(DisegnaEspansione, ValuesOutsideTheTablesAreSkipped)
{
    Banco b;
    Model& m = b.c.m;
    const Form& f = b.c.f;
    b.conf(1, 0, 0);
    b.conf(2, 1, 17);
    b.conf(3, 2, -4);
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
