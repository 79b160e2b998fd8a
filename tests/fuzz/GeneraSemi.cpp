// Writes the seed corpora of the fuzz targets: real replies of the simulated
// island (the default one and a few variants) and real files (the shipped
// text resources, configurations saved from the simulated island).
//
//   fuzz_semi <corpus folder>     (tests/fuzz/corpus in the source tree)

#include "config/Formato.h"
#include "program/Gestori.h"
#include "sim/SimulatedIsland.h"
#include "support/IslandRig.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <sstream>

using namespace ondrix;
namespace fs = std::filesystem;

namespace {

fs::path radice;

void scrivi(const std::string& target, const std::string& nome, const std::string& bytes)
{
    fs::create_directories(radice / target);
    std::ofstream f(radice / target / nome, std::ios::binary | std::ios::trunc);
    f << bytes;
}

std::string leggi(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// The reply to a dialogue as the channel hands it over: everything up to the
// awaited text, the final CR LF left for the next reply.
std::string risposta(sim::SimulatedIsland& isola, std::initializer_list<std::string> righe)
{
    static std::int64_t ora = 1'000'000;
    std::string ultima;
    for (const std::string& r : righe) {
        isola.receive(r + "\r\n", ora);
        ora += 10'000'000;
        ultima.clear();
        for (std::string pezzo; !(pezzo = isola.take(ora)).empty();)
            ultima += pezzo;
    }
    if (ultima.size() >= 2 && ultima.compare(ultima.size() - 2, 2, "\r\n") == 0)
        ultima.resize(ultima.size() - 2);
    return ultima;
}

sim::Scenario variante(char interfaccia, int baud)
{
    sim::Scenario s = sim::defaultScenario();
    s.interface = interfaccia;
    s.baudIndex = baud;
    return s;
}

// Every body of 8 stations full, 16 bodies, 10 modules: the tables' limits.
sim::Scenario piena()
{
    sim::Scenario s = sim::defaultScenario();
    s.bodies.clear();
    int indice = 0;
    for (int b = 0; b < 16; ++b) {
        sim::Body body{b, 8, 47, {}};
        for (int p = 1; p <= 16; ++p) {
            sim::Coil c;
            c.position = p;
            c.index = indice < 32 ? indice++ : sim::DisabledIndex;
            c.diagnosis = "PCIA"[p % 4];
            c.relax = p % 3 == 0;
            body.coils.push_back(c);
        }
        s.bodies.push_back(body);
    }
    s.modules.clear();
    for (int k = 0; k < 10; ++k) {
        sim::InputModule m{k % 2 ? "8IN" : "16IN", 23, k % 3, true, {}};
        for (int i = 0; i < (k % 2 ? 8 : 16); ++i)
            m.inputs.push_back({i, i % 2 == 0, 0});
        s.modules.push_back(m);
    }
    return s;
}

void risposte(const std::string& nome, const sim::Scenario& s)
{
    sim::SimulatedIsland isola(s);
    risposta(isola, {"ENTER SV"});
    scrivi("slave_address", nome, risposta(isola, {"GET SLAVE ADDRESS"}));
    scrivi("valvole_presenti", nome, risposta(isola, {"GET VALVOLE PRESENTI"}));
    const std::string diagnosi = risposta(isola, {"GET DIAGNOSI"});
    scrivi("diagnosi", nome, diagnosi);
    scrivi("relax", nome, risposta(isola, {"GET RELAX"}));
    scrivi("rev_fw", nome, risposta(isola, {"GET REV FW"}));
    scrivi("stato_valvola", nome + "-1", risposta(isola, {"STATO VALVOLA", "1"}));
    scrivi("stato_valvola", nome + "-2", risposta(isola, {"STATO VALVOLA", "2"}));
    scrivi("interfaccia", nome, risposta(isola, {"INTERFACCIA"}));
    scrivi("baud_rate", nome, risposta(isola, {"GET BAUD RATE"}));
    const std::string ingressi = risposta(isola, {"GET DIGITAL INPUT"});
    scrivi("digital_input", nome, ingressi);
    scrivi("polling", nome, ingressi);
    const std::string conf = risposta(isola, {"GET CONF"});
    scrivi("conf", nome, conf);
    scrivi("ricontrollo", nome, conf);
    scrivi("contacolpi", nome, risposta(isola, {"LEGGI CONTACOLPI", "0", "3"}));
}

void configurazione(const std::string& nome, const sim::Scenario& s)
{
    IslandRig rig(s);
    rig.startUp();
    const fs::path p = radice / "configurazione" / (nome + ".txt");
    fs::create_directories(p.parent_path());
    rig.host.fileAnswers = {p.string()};
    CmdSalva_Click(rig.c);
    if (leggi(p).empty())
        throw std::runtime_error("the configuration was not saved: " + p.string());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: fuzz_semi <corpus folder>\n";
        return 2;
    }
    radice = argv[1];
    risposte("isola", sim::defaultScenario());
    risposte("canopen", variante('C', 3));
    risposte("devicenet", variante('D', 2));
    risposte("piena", piena());
    scrivi("contacolpi", "zero", "00000\r\nOK");
    scrivi("contacolpi", "spazi", " 125 \r\nOK");

    configurazione("isola", sim::defaultScenario());
    configurazione("canopen", variante('C', 3));

    const fs::path risorse = fs::path(ONDRIX_SOURCE_DIR) / "resources";
    scrivi("risorse", "Stringhe.txt", leggi(risorse / "Stringhe.txt"));
    scrivi("risorse", "Stringhe-en.txt", leggi(risorse / "Stringhe-en.txt"));
    std::cout << "seeds written to " << radice.string() << "\n";
    return 0;
}
