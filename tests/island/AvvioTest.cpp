// The start-up against the simulated island: the lines the island receives,
// the window afterwards, the port search, the firmware gates, failing steps.

#include "program/Gestori.h"
#include "island/Lettura.h"
#include "program/Eventi.h"
#include "program/Porte.h"
#include "program/Testi.h"
#include "support/IslandRig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ondrix {
namespace {

using sim::PortKind;
using test::ProgramEnded;

std::vector<std::string> righeAttese(const sim::Scenario& s, bool ricerca = true)
{
    std::vector<std::string> v;
    if (ricerca)
        v.push_back("");  // link check
    v.insert(v.end(), {"ENTER SV", "GET SLAVE ADDRESS", "GET VALVOLE PRESENTI", "GET DIAGNOSI",
                       "GET RELAX", "GET REV FW"});
    // Present coils that the diagnosis reports "P", in index order.
    for (int i = 0; i < 32; ++i)
        for (const sim::Body& b : s.bodies)
            for (const sim::Coil& c : b.coils)
                if (c.index == i && c.diagnosis == 'P')
                    v.insert(v.end(), {"STATO VALVOLA", std::to_string(i)});
    v.insert(v.end(), {"INTERFACCIA", "GET DIGITAL INPUT", "GET CONF", "STATO TERMINAZIONE"});
    return v;
}

TEST(Avvio, DefaultIslandLinesInOrderAndTheWindowAfterwards)
{
    IslandRig rig;
    rig.startUp();
    const Form& f = rig.c.f;
    const Model& m = rig.c.m;

    EXPECT_EQ(rig.lines(), righeAttese(rig.island.state()));
    EXPECT_TRUE(rig.island.protocolErrors().empty());
    EXPECT_EQ(rig.host.busyHistory, (std::vector<bool>{true, false}));
    EXPECT_TRUE(rig.host.messages.empty());

    EXPECT_EQ(f.caption(), "ONDRIX - CONFIGURATORE - PROFIBUS");
    EXPECT_EQ(f.Software.caption(), "VERSIONE SOFTWARE: 1.2.7 (COM1)");
    EXPECT_EQ(f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 5");
    EXPECT_EQ(f.ATMEL.caption(), "VERSIONE FIRMWARE ATMEL: 47");
    EXPECT_EQ(f.PIC.caption(), "VERSIONE FIRMWARE PIC: 47");

    // Model.
    EXPECT_EQ(m.NumEspansioni, 2);
    EXPECT_EQ(m.TotaleBobine, 21);
    EXPECT_EQ(m.Protocollo, 1);
    EXPECT_EQ(m.RevAtmel, 47);
    EXPECT_EQ(m.Diagnosi(2).Stato, stato::Attivata);
    EXPECT_EQ(m.Diagnosi(6).Indice, -1);
    EXPECT_EQ(m.Diagnosi(33).Indice, 255);
    EXPECT_EQ(m.NumModuli, 2);
    EXPECT_EQ(m.TotaleIngressi, 24);
    EXPECT_EQ(m.Moduli(1).RevPic, 23);
    EXPECT_EQ(m.Moduli(2).RevPic, 22);
    EXPECT_EQ(m.Moduli(1).Indirizzo, 0);
    EXPECT_EQ(m.Moduli(2).Indirizzo, 1);
    EXPECT_EQ(m.NumeriIngressi(3), 170);
    EXPECT_EQ(m.Diagnosi(4).Stato, stato::GuastaC);
    EXPECT_EQ(m.Diagnosi(7).Stato, stato::GuastaI);
    EXPECT_EQ(m.Diagnosi(1).Relax, 1);
    EXPECT_EQ(m.ConfBobine(6).Indice, 170);
    EXPECT_EQ(m.ConfBobine(15).Indice, 14);
    EXPECT_EQ(m.Espansioni(2).RevPic, 46);

    // Coils of the head.
    auto& b = f.Bobina;
    EXPECT_EQ(b[0]->backColor(), colore::Arancio);
    EXPECT_TRUE(b[0]->bold()) << "relax on";
    EXPECT_EQ(b[0]->caption(), "0");
    EXPECT_EQ(b[1]->backColor(), colore::Verde) << "the valve-state query said ON";
    EXPECT_EQ(b[3]->backColor(), colore::Rosso);
    EXPECT_EQ(b[5]->backColor(), colore::GialloPallido);
    EXPECT_EQ(b[5]->caption(), "6");
    EXPECT_EQ(b[14]->backColor(), colore::Grigio);
    EXPECT_FALSE(f.LblAlimentazione.visible());
    EXPECT_EQ(f.CmdTerminazione.caption(), "INSERISCI TERMINAZIONE");

    // Legend and lists.
    for (Control* s : {&rig.c.f.Shape1, &rig.c.f.Shape2, &rig.c.f.Shape3, &rig.c.f.Shape4, &rig.c.f.Shape5})
        s->setFillColor(colore::Nero);
    Form_Activate(rig.c);
    EXPECT_EQ(f.Shape1.fillColor(), colore::Verde) << "the legend is set at every run";
    EXPECT_EQ(f.Shape2.fillColor(), colore::Arancio);
    EXPECT_EQ(f.Shape3.fillColor(), colore::Grigio);
    EXPECT_EQ(f.Shape4.fillColor(), colore::GialloPallido);
    EXPECT_EQ(f.Shape5.fillColor(), colore::Rosso);
    EXPECT_EQ(f.Combo1.list(), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(f.Combo1.listIndex(), 0);
    EXPECT_EQ(f.Combo2.list(), (std::vector<std::string>{" 1", " 2"}));
    EXPECT_EQ(f.Combo2.text(), "1");
    EXPECT_TRUE(f.OptInput.visible());
    EXPECT_TRUE(f.Frame2.visible());
}

TEST(Avvio, SecondRunKeepsThePortAndRebuildsTheLists)
{
    IslandRig rig;
    rig.startUp();
    rig.clearLines();
    Form_Activate(rig.c);
    EXPECT_EQ(rig.lines(), righeAttese(rig.island.state(), false)) << "no port search";
    EXPECT_EQ(rig.c.f.Software.caption(), "VERSIONE SOFTWARE: 1.2.7 (COM1)");
    EXPECT_EQ(rig.c.f.Combo1.list().size(), 2u);
    EXPECT_EQ(rig.c.f.Combo2.list().size(), 2u);
    EXPECT_EQ(rig.c.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: 5");
}

TEST(Avvio, PortSearchWaitsOneTimeOutForTheSilentPortsBelowTheIsland)
{
    IslandRig diretta;
    const std::int64_t t0 = diretta.host.nowUs();
    diretta.startUp();
    const std::int64_t durataDiretta = diretta.host.nowUs() - t0;

    IslandRig rig;
    rig.port.setPort(1, PortKind::Silent);
    rig.port.setPort(2, PortKind::Silent);
    rig.port.setPort(3, PortKind::Island);
    const std::int64_t t1 = rig.host.nowUs();
    rig.startUp();
    const std::int64_t durata = rig.host.nowUs() - t1;

    // Every port tried at once, then the island's port opened for good.
    std::vector<int> tentativi;
    for (int n = 1; n <= 16; ++n)
        tentativi.push_back(n);
    tentativi.push_back(3);
    EXPECT_EQ(rig.port.openAttempts(), tentativi);
    EXPECT_EQ(rig.c.f.Software.caption(), "VERSIONE SOFTWARE: 1.2.7 (COM3)");
    EXPECT_TRUE(rig.c.port.isOpen());
    const double extra = static_cast<double>(durata - durataDiretta) / 1e6;
    EXPECT_GT(extra, 4.0);
    EXPECT_LT(extra, 4.5);
    EXPECT_EQ(rig.c.m.NumEspansioni, 2);
}

TEST(Avvio, TheSearchIsShownAndTheCloseBoxEndsItWithNothingSent)
{
    IslandRig rig;
    for (int n : {1, 2, 3})
        rig.port.setPort(n, PortKind::Silent);
    rig.port.setPort(4, PortKind::Island);
    std::string mostrato;
    const std::int64_t t0 = rig.host.nowUs();
    rig.host.at(t0 + 1'000'000, [&] {
        mostrato = rig.c.f.PROFIBUS.caption();
        EXPECT_FALSE(eventoChiusura(rig.c));  // the search closes its ports first
    });
    try {
        rig.startUp();
        FAIL() << "the program should have ended";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.status, 0);
    }
    // The island answered on port 4; the ports below it are still being tried.
    EXPECT_EQ(mostrato, "RICERCA DELL'ISOLA SULLE PORTE: COM1, COM2, COM3");
    EXPECT_LT(rig.host.nowUs() - t0, 1'100'000);
    EXPECT_EQ(rig.lines(), std::vector<std::string>{""}) << "the link check and nothing more";
    EXPECT_TRUE(rig.host.messages.empty());
}

// Why no island was found, port by port, in the message and on standard error.
TEST(Avvio, NoIslandMessageAndTableNameEveryPortsOutcome)
{
    IslandRig rig;
    CaricaTesti(rig.host, rig.c.f, rig.c.m.testi);
    const Testi& t = rig.c.m.testi;
    using E = OpenOutcome::Status;
    using C = EsitoPorta::Collegamento;
    const auto porta = [](int n, E e, std::string dispositivo, C c = C::NonProvata) {
        EsitoPorta p;
        p.numero = n;
        p.apertura.status = e;
        p.apertura.device = std::move(dispositivo);
        p.collegamento = c;
        return p;
    };
    Ricerca r;
    r.porte = {porta(1, E::Denied, "/dev/ttyUSB0"), porta(2, E::Busy, "/dev/ttyUSB1"),
               porta(3, E::Locked, "/dev/ttyUSB2"), porta(4, E::Failed, "/dev/ttyS0"),
               porta(5, E::Absent, ""),             porta(6, E::Open, "/dev/ttyS1", C::Silenziosa),
               porta(7, E::Open, "/dev/ttyS2", C::Errore)};
    r.porte[0].apertura.group = "dialout";
    r.porte[1].apertura.holderPid = 4242;
    r.porte[1].apertura.holderProgram = "terminale";
    r.porte[2].apertura.lockFile = "/run/lock/LCK..ttyUSB2";
    r.porte[3].apertura.reason = "Input/output error";
    r.porte[6].errore = "the port is gone";
    const std::string permesso =
        "COM1 /dev/ttyUSB0: ACCESSO NEGATO. AGGIUNGERE L'UTENTE AL GRUPPO dialout E ACCEDERE DI NUOVO AL SISTEMA.";
    const std::string occupata = "COM2 /dev/ttyUSB1: IN USO DA UN ALTRO PROGRAMMA (terminale, 4242). CHIUDERLO E RIPROVARE.";
    const std::string bloccata = "COM3 /dev/ttyUSB2: BLOCCATA DAL FILE /run/lock/LCK..ttyUSB2 DI UN PROGRAMMA CHE NON E' "
                                 "PIU' IN ESECUZIONE. CANCELLARE IL FILE (DA AMMINISTRATORE) E RIPROVARE.";
    const std::string errore = "COM4 /dev/ttyS0: Input/output error";
    EXPECT_EQ(messaggioNessunaIsola(t, r),
              t.MessaggioTimeout() + "\r\n" + permesso + "\r\n" + occupata + "\r\n" + bloccata + "\r\n" + errore);
    EXPECT_EQ(tabellaPorte(t, r),
              (std::vector<std::string>{permesso, occupata, bloccata, errore, "COM5: ASSENTE",
                                        "COM6 /dev/ttyS1: NESSUNA RISPOSTA", "COM7 /dev/ttyS2: the port is gone"}));

    Ricerca nessuna;
    nessuna.porte = {porta(1, E::Absent, ""), porta(2, E::Absent, "")};
    EXPECT_EQ(messaggioNessunaIsola(t, nessuna), "NESSUNA PORTA SERIALE DISPONIBILE.");
}

TEST(Avvio, NoPortAtAllSaysSoAndEnds)
{
    IslandRig rig;
    rig.port.setPort(1, PortKind::Absent);
    const std::int64_t t0 = rig.host.nowUs();
    try {
        rig.startUp();
        FAIL() << "the program should have ended";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.status, StatoTimeout);
    }
    EXPECT_EQ(rig.port.openAttempts().size(), 16u);
    EXPECT_LT(rig.host.nowUs() - t0, 1'000'000) << "16 failed openings are quick";
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "NESSUNA PORTA SERIALE DISPONIBILE.");
    EXPECT_EQ(rig.host.messages[0].title, "ONDRIX - CONFIGURATORE");
    EXPECT_EQ(rig.host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(rig.lines().empty());
}

// A copy of the resource file with one value replaced, in a folder of its own.
struct RisorseModificate {
    std::filesystem::path dir;
    RisorseModificate(const std::string& da, const std::string& a)
    {
        dir = std::filesystem::temp_directory_path() /
              ("ondrix-avvio-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        std::ifstream in(std::string(ONDRIX_BIN_DIR) + "/Stringhe.txt", std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        std::string t = ss.str();
        const std::size_t p = t.find(da);
        if (p != std::string::npos)
            t.replace(p, da.size(), a);
        std::ofstream(dir / "Stringhe.txt", std::ios::binary) << t;
    }
    ~RisorseModificate() { std::filesystem::remove_all(dir); }
};

TEST(Avvio, CaptionsWithoutAColonKeepOnlyTheirFirstCharacter)
{
    RisorseModificate r1("VERSIONE SOFTWARE:  ", "VERSIONE SOFTWARE");
    IslandRig rig;
    rig.host.dir = r1.dir.string();
    rig.startUp();
    EXPECT_EQ(rig.c.f.Software.caption(), "V1.2.7 (COM1)");

    RisorseModificate r2("INDIRIZZO SLAVE: ", "INDIRIZZO SLAVE");
    IslandRig rig2;
    rig2.host.dir = r2.dir.string();
    rig2.startUp();
    EXPECT_EQ(rig2.c.f.PROFIBUS.caption(), "I5");
}

TEST(Avvio, FirmwareGates)
{
    {  // head 34 / main 40: no valve states, no interface, no inputs
        sim::Scenario s = sim::defaultScenario();
        s.revAtmel = 40;
        s.bodies[0].rev = 34;
        IslandRig rig(s);
        rig.startUp();
        const auto l = rig.lines();
        EXPECT_EQ(std::count(l.begin(), l.end(), "STATO VALVOLA"), 0);
        EXPECT_EQ(std::count(l.begin(), l.end(), "INTERFACCIA"), 0);
        EXPECT_EQ(std::count(l.begin(), l.end(), "GET DIGITAL INPUT"), 0);
        EXPECT_EQ(std::count(l.begin(), l.end(), "GET CONF"), 0);
        EXPECT_EQ(rig.c.f.caption(), "ONDRIX - CONFIGURATORE");
        EXPECT_EQ(rig.c.m.Protocollo, 1);
        EXPECT_FALSE(rig.c.f.OptInput.visible());
        EXPECT_FALSE(rig.c.f.OptOutput.visible());
        EXPECT_FALSE(rig.c.f.Combo2.visible());
        EXPECT_FALSE(rig.c.f.Label1.visible());
        EXPECT_EQ(rig.c.f.Bobina[1]->backColor(), colore::Arancio) << "energised but not asked";
    }
    {  // head 39 / main 40: inputs read, interface not asked, no addresses
        sim::Scenario s = sim::defaultScenario();
        s.revAtmel = 40;
        s.bodies[0].rev = 39;
        IslandRig rig(s);
        rig.startUp();
        const auto l = rig.lines();
        EXPECT_GT(std::count(l.begin(), l.end(), "STATO VALVOLA"), 0);
        EXPECT_EQ(std::count(l.begin(), l.end(), "INTERFACCIA"), 0);
        EXPECT_EQ(std::count(l.begin(), l.end(), "GET DIGITAL INPUT"), 1);
        EXPECT_EQ(std::count(l.begin(), l.end(), "GET CONF"), 0);
        EXPECT_EQ(rig.c.m.NumModuli, 2);
        EXPECT_TRUE(rig.c.f.OptInput.visible());
    }
    {  // main 45: modules read, addresses stay -1
        sim::Scenario s = sim::defaultScenario();
        s.revAtmel = 45;
        IslandRig rig(s);
        rig.startUp();
        const auto l = rig.lines();
        EXPECT_EQ(std::count(l.begin(), l.end(), "GET CONF"), 0);
        EXPECT_EQ(rig.c.m.NumModuli, 2);
        EXPECT_EQ(rig.c.m.Moduli(1).Indirizzo, -1);
        EXPECT_EQ(rig.c.m.Moduli(2).Indirizzo, -1);
        EXPECT_EQ(rig.c.m.Moduli(1).RevPic, 23);
    }
}

TEST(Avvio, FirmwareGatesAtTheirExactRevisions)
{
    struct Caso {
        int testa, atmel;
        const char* comando;
        bool chiesto;
    };
    const Caso casi[] = {
        {35, 34, "STATO VALVOLA", true},       {34, 47, "STATO VALVOLA", false},
        {47, 33, "STATO VALVOLA", false},      {40, 40, "INTERFACCIA", true},
        {39, 47, "INTERFACCIA", false},        {47, 39, "INTERFACCIA", false},
        {39, 40, "GET DIGITAL INPUT", true},   {38, 47, "GET DIGITAL INPUT", false},
        {47, 39, "GET DIGITAL INPUT", false},  {47, 46, "GET CONF", true},
        {47, 45, "GET CONF", false},           {47, 34, "STATO TERMINAZIONE", true},
        {47, 33, "STATO TERMINAZIONE", false},
    };
    for (const Caso& k : casi) {
        SCOPED_TRACE(std::string(k.comando) + " head " + std::to_string(k.testa) + " main " +
                     std::to_string(k.atmel));
        sim::Scenario s = sim::defaultScenario();
        s.bodies[0].rev = k.testa;
        s.revAtmel = k.atmel;
        IslandRig rig(s);
        rig.startUp();
        const auto l = rig.lines();
        EXPECT_EQ(std::count(l.begin(), l.end(), k.comando) > 0, k.chiesto);
    }
}

TEST(Avvio, DeviceNetSetsThreeBaudTextsAndTheButton)
{
    sim::Scenario s = sim::defaultScenario();
    s.interface = 'D';
    s.baudIndex = 2;
    IslandRig rig(s);
    rig.startUp();
    const auto l = rig.lines();
    EXPECT_EQ(std::count(l.begin(), l.end(), "GET BAUD RATE"), 1);
    EXPECT_EQ(std::count(l.begin(), l.end(), "STATO TERMINAZIONE"), 0);
    EXPECT_EQ(rig.c.f.caption(), "ONDRIX - CONFIGURATORE - DEVICENET");
    EXPECT_EQ(rig.c.m.Protocollo, 3);
    EXPECT_EQ(rig.c.m.IndiceBaudRate, 2);
    EXPECT_TRUE(rig.c.f.Option1[2]->value());
    EXPECT_FALSE(rig.c.f.Option1[0]->value());
    EXPECT_EQ(rig.c.m.TestiBaudRate(4), "");
    EXPECT_TRUE(rig.c.f.CmdTerminazione.visible());
    EXPECT_EQ(rig.c.f.CmdTerminazione.caption(), "500 Kbit/s");
}

TEST(Avvio, EmptyBodyListDrawsNothingAndRestoresThePointer)
{
    IslandRig rig;
    rig.island.overrideReply("GET VALVOLE PRESENTI", "ESP\tBOB\tPOSTI\tIND\tPOS\r\nOK\r\n");
    rig.startUp();
    EXPECT_EQ(rig.c.m.NumEspansioni, 0);
    EXPECT_TRUE(rig.c.f.Combo1.list().empty());
    EXPECT_FALSE(rig.c.f.Corpo8Posti.visible());
    const auto l = rig.lines();
    EXPECT_EQ(std::count(l.begin(), l.end(), "STATO TERMINAZIONE"), 0);
    EXPECT_FALSE(rig.host.busyPointer);
}

TEST(Avvio, UnreadableRepliesAreSkippedALostPortIsNot)
{
    {  // an unreadable firmware list: RevAtmel never read, the gated steps do not run
        IslandRig rig;
        rig.island.overrideReply("GET REV FW", "FIRMWARE\r\nOK\r\n");
        rig.island.overrideReply("GET SLAVE ADDRESS", "OK\r\n");
        rig.startUp();
        EXPECT_EQ(rig.c.f.PROFIBUS.caption(), "INDIRIZZO SLAVE: ") << "kept its loaded caption";
        EXPECT_FALSE(rig.c.m.IndirizzoSlave);
        EXPECT_EQ(rig.c.m.NumEspansioni, 2);
        EXPECT_EQ(rig.c.f.Combo1.list().size(), 2u);
        EXPECT_FALSE(rig.host.busyPointer);
        EXPECT_TRUE(rig.c.f.Corpo8Posti.visible());
    }
    {  // the port lost half way is no skipped step: the end of a time-out,
       // with its message, before anything more is read
        IslandRig rig;
        rig.island.faults().dropAtCommand = "GET RELAX";
        EXPECT_THROW(rig.startUp(), ProgramEnded);
        EXPECT_EQ(rig.host.endStatus, StatoTimeout);
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text.rfind("NESSUNA RISPOSTA DALL'ISOLA.", 0), 0u);
        const auto l = rig.lines();
        EXPECT_EQ(l.back(), "GET RELAX");
    }
    {  // a reply that never comes ends the program after the time-out message
        IslandRig rig;
        rig.island.faults().silentAtCommand = "GET DIAGNOSI";
        EXPECT_THROW(rig.startUp(), ProgramEnded);
        EXPECT_EQ(rig.host.endStatus, StatoTimeout);
        ASSERT_EQ(rig.host.messages.size(), 1u);
    }
}

} // namespace
} // namespace ondrix
