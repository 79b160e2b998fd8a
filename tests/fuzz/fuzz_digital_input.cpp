// "GET DIGITAL INPUT" as the start-up reads it: modules and inputs, each
// module's firmware revision taken from the rest of the firmware list.

#include "Fuzz.h"
#include "island/Risposte.h"
#include "sim/SimulatedIsland.h"

using namespace ondrix;
using namespace ondrix::fuzz;

namespace {

// The module lines of the default island's firmware list, as the readout
// leaves them after the bodies' lines.
std::string restoReale()
{
    sim::SimulatedIsland isola;
    std::string R = isola.replyTo("GET REV FW", 0) + "OK";
    Model m = modelloIsola();
    std::optional<std::string> atmel;
    std::string resto;
    LeggiRevFw(R, m, atmel, resto);
    return resto;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string reale = restoReale();
    const std::string_view testo = testoDi(data, size);
    for (const std::string& rev : {reale, std::string(), std::string(testo)}) {
        for (Model m : modelli()) {
            const Model prima = m;
            std::string revFw = rev;
            try {
                LeggiModuli(testo, m, revFw);
            } catch (const ParseError&) {
            }
            controllaModello(m, prima);
            FUZZ_CHECK(ingressiCoerenti(m) || (!ingressiCoerenti(prima) && m.NumModuli == prima.NumModuli &&
                                               m.TotaleIngressi == prima.TotaleIngressi));
            FUZZ_CHECK(revFw.size() <= rev.size());
        }
    }
    return 0;
}
