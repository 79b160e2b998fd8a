// The configuration file reader: the check pass and the apply plan against
// the model of a simulated island, then the whole load through CmdCarica on
// that island, so that the lines a file makes the configurator send are
// checked too. A refused file must send nothing and change nothing; an
// accepted one must send exactly its plan, in whole dialogues.

#include "Fuzz.h"
#include "island/Codifica.h"
#include "config/File.h"
#include "config/Formato.h"
#include "program/Gestori.h"
#include "island/Numeri.h"
#include "support/IslandRig.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace ondrix;
using namespace ondrix::fuzz;

namespace {

sim::Scenario canopen()
{
    sim::Scenario s = sim::defaultScenario();
    s.interface = 'C';
    s.baudIndex = 3;
    return s;
}

const std::vector<sim::Scenario>& scenari()
{
    static const std::vector<sim::Scenario> s = {sim::defaultScenario(), canopen()};
    return s;
}

std::unique_ptr<IslandRig> avvia(const sim::Scenario& s)
{
    auto rig = std::make_unique<IslandRig>(s);
    rig->startUp();
    FUZZ_CHECK(rig->island.protocolErrors().empty());
    rig->clearLines();
    rig->host.messages.clear();
    return rig;
}

std::string istantanea(const Configuratore& c)
{
    std::string s = scriviConfigurazione(c.m, c.f.PROFIBUS.caption(), c.f.CmdTerminazione.caption());
    for (int r = 1; r <= RigaSentinella; ++r)
        s += testo(c.m.Diagnosi(r).Stato);
    return s;
}

const std::string& percorsoFile()
{
    static const std::string p =
        (std::filesystem::temp_directory_path() / ("ondrix-fuzz-" + std::to_string(::getpid()) + ".txt"))
            .string();
    return p;
}

void scrivi(std::string_view bytes)
{
    std::ofstream f(percorsoFile(), std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(f.good());
}

void carica(IslandRig& rig)
{
    // The host's records would grow with every input (and make each one
    // look like a leak to the fuzzer's leak check).
    rig.host.fileDialogs.clear();
    rig.host.fileDialogOffered.clear();
    rig.host.busyHistory.clear();
    rig.host.messages.clear();
    rig.host.fileAnswers = {percorsoFile()};
    try {
        CmdCarica_Click(rig.c);
    } catch (const test::ProgramEnded&) {
        FUZZ_CHECK(!"a load ended the program");
    }
}

void controllaPiano(const Piano& p)
{
    FUZZ_CHECK(p.Diagnosi.size() <= static_cast<std::size_t>(MaxDiagnosi));
    FUZZ_CHECK(p.puntoModifiche <= p.scambi.size());
    FUZZ_CHECK(!p.IndiceBaudRate || (*p.IndiceBaudRate >= 0 && *p.IndiceBaudRate <= 7));
    for (const Scambio& s : p.scambi) {
        FUZZ_CHECK(!s.comando.empty() && !s.atteso.empty());
        FUZZ_CHECK(s.comando.find_first_of("\r\n") == std::string::npos);
    }
    for (const RigaDiagnosi& d : p.Diagnosi) {
        FUZZ_CHECK(d.Indice >= 0 && d.Indice < MaxDiagnosi);
        FUZZ_CHECK(d.Relax == 0 || d.Relax == 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > MassimoFileConfigurazione)
        return 0;
    static std::vector<std::unique_ptr<IslandRig>> base;
    if (base.empty())
        for (const sim::Scenario& s : scenari())
            base.push_back(avvia(s));

    const std::vector<std::string> righe = righeDi(decodificaTesto(testoDi(data, size)));
    bool scritto = false;
    for (std::size_t k = 0; k < base.size(); ++k) {
        IslandRig& rig = *base[k];
        const Verifica v = verificaConfigurazione(righe, rig.c.m);
        Verifica v2;
        const std::optional<Piano> p = pianoApplicazione(righe, rig.c.m, &v2);
        FUZZ_CHECK(p.has_value() == static_cast<bool>(v));
        FUZZ_CHECK(static_cast<bool>(v2) == static_cast<bool>(v));
        if (!scritto) {
            scrivi(testoDi(data, size));
            scritto = true;
        }

        if (!p) {
            // Refused: one message, not a line sent, nothing changed.
            const std::string prima = istantanea(rig.c);
            carica(rig);
            FUZZ_CHECK(rig.lines().empty());
            FUZZ_CHECK(rig.host.messages.size() == 1);
            FUZZ_CHECK(rig.host.messages[0].text == rig.c.m.testi.Messaggi(msg::Configurazione));
            FUZZ_CHECK(istantanea(rig.c) == prima);
            FUZZ_CHECK(!rig.host.busyPointer);
            rig.host.messages.clear();
            continue;
        }

        controllaPiano(*p);
        // Accepted: the load on an island of its own, which it changes.
        std::unique_ptr<IslandRig> nuovo = avvia(scenari()[k]);
        carica(*nuovo);
        const std::vector<std::string> l = nuovo->lines();
        FUZZ_CHECK(l.size() >= p->scambi.size());
        for (std::size_t i = 0; i < p->scambi.size(); ++i)
            FUZZ_CHECK(l[i] == p->scambi[i].comando);
        FUZZ_CHECK(nuovo->island.protocolErrors().empty());
        FUZZ_CHECK(nuovo->island.pendingDialogue().empty());
        FUZZ_CHECK(!nuovo->host.messages.empty());
        FUZZ_CHECK(nuovo->host.messages[0].text == nuovo->c.m.testi.Messaggi(msg::Successo));
        controllaModello(nuovo->c.m, nuovo->c.m);
        FUZZ_CHECK(bobineCoerenti(nuovo->c.m) && ingressiCoerenti(nuovo->c.m));
        FUZZ_CHECK(nuovo->c.m.Diagnosi(RigaSentinella).Indice == IndiceSentinella);
    }
    return 0;
}
