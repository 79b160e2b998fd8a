// Save and load against the simulated island, through the window's events.

#include "config/Formato.h"
#include "island/Codifica.h"
#include "program/Eventi.h"
#include "support/IslandRig.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace ondrix {
namespace {

using Righe = std::vector<std::string>;

std::string leggi(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void scrivi(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f << bytes;
}

// The island's coils as (body, position, index, relax), in order.
std::vector<std::tuple<int, int, int, bool>> bobine(const sim::Scenario& s)
{
    std::vector<std::tuple<int, int, int, bool>> v;
    for (const auto& b : s.bodies)
        for (const auto& c : b.coils)
            v.emplace_back(b.number, c.position, c.index, c.relax);
    return v;
}

struct SuIsola : ::testing::Test {
    IslandRig rig;
    QTemporaryDir tmp;
    std::string nome;

    void SetUp() override
    {
        rig.startUp();
        nome = tmp.path().toStdString() + "/isola.txt";
        rig.host.fileAnswers = {nome};
        eventoClick(rig.c, rig.c.f.CmdSalva);
        ASSERT_FALSE(leggi(nome).empty());
        rig.clearLines();
        rig.host.messages.clear();
    }
    void carica()
    {
        rig.host.fileAnswers = {nome};
        eventoClick(rig.c, rig.c.f.CmdCarica);
    }
    Righe righeFile() const { return righeDi(decodificaTesto(leggi(nome))); }
    void riscrivi(const Righe& righe) const
    {
        std::string s;
        for (const auto& r : righe)
            s += r + "\r\n";
        scrivi(nome, utf8ACp1252(s));
    }
    // Lines the island received up to the relax list's "1000".
    Righe finoAl1000() const
    {
        const Righe l = rig.lines();
        auto it = std::find(l.begin(), l.end(), "1000");
        return {l.begin(), it == l.end() ? it : it + 1};
    }
};

TEST_F(SuIsola, SaveThenLoadWritesTheSameIslandBackAndStartsAgain)
{
    const auto prima = rig.island.state();
    carica();

    // The default island: two modules at 0 and 1, address 5, coils of the
    // head at positions 1..14 (position 6 disabled) with indexes 0..13 and
    // of the expansion at 1..7 with 14..20, relax on 0, 4, 9 and 16,
    // termination off.
    Righe atteso = {"DISABLE DIGITAL", "ENABLE DIGITAL", "0", "0", "ENABLE DIGITAL", "1", "1",
                    "SET SLAVE ADDRESS", "5"};
    std::vector<std::pair<int, int>> presenti;  // body row - 1, position; index = as saved
    std::vector<int> indici;
    for (int pos = 1; pos <= 14; ++pos)
        if (pos != 6) {
            presenti.push_back({0, pos});
            indici.push_back(pos - 1);
        }
    for (int pos = 1; pos <= 7; ++pos) {
        presenti.push_back({1, pos});
        indici.push_back(13 + pos);
    }
    for (int i : indici) {
        atteso.push_back("DISABLE VALVOLA");
        atteso.push_back(std::to_string(i));
    }
    atteso.push_back("TERMINAZIONE OFF");
    for (std::size_t k = 0; k < presenti.size(); ++k) {
        atteso.push_back("ENABLE VALVOLA");
        atteso.push_back(std::to_string(presenti[k].first));
        atteso.push_back(std::to_string(presenti[k].second));
        atteso.push_back(std::to_string(indici[k]));
    }
    for (const char* r : {"SET RELAX", "0", "4", "9", "16", "1000"})
        atteso.push_back(r);
    EXPECT_EQ(finoAl1000(), atteso);

    // Then the start-up again on the open port: no link check.
    const Righe l = rig.lines();
    ASSERT_GT(l.size(), atteso.size());
    EXPECT_EQ(l[atteso.size()], "ENTER SV");
    EXPECT_EQ(std::count(l.begin(), l.end(), ""), 0);
    EXPECT_TRUE(rig.island.protocolErrors().empty());
    EXPECT_TRUE(rig.island.rejected().empty());
    ASSERT_FALSE(rig.host.messages.empty());
    EXPECT_EQ(rig.host.messages[0].text, rig.c.m.testi.Messaggi(msg::Successo));
    EXPECT_FALSE(rig.host.busyPointer);

    const auto& dopo = rig.island.state();
    EXPECT_EQ(bobine(dopo), bobine(prima));
    EXPECT_EQ(dopo.slaveAddress, prima.slaveAddress);
    EXPECT_EQ(dopo.modules[0].address, 0);
    EXPECT_EQ(dopo.modules[1].address, 1);
    EXPECT_TRUE(dopo.modules[0].enabled && dopo.modules[1].enabled);
    // The window shows the island as read again.
    EXPECT_EQ(rig.c.m.TotaleBobine, 21);
}

TEST_F(SuIsola, AnEditedFileReachesTheIsland)
{
    Righe righe = righeFile();
    // Head rows 1 and 2 swap their indexes; relax on for the coil now at
    // index 0 only (row 2): the relax list must name index 0, not row 2's 1.
    const std::size_t primaBobina = 26;  // line 27: two bodies before the coil rows
    ASSERT_EQ(righe[primaBobina - 1], IntestazioneBobine);
    righe[primaBobina] = "1 1 0";
    righe[primaBobina + 1] = "0 2 1";
    righe[primaBobina + 4] = "4 5 0";
    righe[primaBobina + 9] = "9 10 0";
    righe[primaBobina + 16] = "16 3 0";  // expansion row 3
    righe[17] = "12";                    // slave address
    righe[4] = "1 22 2";                 // second module to address 2
    righe.back() = "ON";
    riscrivi(righe);
    const Verifica v = verificaConfigurazione(righe, rig.c.m);
    ASSERT_TRUE(v) << static_cast<int>(v.rifiuto->motivo) << " line " << v.rifiuto->riga;
    carica();

    EXPECT_TRUE(rig.island.protocolErrors().empty());
    EXPECT_TRUE(rig.island.rejected().empty());
    const Righe l = finoAl1000();
    ASSERT_GE(l.size(), 3u);
    EXPECT_EQ(Righe(l.end() - 3, l.end()), (Righe{"SET RELAX", "0", "1000"}));
    const auto& s = rig.island.state();
    EXPECT_EQ(s.bodies[0].coils[0].index, 1);
    EXPECT_EQ(s.bodies[0].coils[1].index, 0);
    EXPECT_TRUE(s.bodies[0].coils[1].relax);
    EXPECT_FALSE(s.bodies[0].coils[0].relax);
    EXPECT_FALSE(s.bodies[0].coils[4].relax);
    EXPECT_EQ(s.slaveAddress, 12);
    EXPECT_EQ(s.modules[1].address, 2);
    EXPECT_TRUE(s.termination);
    // The start-up shows it.
    EXPECT_EQ(rig.c.f.CmdTerminazione.caption(), rig.c.m.testi.CaptTerminazioneOff);
}

TEST_F(SuIsola, TheOlderLayoutLeavesTheModulesAlone)
{
    Righe righe = righeFile();
    riscrivi(Righe(righe.begin() + 13, righe.end()));
    carica();
    const Righe l = finoAl1000();
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l[0], "SET SLAVE ADDRESS");
    EXPECT_EQ(std::count(l.begin(), l.end(), "ENABLE DIGITAL"), 0);
    EXPECT_EQ(l.back(), "1000");
    EXPECT_TRUE(rig.island.rejected().empty());
}

TEST_F(SuIsola, AFileOfAnotherIslandSendsNothing)
{
    Righe righe = righeFile();
    righe[19] = " 22 ";  // one coil more
    riscrivi(righe);
    carica();
    EXPECT_TRUE(rig.lines().empty());
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.c.m.testi.Messaggi(msg::Configurazione));
    EXPECT_EQ(rig.host.messages[0].title, rig.c.f.caption());
    EXPECT_FALSE(rig.host.busyPointer);
}

} // namespace
} // namespace ondrix
